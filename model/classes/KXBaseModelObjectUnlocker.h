#pragma once

#include "model/classes/KXModelObject.h"

#include <string>

class KXAttributeStringList;

// A scene object that unlocks a screen's current or next button, or a character, when the
// game reaches it. The runtime object interprets the two selections.
class KXBaseModelObjectUnlocker : public KXModelObject {
public:
    explicit KXBaseModelObjectUnlocker(const std::string& name);
    KXBaseModelObjectUnlocker(const KXBaseModelObjectUnlocker& source);
    ~KXBaseModelObjectUnlocker() override;

    // Fixed: an unlocker never takes the size of a sprite.
    cocos2d::CCSize contentSize(float time) const override;

    // "kButtonUnlock" or "kCharacterUnlock".
    const std::string& unlockType() const;
    // For a button unlock: "kUnlockCurrent" or "kUnlockNext".
    const std::string& unlockObject() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeStringList* unlockTypeAttribute() const { return m_unlockType; }
    KXAttributeStringList* objectAttribute() const { return m_object; }

    static constexpr float kContentExtent = 60.0f;

private:
    KXAttributeStringList* m_unlockType = nullptr;
    KXAttributeStringList* m_object = nullptr;
};
