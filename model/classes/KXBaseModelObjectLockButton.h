#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/references/KXAttributeSprite.h"

#include <memory>
#include <string>

// A navigation button that stays locked until bought (with coins or in the store) and then
// leads to a scene.
class KXBaseModelObjectLockButton : public KXModelObjectButton {
public:
    // The locked images stand right after "Image Selected", the purchase settings right after
    // "Action".
    explicit KXBaseModelObjectLockButton(const std::string& name);
    KXBaseModelObjectLockButton(const KXBaseModelObjectLockButton& source);

    std::shared_ptr<KXModelSpriteContainer> lockedImage() const;
    std::shared_ptr<KXModelSpriteContainer> lockedImageSelected() const;
    const std::string& unlock() const;
    float price() const;
    const std::string& storeIdentifier() const;
    const std::string& destination() const;
    const std::string& world() const;
    const std::string& scene() const;
    // "Scene" read as the id of a level section; 0 when it does not start with one.
    uint32_t sceneValue() const;
    bool autoFollow() const;
    bool autoLock() const;

private:
    // Inserts the attribute right after `previous` (appended when `previous` is missing).
    void insertAfter(KXBaseAttribute* attribute, const KXBaseAttribute* previous);

    KXAttributeSprite* m_lockedImage = nullptr;
    KXAttributeSprite* m_lockedImageSelected = nullptr;
    KXAttributeStringList* m_unlock = nullptr;
    KXAttributeFloat* m_price = nullptr;
    KXAttributeString* m_storeIdentifier = nullptr;
    KXAttributeStringList* m_destination = nullptr;
    KXAttributeStringList* m_world = nullptr;
    KXAttributeStringList* m_scene = nullptr;
    KXAttributeBool* m_autoFollow = nullptr;
    KXAttributeBool* m_autoLock = nullptr;
};
