#include "model/references/KXBaseAttributeShape.h"

KXBaseAttributeShape::KXBaseAttributeShape(const std::string& name, KXModel* owner, uint32_t flags)
    : KXBaseAttributeModel<KXModelPolygon>(name, owner, flags) {}

KXBaseAttributeShape::KXBaseAttributeShape(const std::string& name, KXModel* owner,
                                           const KXBaseAttributeShape& source)
    : KXBaseAttributeModel<KXModelPolygon>(name, owner, source) {
    if (std::shared_ptr<KXModelPolygon> polygon = value()) {
        replaceModel(modelKindCast<KXModelPolygon>(polygon->clone(true, true)));
    }
}
