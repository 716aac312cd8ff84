#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponent.h"

#include <string>

// Drives an object's linear and angular velocity, scaled by multipliers.
class KXBaseModelComponentMotor : public KXModelComponent {
public:
    explicit KXBaseModelComponentMotor(const std::string& name);
    KXBaseModelComponentMotor(const KXBaseModelComponentMotor& source);

    cocos2d::CCPoint linearVelocity() const;
    float angularVelocity() const;
    const std::string& event() const;
    cocos2d::CCPoint linearMultiplier() const;
    float angularMultiplier() const;
    const std::string& affectedAsset() const;
    // "Affected asset" read as a whole number, wide enough for every asset id; 0 when it holds none.
    int64_t affectedAssetValue() const;
    // The asset id it names, as every id reader takes it: a negative number is the id its 32 bits
    // make; 0 (no asset) when it names none.
    uint32_t affectedAssetId() const;

private:
    KXAttributePoint* m_linearVelocity = nullptr;
    KXAttributeFloat* m_angularVelocity = nullptr;
    KXAttributeStringList* m_event = nullptr;
    KXAttributePoint* m_linearMultiplier = nullptr;
    KXAttributeFloat* m_angularMultiplier = nullptr;
    KXAttributeStringList* m_affectedAsset = nullptr;
};
