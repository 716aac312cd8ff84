#include "player/components/KXComponentSlide.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelComponentSlide.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelPolygon.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/physics/KXPBodyData.h"
#include "player/physics/KXPBodyMass.h"
#include "player/sound/KXSound.h"

#include <memory>

using namespace cocos2d;

KXComponentSlide::KXComponentSlide() {
    m_enabled = false;
}

KXComponentSlide::~KXComponentSlide() {
    if (m_animationNode != nullptr) {
        m_animationNode->release();
        m_animationNode = nullptr;
    }
    deleteSound(m_slideSound);
}

std::shared_ptr<KXModelComponentSlide> KXComponentSlide::slideModel() const {
    return std::static_pointer_cast<KXModelComponentSlide>(m_model);
}

void KXComponentSlide::setModel(const std::shared_ptr<KXModelComponent>& model) {
    KXComponent::setModel(model);
    const std::shared_ptr<KXModelComponentSlide> slide = slideModel();
    if (!slide) {
        return;
    }
    if (slide->event() == kEventButton) {
        subscribeInput(11, callfuncO_selector(KXComponentSlide::startSlide));
        subscribeInput(12, callfuncO_selector(KXComponentSlide::endSlide));
    }
    makeSound(slide->slideSound(), m_slideSound);
}

void KXComponentSlide::setOwner(KXPObject* owner) {
    KXComponent::setOwner(owner);
    const std::shared_ptr<KXModelComponentSlide> slide = slideModel();
    const std::shared_ptr<KXModelAnimation> animation = slide ? slide->animation() : nullptr;
    if (!animation || owner == nullptr || m_animationNode != nullptr) {
        return;
    }
    m_animationNode = new KXPAnimationObject(animation, owner, true);
    m_animationNode->setZOrder(owner->getZOrder());
    owner->addChild(m_animationNode);
    m_animationNode->setVisible(false);
}

b2Fixture* KXComponentSlide::createFixture(b2Body* body, const std::shared_ptr<KXModelPolygon>& shape) {
    if (body == nullptr || !shape) {
        return nullptr;
    }
    b2FixtureDef definition = shape->fixtureDef(m_owner->getScaleX(), m_owner->getScaleY());
    const std::unique_ptr<b2Shape> ownedShape(const_cast<b2Shape*>(definition.shape));
    if (ownedShape == nullptr) {
        return nullptr;
    }
    if (m_haveMaterial) {
        definition.density = m_density;
        definition.friction = m_friction;
        definition.restitution = m_restitution;
        definition.isSensor = m_sensor;
        definition.filter = m_filter;
    }
    KXPBodyData::setNode(definition, m_owner);
    return KXPBodyMass::createFixture(body, definition);
}

void KXComponentSlide::startSlide(CCObject* /*sender*/) {
    if (m_owner == nullptr || m_owner->getState() == KXPObject::kStateDead ||
        m_owner->getState() == KXPObject::kStateRemoved) {
        return;
    }
    m_pressed = true;
    if (!m_owner->isMovementEnabled() || m_enabled) {
        return;
    }
    b2Body* body = m_owner->getBody();
    if (body != nullptr && body->GetWorld()->IsLocked()) {
        // Box2D refuses fixture work inside its step; the held press starts the slide next update.
        return;
    }
    m_enabled = true;
    m_owner->setMovementEnabled(false);
    m_owner->setVisible(true);
    if (body == nullptr) {
        return;
    }
    if (b2Fixture* first = body->GetFixtureList()) {
        m_haveMaterial = true;
        m_density = first->GetDensity();
        m_friction = first->GetFriction();
        m_restitution = first->GetRestitution();
        m_sensor = first->IsSensor();
        m_filter = first->GetFilterData();
        KXPBodyMass::destroyFixture(body, first);
    }
    m_slideFixture = createFixture(body, slideModel()->collisionShape());
    traceEvent("slide", "start");
    if (m_slideFixture != nullptr && m_slideSound != nullptr) {
        m_slideSound->play(false, false);
    }
}

void KXComponentSlide::endSlide(CCObject* /*sender*/) {
    m_pressed = false;
    if (!m_enabled || m_owner == nullptr) {
        return;
    }
    b2Body* body = m_owner->getBody();
    if (body != nullptr && body->GetWorld()->IsLocked()) {
        debugLog("[KXComponentSlide] endSlide: the world is locked, the slide goes on");
        return;
    }
    m_enabled = false;
    traceEvent("slide", "end");
    m_owner->setMovementEnabled(true);
    m_owner->setVisible(false);
    // The own shape takes the slide shape's place. A slide shape that went while the slide ran
    // (a turn, a look with a shape) was replaced by the one who took it away, and that one stays:
    // the own shape then comes back only to a body left without any.
    if (body != nullptr && (m_slideFixture != nullptr || body->GetFixtureList() == nullptr)) {
        if (m_slideFixture != nullptr) {
            KXPBodyMass::destroyFixture(body, m_slideFixture);
        }
        KXPObjectAsset* asset = assetOwner();
        const std::shared_ptr<KXModelObjectAsset> own = asset != nullptr ? asset->assetModel() : nullptr;
        createFixture(body, own ? own->collisionShape() : nullptr);
    }
    m_slideFixture = nullptr;
    if (m_slideSound != nullptr) {
        m_slideSound->stop();
    }
}

void KXComponentSlide::fixtureGoing(b2Fixture* fixture) {
    if (fixture == m_slideFixture) {
        m_slideFixture = nullptr;
    }
}

void KXComponentSlide::update(float /*dt*/) {
    if (m_animationNode != nullptr) {
        m_animationNode->setVisible(m_enabled);
    }
    if (!m_enabled && m_pressed && m_owner != nullptr && m_owner->isMovementEnabled()) {
        startSlide();
    }
}

void KXComponentSlide::ownerStateChanged() {
    if (m_owner == nullptr ||
        (m_owner->getState() != KXPObject::kStateDead && m_owner->getState() != KXPObject::kStateRemoved)) {
        return;
    }
    if (m_enabled) {
        m_pressed = false;
        m_enabled = false;
        if (m_animationNode != nullptr) {
            m_animationNode->setVisible(false);
        }
    }
    if (m_slideSound != nullptr) {
        m_slideSound->stop();
    }
}
