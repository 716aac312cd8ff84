#pragma once

// Lets the owner slide (duck under obstacles) while an action button is held: the body's fixture
// is swapped for the slide's own shape, the slide animation shows and the slide sound plays;
// releasing gives the body its normal shape back.

#include "player/components/KXComponent.h"

#include <box2d/box2d.h>

class KXModelComponentSlide;
class KXPAnimationObject;

class KXComponentSlide : public KXComponent {
public:
    KXComponentSlide();
    ~KXComponentSlide() override;

    // Shows the animation exactly while sliding; a press held while the owner's movement was
    // off starts the slide once it is on again.
    void update(float dt) override;
    // Any action button's "on" starts the slide, its "off" ends it.
    void setModel(const std::shared_ptr<KXModelComponent>& model) override;
    void setOwner(KXPObject* owner) override;
    // A dying owner keeps the slide shape; the slide and its sound end.
    void ownerStateChanged() override;
    // The slide shape destroyed by another (a turn, a look's shape) is no longer the slide's.
    void fixtureGoing(b2Fixture* fixture) override;

    void startSlide(cocos2d::CCObject* sender = nullptr);
    void endSlide(cocos2d::CCObject* sender = nullptr);

    bool isPressed() const { return m_pressed; }
    b2Fixture* slideFixture() const { return m_slideFixture; }
    KXPAnimationObject* animationNode() const { return m_animationNode; }

private:
    std::shared_ptr<KXModelComponentSlide> slideModel() const;
    // The fixture made from `shape` at the owner's scale, with the material and filter the body
    // had; null when the shape gives none.
    b2Fixture* createFixture(b2Body* body, const std::shared_ptr<class KXModelPolygon>& shape);

    b2Fixture* m_slideFixture = nullptr;
    KXPAnimationObject* m_animationNode = nullptr;
    bool m_pressed = false;
    KXSound* m_slideSound = nullptr;
    // The replaced fixture's material and filter, given to the slide shape and back to the own one.
    bool m_haveMaterial = false;
    float m_density = 0.0f;
    float m_friction = 0.2f;
    float m_restitution = 0.0f;
    bool m_sensor = false;
    b2Filter m_filter;
};
