#include "model/classes/KXBaseModelAtlas.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXMediaPath.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelSprite.h"

namespace {

// A sheet extent: the value first, then the bounds, each bound pulling the value and the
// variable value into range (so the variable value ends at the minimum).
KXAttributeFloat* makeExtent(const char* name, KXModel* owner) {
    KXAttributeFloat* extent = new KXAttributeFloat(name, owner);
    extent->setValue(KXBaseModelAtlas::kDefaultExtent, true);
    extent->setMinimum(KXBaseModelAtlas::kMinimumExtent);
    extent->setValue(extent->clamped(extent->value()), true);
    extent->setVariableValue(extent->clamped(extent->variableValue()));
    extent->setMaximum(KXBaseModelAtlas::kMaximumExtent);
    extent->setValue(extent->clamped(extent->value()), true);
    extent->setVariableValue(extent->clamped(extent->variableValue()));
    return extent;
}

} // namespace

KXBaseModelAtlas::KXBaseModelAtlas(const std::string& name) : KXModel(name) {
    makeExtent("width", this);
    makeExtent("height", this);
    KXAttributeFloat* padding = new KXAttributeFloat("padding", this);
    padding->setValue(kDefaultPadding, true);
    bindAttributes();
}

KXBaseModelAtlas::KXBaseModelAtlas(const KXBaseModelAtlas& source) : KXModel(source) {
    bindAttributes();
}

void KXBaseModelAtlas::bindAttributes() {
    m_width = boundAttribute<KXAttributeFloat>(*this, "width");
    m_height = boundAttribute<KXAttributeFloat>(*this, "height");
    m_padding = boundAttribute<KXAttributeFloat>(*this, "padding");
}

void KXBaseModelAtlas::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModel::childAdded(child);
    if (modelCast<KXModelSprite>(child)) {
        m_sprites.add(child);
    }
}

void KXBaseModelAtlas::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModel::childRemoved(child);
    if (modelCast<KXModelSprite>(child)) {
        m_sprites.removeFirst(child);
    }
}

void KXBaseModelAtlas::allChildrenRemoved() {
    KXModel::allChildrenRemoved();
    m_sprites.clear();
}

std::string KXBaseModelAtlas::imagePath() const {
    return kxMediaPath("/atlases/atlas_ID", id(), ".png");
}

std::string KXBaseModelAtlas::plistPath() const {
    return kxMediaPath("/atlases/atlas_ID", id(), ".plist");
}
