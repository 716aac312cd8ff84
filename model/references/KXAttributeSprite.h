#pragma once

#include "model/KXBaseAttribute.h"
#include "model/classes/KXModelSpriteContainer.h"

#include <cstdint>
#include <memory>
#include <string>

// Refers to exactly a sprite container and hands it the mark that keeps its pictures out of
// texture atlases.
class KXAttributeSprite : public KXAttribute {
    KX_TYPE_IDENTITY(KXAttributeSprite)
    KX_ATTRIBUTE_CLONE(KXAttributeSprite)

public:
    KXAttributeSprite(const std::string& name, KXModel* owner, uint32_t flags = 0);
    // Shares the source's container and takes its mark.
    KXAttributeSprite(const std::string& name, KXModel* owner, const KXAttributeSprite& source);
    ~KXAttributeSprite() override;

    std::shared_ptr<KXModelSpriteContainer> value() const { return m_container; }
    std::shared_ptr<KXModel> referencedModel() const override { return m_container; }
    // Always replaces (no equality test) and, unless silent, tells the owner.
    void setValue(const std::shared_ptr<KXModelSpriteContainer>& container, bool silent = false);

    bool isExcludedFromAtlas() const { return m_excludedFromAtlas; }
    void setExcludedFromAtlas(bool excluded);

    void registerKeys() const override;
    void packConnections(KXMessagePackMap& map) const override;
    // Only a present "value" naming exactly a sprite container changes the reference.
    void unpackConnections(const KXMessagePackMap& map) override;
    void loadConnectionFromDictionary(cocos2d::CCObject* object) override;
    cocos2d::CCDictionary* saveConnectionToDictionary() const override;

private:
    void replaceContainer(const std::shared_ptr<KXModelSpriteContainer>& container);
    void pushMarkToContainer();
    static std::shared_ptr<KXModelSpriteContainer> resolve(uint32_t id);

    std::shared_ptr<KXModelSpriteContainer> m_container;
    bool m_excludedFromAtlas = false;
};
