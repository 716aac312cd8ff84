#include "model/classes/KXNodeUIStart.h"

#include "model/KXBaseAttribute.h"

namespace {
constexpr const char* kLoad = "Load";
} // namespace

std::shared_ptr<KXModel> KXNodeUIStart::create() {
    return KXModel::makeShared<KXNodeUIStart>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXNodeUIStart::createCopy(const KXNodeUIStart& source) {
    return KXModel::makeShared<KXNodeUIStart>(source);
}

KXNodeUIStart::KXNodeUIStart(const std::string& name) : KXNodeUI(name) {
    if (KXBaseAttribute* inherited = attribute(kLoad)) {
        inherited->setConnectionKind(KXAttributeConnectionNone, true);
        inherited->setName(kRenamedLoadPort, true);
    }
    KXAttribute* load = new KXAttribute(kLoad, this, 0);
    load->setConnectionKind(KXAttributeConnectionOutput, true);
}

KXNodeUIStart::KXNodeUIStart(const KXNodeUIStart& source) : KXNodeUI(source) {}

std::shared_ptr<KXModel> KXNodeUIStart::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
