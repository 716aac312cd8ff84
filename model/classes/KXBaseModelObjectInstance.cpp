#include "model/classes/KXBaseModelObjectInstance.h"

#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/references/KXAttributeObjectAsset.h"

namespace {
constexpr const char* kReference = "Reference";
} // namespace

KXBaseModelObjectInstance::KXBaseModelObjectInstance(const std::string& name)
    : KXModelObject(name), m_reference(new KXAttributeObjectAsset(kReference, this, 0)) {}

KXBaseModelObjectInstance::KXBaseModelObjectInstance(const KXBaseModelObjectInstance& source)
    : KXModelObject(source), m_reference(boundAttribute<KXAttributeObjectAsset>(*this, kReference)) {}

std::shared_ptr<KXModelSpriteContainer> KXBaseModelObjectInstance::spriteContainer() const {
    std::shared_ptr<KXModelObjectAsset> object = reference();
    return object ? object->spriteContainer() : nullptr;
}

bool KXBaseModelObjectInstance::isSpawner() const {
    std::shared_ptr<KXModelObjectAsset> object = reference();
    return object && object->isSpawner();
}

float KXBaseModelObjectInstance::spawnRate() const {
    std::shared_ptr<KXModelObjectAsset> object = reference();
    return object ? object->spawnRate() : 0.0f;
}

std::shared_ptr<KXModelObjectAsset> KXBaseModelObjectInstance::reference() const {
    return attributeValue(m_reference);
}

void KXBaseModelObjectInstance::setReference(const std::shared_ptr<KXModelObjectAsset>& object, bool silent) {
    if (m_reference != nullptr) {
        m_reference->setValue(object, silent);
    }
}
