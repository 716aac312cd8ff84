#include "model/references/KXAttributeSprite.h"

#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"
#include "model/classes/KXModelCasts.h"
#include "model/references/KXReferenceIds.h"
#include "model/references/KXReferencedValues.h"

namespace {
constexpr const char* kExcludedFromAtlas = "Excluded From Atlas";
} // namespace

KXAttributeSprite::KXAttributeSprite(const std::string& name, KXModel* owner, uint32_t flags)
    : KXAttribute(name, owner, flags) {}

KXAttributeSprite::KXAttributeSprite(const std::string& name, KXModel* owner, const KXAttributeSprite& source)
    : KXAttribute(name, owner, source), m_excludedFromAtlas(source.m_excludedFromAtlas) {
    replaceContainer(source.m_container);
    pushMarkToContainer();
}

KXAttributeSprite::~KXAttributeSprite() {
    replaceContainer(nullptr);
}

void KXAttributeSprite::setValue(const std::shared_ptr<KXModelSpriteContainer>& container, bool silent) {
    replaceContainer(container);
    pushMarkToContainer();
    if (!silent) {
        notifyChanged(0);
    }
}

void KXAttributeSprite::setExcludedFromAtlas(bool excluded) {
    m_excludedFromAtlas = excluded;
    pushMarkToContainer();
}

void KXAttributeSprite::registerKeys() const {
    KXAttribute::registerKeys();
    if (m_container) {
        KXMessagePackMap::registerKeyName(kReferenceValueKey);
    }
}

void KXAttributeSprite::packConnections(KXMessagePackMap& map) const {
    KXAttribute::packConnections(map);
    if (m_container) {
        map.set(kReferenceValueKey, m_container->id());
    }
}

void KXAttributeSprite::unpackConnections(const KXMessagePackMap& map) {
    KXAttribute::unpackConnections(map);
    uint32_t id = 0;
    if (!map.get(kReferenceValue, id)) {
        return;
    }
    if (std::shared_ptr<KXModelSpriteContainer> container = resolve(id)) {
        setValue(container, true);
    }
}

void KXAttributeSprite::loadConnectionFromDictionary(cocos2d::CCObject* object) {
    KXAttribute::loadConnectionFromDictionary(object);
    uint32_t id = 0;
    if (referenceIdFromDictionary(object, id)) {
        setValue(resolve(id), true);
    }
}

cocos2d::CCDictionary* KXAttributeSprite::saveConnectionToDictionary() const {
    return addReferenceIdToDictionary(KXAttribute::saveConnectionToDictionary(), m_container.get());
}

void KXAttributeSprite::replaceContainer(const std::shared_ptr<KXModelSpriteContainer>& container) {
    if (m_container) {
        m_container->removeReferrer(this);
    }
    m_container = container;
    if (m_container) {
        m_container->addReferrer(this);
    }
}

void KXAttributeSprite::pushMarkToContainer() {
    if (m_container) {
        setModelBoolValue(*m_container, kExcludedFromAtlas, m_excludedFromAtlas);
    }
}

std::shared_ptr<KXModelSpriteContainer> KXAttributeSprite::resolve(uint32_t id) {
    // Exactly a sprite container: a class derived from it does not qualify.
    return modelCast<KXModelSpriteContainer>(KXModelController::shared()->getModel(id));
}
