#include "model/classes/KXModelObjectImage.h"

std::shared_ptr<KXModel> KXModelObjectImage::create() {
    return KXModel::makeShared<KXModelObjectImage>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectImage::createCopy(const KXModelObjectImage& source) {
    return KXModel::makeShared<KXModelObjectImage>(source);
}

KXModelObjectImage::KXModelObjectImage(const std::string& name) : KXBaseModelObjectImage(name) {}

KXModelObjectImage::KXModelObjectImage(const KXModelObjectImage& source) : KXBaseModelObjectImage(source) {}

std::shared_ptr<KXModel> KXModelObjectImage::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}
