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

// A jump with its own arc, gravity, count, shape, animations and sounds.
class KXBaseModelComponentIsoJump : public KXModelComponent {
public:
    // Gives the jump an empty placeholder polygon as its shape.
    explicit KXBaseModelComponentIsoJump(const std::string& name);
    // No placeholder: the copied "Collision Shape" keeps its reference.
    KXBaseModelComponentIsoJump(const KXBaseModelComponentIsoJump& source);

    // A stored shape replaces the placeholder, which leaves the store.
    void unpackConnections(const KXMessagePackMap& map) override;
    void loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary) override;

    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    cocos2d::CCPoint jumpVelocity() const;
    cocos2d::CCPoint jumpGravity() const;
    float jumpSpeed() const;
    float jumpDuration() const;
    float jumpTimeout() const;
    float jumpCount() const;
    bool continuousJump() const;
    bool activateOnRelease() const;
    const std::string& event() const;
    bool syncronizeAnimation() const;
    std::shared_ptr<KXModelPolygon> collisionShape() const;
    std::shared_ptr<KXModelAnimation> animation() const;
    std::shared_ptr<KXModelAnimation> ground() const;
    std::shared_ptr<KXModelSound> jumpSound() const;
    std::shared_ptr<KXModelSound> doubleJumpSound() const;

private:
    KXAttributePoint* m_jumpVelocity = nullptr;
    KXAttributePoint* m_jumpGravity = nullptr;
    KXAttributeFloat* m_jumpSpeed = nullptr;
    KXAttributeFloat* m_jumpDuration = nullptr;
    KXAttributeFloat* m_jumpTimeout = nullptr;
    KXAttributeFloat* m_jumpCount = nullptr;
    KXAttributeBool* m_continuousJump = nullptr;
    KXAttributeBool* m_activateOnRelease = nullptr;
    KXAttributeStringList* m_event = nullptr;
    KXAttributeBool* m_syncronizeAnimation = nullptr;
    KXAttributeShape* m_collisionShape = nullptr;
    KXAttributeAnimation* m_animation = nullptr;
    KXAttributeAnimation* m_ground = nullptr;
    KXAttributeSound* m_jumpSound = nullptr;
    KXAttributeSound* m_doubleJumpSound = nullptr;
};
