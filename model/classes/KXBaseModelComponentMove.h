#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelComponent.h"
#include "model/references/KXAttributeAnimation.h"
#include "model/references/KXAttributeShape.h"
#include "model/references/KXAttributeSound.h"

#include <memory>
#include <string>

// Changes an object's velocities by an arithmetic operation when triggered. Velocities left
// blank (empty) are not touched.
class KXBaseModelComponentMove : public KXModelComponent {
public:
    // Gives the move an empty placeholder polygon and blank velocities.
    explicit KXBaseModelComponentMove(const std::string& name);
    KXBaseModelComponentMove(const KXBaseModelComponentMove& source);

    // A stored shape replaces the placeholder, which leaves the store.
    void unpackConnections(const KXMessagePackMap& map) override;
    void loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary) override;

    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    std::shared_ptr<KXModelPolygon> collisionShape() const;
    std::shared_ptr<KXModelAnimation> animation() const;
    std::shared_ptr<KXModelSound> sound() const;
    bool activateOnRelease() const;
    bool forcedSwitchButton() const;
    cocos2d::CCPoint linearVelocity() const;
    float angularVelocity() const;
    const std::string& mathematicalOperation() const;
    const std::string& event() const;
    const std::string& affectedAsset() const;
    // "Affected asset" read as a whole number, wide enough for every asset id; 0 when it holds none.
    int64_t affectedAssetValue() const;
    // The asset id it names, as every id reader takes it: a negative number is the id its 32 bits
    // make; 0 (no asset) when it names none.
    uint32_t affectedAssetId() const;
    float timeout() const;

    // False only for a blank (empty allowed and empty) axis or value.
    bool hasLinearVelocityX() const;
    bool hasLinearVelocityY() const;
    bool hasAngularVelocity() const;

private:
    KXAttributeShape* m_collisionShape = nullptr;
    KXAttributeAnimation* m_animation = nullptr;
    KXAttributeSound* m_sound = nullptr;
    KXAttributeBool* m_activateOnRelease = nullptr;
    KXAttributeBool* m_forcedSwitchButton = nullptr;
    KXAttributePoint* m_linearVelocity = nullptr;
    KXAttributeFloat* m_angularVelocity = nullptr;
    KXAttributeStringList* m_mathematicalOperation = nullptr;
    KXAttributeStringList* m_event = nullptr;
    KXAttributeStringList* m_affectedAsset = nullptr;
    KXAttributeFloat* m_timeout = nullptr;
};
