#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"

#include <memory>
#include <string>

// The "Transform" object: changes position, rotation, scale and velocities of other objects.
// Each modifier may be left blank, and a fresh one is blank, so it changes nothing.
class KXBaseModelObjectLogic : public KXModelObjectAsset {
public:
    explicit KXBaseModelObjectLogic(const std::string& name);
    // The copy gets a polygon of its own.
    KXBaseModelObjectLogic(const KXBaseModelObjectLogic& source);

    // Its own 60 x 60 box, never the asset's.
    std::shared_ptr<KXModelPolygon> collisionShape() const override;
    cocos2d::CCSize contentSize(float time) const override;

    // True unless that modifier (or axis) is blank.
    bool hasPositionModifierX() const;
    bool hasPositionModifierY() const;
    bool hasRotationModifier() const;
    bool hasScaleModifierX() const;
    bool hasScaleModifierY() const;
    bool hasLinearVelocityModifierX() const;
    bool hasLinearVelocityModifierY() const;
    // False only when both axes are blank.
    bool hasLinearVelocityModifier() const;
    bool hasAngularVelocityModifier() const;

    cocos2d::CCPoint positionModifier() const;
    float rotationModifier() const;
    cocos2d::CCPoint scaleModifier() const;
    cocos2d::CCPoint linearVelocityModifier() const;
    float angularVelocityModifier() const;
    const std::string& affectedAsset() const;
    // "Affected asset" read as a whole number, wide enough for every asset id; 0 when it holds none.
    int64_t affectedAssetValue() const;
    // The asset id it names, as every id reader takes it: a negative number is the id its 32 bits
    // make; 0 (no asset) when it names none.
    uint32_t affectedAssetId() const;
    const std::string& affectOperation() const;

private:
    KXAttributePoint* m_positionModifier = nullptr;
    KXAttributeFloat* m_rotationModifier = nullptr;
    KXAttributePoint* m_scaleModifier = nullptr;
    KXAttributePoint* m_linearVelocityModifier = nullptr;
    KXAttributeFloat* m_angularVelocityModifier = nullptr;
    KXAttributeStringList* m_affectedAsset = nullptr;
    KXAttributeStringList* m_affectOperation = nullptr;
    std::shared_ptr<KXModelPolygon> m_shape;
};
