#include "model/classes/KXNodeUIStart.h"

#include "model/KXBaseAttribute.h"

namespace {
constexpr const char* kLoad = "Load";
} // namespace

KXNodeUIStart::KXNodeUIStart(const std::string& name) : KXNodeUI(name) {
    if (KXBaseAttribute* inherited = attribute(kLoad)) {
        inherited->setConnectionKind(KXAttributeConnectionNone, true);
        inherited->setName(kRenamedLoadPort, true);
    }
    KXAttribute* load = new KXAttribute(kLoad, this, 0);
    load->setConnectionKind(KXAttributeConnectionOutput, true);
}

KXNodeUIStart::KXNodeUIStart(const KXNodeUIStart& source) : KXNodeUI(source) {}
