#include "model/classes/KXModelObjectImage.h"

KXModelObjectImage::KXModelObjectImage(const std::string& name) : KXBaseModelObjectImage(name) {}

KXModelObjectImage::KXModelObjectImage(const KXModelObjectImage& source) : KXBaseModelObjectImage(source) {}
