#pragma once

#include "model/classes/KXModelObjectImage.h"

#include <cstdint>
#include <memory>
#include <string>

class KXAttributeSprite;
class KXAttributeStringList;
class KXAttributeFloat;
class KXAttributeSound;
class KXAttributeBool;
class KXAttributeKey;
class KXModelSound;

// A pressable image: pressed image, action, repeat interval, back-to targets, sounds, touch
// blocking, keyboard key and touch emulation. Every specialised button derives from it.
class KXBaseModelObjectButton : public KXModelObjectImage {
public:
    explicit KXBaseModelObjectButton(const std::string& name);
    // The press counter and hold flag start afresh; they are not copied.
    // A subclass may store "Image Selected" or "Action" under another name and bind it itself.
    KXBaseModelObjectButton(const KXBaseModelObjectButton& source);

    std::shared_ptr<KXModelSpriteContainer> imageSelected() const;
    std::shared_ptr<KXModelSound> clickSound() const;
    std::shared_ptr<KXModelSound> releaseSound() const;
    int keyboardKey() const;
    const std::string& action() const;
    float interval() const;
    const std::string& backTo() const;
    const std::string& backToWorld() const;
    bool blockTouch() const;

    // "Touch Emulation" plus its curve under `stateKey` at `time` reaches 0.5.
    bool isTouchEmulationOn(float time, int stateKey) const;

    // Interval rule: with "Interval" n, every n-th build of the button after a reset is due
    // (the 2nd, then every n-th after it); an interval that truncates to 0 or less, or is
    // not finite, is always due. A held action is never due until the next count or reset.
    void resetPressCounter();
    void countPress();
    void setActionHeld();
    bool isActionDue() const;
    int pressCounter() const { return m_pressCounter; }
    bool isActionHeld() const { return m_actionHeld; }

    // "Back To" when a UI screen has that key (or when "Back To World" is set), else empty.
    std::string resolvedBackTo() const;
    // "Back To World" when set; else "Back To" when a scene screen has that key; else empty.
    std::string resolvedBackToWorld() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeSprite* imageSelectedAttribute() const { return m_imageSelected; }
    KXAttributeStringList* actionAttribute() const { return m_action; }
    KXAttributeFloat* intervalAttribute() const { return m_interval; }
    KXAttributeStringList* backToAttribute() const { return m_backTo; }
    KXAttributeStringList* backToWorldAttribute() const { return m_backToWorld; }
    KXAttributeSound* clickSoundAttribute() const { return m_clickSound; }
    KXAttributeSound* releaseSoundAttribute() const { return m_releaseSound; }
    KXAttributeBool* blockTouchAttribute() const { return m_blockTouch; }
    KXAttributeKey* keyboardKeyAttribute() const { return m_keyboardKey; }
    KXAttributeFloat* touchEmulationAttribute() const { return m_touchEmulation; }

protected:
    // For kinds that store "Action" under another name: binds the member to the copied
    // string list of that name (null when there is none).
    void bindActionAttribute(const char* storedName);
    // The same for "Image Selected".
    void bindImageSelectedAttribute(const char* storedName);

private:
    KXAttributeSprite* m_imageSelected = nullptr;
    KXAttributeStringList* m_action = nullptr;
    KXAttributeFloat* m_interval = nullptr;
    KXAttributeStringList* m_backTo = nullptr;
    KXAttributeStringList* m_backToWorld = nullptr;
    KXAttributeSound* m_clickSound = nullptr;
    KXAttributeSound* m_releaseSound = nullptr;
    KXAttributeBool* m_blockTouch = nullptr;
    KXAttributeKey* m_keyboardKey = nullptr;
    KXAttributeFloat* m_touchEmulation = nullptr;

    int32_t m_pressCounter = 0;
    bool m_actionHeld = false;
};
