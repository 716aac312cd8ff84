#pragma once

#include "model/classes/KXModelObjectButton.h"

#include "base/CCGeometry.h"

#include <string>

class KXAttributeBool;
class KXAttributeStringList;
class KXAttributeFloat;
class KXAttributePoint;

// The action button: a button that triggers a powerup. The button's "Action" is stored as
// "Powerup Selection" and names the powerup; the other attributes govern the count label,
// when the button shows and how its uses refill.
class KXBaseModelObjectButtonPowerup : public KXModelObjectButton {
public:
    explicit KXBaseModelObjectButtonPowerup(const std::string& name);
    KXBaseModelObjectButtonPowerup(const KXBaseModelObjectButtonPowerup& source);

    const std::string& powerupSelection() const { return action(); }
    bool forceActionOnPress() const;
    const std::string& layering() const;
    // "Layering" is exactly "kAboveCharacter" (defined in KXModelGameGetters.cpp).
    bool isLayeringAboveCharacter() const;
    float visibilityThreshold() const;
    cocos2d::CCPoint labelOffset() const;
    float labelScale() const;
    float labelVerticalSpacing() const;
    bool unlimitedUse() const;
    float maxRefill() const;
    float refillTimeout() const;
    bool refillAtStart() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeBool* forceActionOnPressAttribute() const { return m_forceActionOnPress; }
    KXAttributeStringList* layeringAttribute() const { return m_layering; }
    KXAttributeFloat* visibilityThresholdAttribute() const { return m_visibilityThreshold; }
    KXAttributePoint* labelOffsetAttribute() const { return m_labelOffset; }
    KXAttributeFloat* labelScaleAttribute() const { return m_labelScale; }
    KXAttributeFloat* labelVerticalSpacingAttribute() const { return m_labelVerticalSpacing; }
    KXAttributeBool* unlimitedUseAttribute() const { return m_unlimitedUse; }
    KXAttributeFloat* maxRefillAttribute() const { return m_maxRefill; }
    KXAttributeFloat* refillTimeoutAttribute() const { return m_refillTimeout; }
    KXAttributeBool* refillAtStartAttribute() const { return m_refillAtStart; }

    static constexpr const char* kPowerupSelectionName = "Powerup Selection";

private:
    KXAttributeBool* m_forceActionOnPress = nullptr;
    KXAttributeStringList* m_layering = nullptr;
    KXAttributeFloat* m_visibilityThreshold = nullptr;
    KXAttributePoint* m_labelOffset = nullptr;
    KXAttributeFloat* m_labelScale = nullptr;
    KXAttributeFloat* m_labelVerticalSpacing = nullptr;
    KXAttributeBool* m_unlimitedUse = nullptr;
    KXAttributeFloat* m_maxRefill = nullptr;
    KXAttributeFloat* m_refillTimeout = nullptr;
    KXAttributeBool* m_refillAtStart = nullptr;
};
