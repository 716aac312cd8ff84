#include "model/classes/KXModelFont.h"

std::shared_ptr<KXModel> KXModelFont::create() {
    return KXModel::makeShared<KXModelFont>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelFont::createCopy(const KXModelFont& source) {
    return KXModel::makeShared<KXModelFont>(source);
}

KXModelFont::KXModelFont(const std::string& name) : KXBaseModelFont(name) {}

KXModelFont::KXModelFont(const KXModelFont& source) : KXBaseModelFont(source) {}

std::shared_ptr<KXModel> KXModelFont::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
