// Powerup objects: set-up from the asset, the contact that collects them, the state changes that
// start and end the effect, the body and the box the field culls by.

#include "player/objects/assets/KXPObjectAssetPowerup.h"

#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelFont.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPLevelField.h"
#include "player/objects/KXPAnimationObject.h"
#include "player/objects/character/KXPObjectAssetCharacter.h"
#include "player/sound/KXSound.h"

using namespace cocos2d;

namespace {
KXPAnimationObject* makeRetainedAnimation(const std::shared_ptr<KXModelAnimation>& model) {
    if (!model) {
        return nullptr;
    }
    KXPAnimationObject* animation = new KXPAnimationObject(model, nullptr, true);
    animation->autorelease();
    animation->retain();
    return animation;
}

CCPoint absoluteScale(CCNode* node) {
    CCPoint scale(1.0f, 1.0f);
    for (CCNode* current = node; current != nullptr; current = current->getParent()) {
        scale.x *= current->getScaleX();
        scale.y *= current->getScaleY();
    }
    return scale;
}
} // namespace

KXPObjectAssetPowerup::KXPObjectAssetPowerup(const std::shared_ptr<KXModelObjectAssetPowerup>& model)
    : KXPObjectAsset(model) {
    setType(kTypePowerup);
    m_collisionType = kCollisionCharacter;
    m_linearMovement = true;
    if (!model) {
        return;
    }
    m_idleAnimationNode = makeRetainedAnimation(model->idleAnimation());
    if (m_idleAnimationNode != nullptr) {
        addChild(m_idleAnimationNode);
        m_idleAnimationNode->setOpacityFactor(model->animatedOpacity(0.0f, 0));
    }
    m_startAnimationNode = makeRetainedAnimation(model->startAnimation());
    if (m_startAnimationNode != nullptr) {
        const std::shared_ptr<KXModelAnimation> start = model->startAnimation();
        if (!start->loop()) {
            m_startAnimationNode->setFinishCallback([this] { onStartAnimationEnded(); });
        }
        m_startAnimationNode->setVisible(false);
        m_startAnimationNode->setZOrder(model->zDepth());
    }
    m_coinLabel = makeRewardLabel(model->rewardCoins(), model->showCoinReward());
    m_pointsLabel = makeRewardLabel(model->rewardPoints(), model->showPointsReward());

    const std::string& placement = model->animationPlacement();
    m_characterConstraint = placement == kCharacterConstraint;
    m_screenConstraint = placement == kScreenConstraint;
    m_behaviour = model->animationBehaviour();
    const std::string& type = model->powerupType();
    m_hasTimedEffect = type != kTypeCoin && type != kTypeNone;
    m_timeLeft = model->duration();
}

CCLabelBMFont* KXPObjectAssetPowerup::makeRewardLabel(int amount, bool show) {
    if (amount <= 0 || !show) {
        return nullptr;
    }
    const std::vector<std::shared_ptr<KXModelFont>> fonts = getModels<KXModelFont>();
    CCLabelBMFont* label = fonts.empty() ? nullptr : fonts.front()->createLabel();
    if (label == nullptr) {
        return nullptr;
    }
    label->setVisible(false);
    label->setAnchorPoint(ccp(0.5f, 0.5f));
    label->setAlignment(kCCTextAlignmentCenter);
    label->setPosition(CCPointZero);
    addChild(label);
    // The font hands over a reference of its own; the child list keeps the label from here.
    label->release();
    return label;
}

KXPObjectAssetPowerup::~KXPObjectAssetPowerup() {
    if (m_startSound != nullptr) {
        // The sound plays on and deletes itself; it must not reach back into this object.
        m_startSound->setReleaseHook(nullptr);
        m_startSound = nullptr;
    }
    if (m_collected) {
        endEffect();
    }
    if (m_startAnimationNode != nullptr && m_boundCharacter != nullptr) {
        takeStartLookOffCharacter();
    }
    unbindCharacter();
    if (m_idleAnimationNode != nullptr) {
        m_idleAnimationNode->release();
    }
    if (m_startAnimationNode != nullptr) {
        m_startAnimationNode->setFinishCallback(std::function<void()>());
        m_startAnimationNode->release();
    }
}

std::shared_ptr<KXModelObjectAssetPowerup> KXPObjectAssetPowerup::powerupModel() const {
    return std::static_pointer_cast<KXModelObjectAssetPowerup>(m_model);
}

std::string KXPObjectAssetPowerup::powerupType() const {
    const std::shared_ptr<KXModelObjectAssetPowerup> model = powerupModel();
    return model ? model->powerupType() : std::string();
}

KXPLevelField* KXPObjectAssetPowerup::runningLevel() {
    return KXPScreensController::shared()->currentLevelField();
}

// --- contact and character ---

void KXPObjectAssetPowerup::beginContact(KXPObjectAsset* other, b2Contact* contact, bool began) {
    (void)contact;
    (void)began;
    if (other == nullptr || m_state == kStateCollected || m_state == kStateDead || m_state == kStateRemoved) {
        return;
    }
    const uint32_t type = other->getType();
    if ((type & kTypeCharacter) == 0 || (type & kTypeSpawnedCopy) != 0 || other->getState() == kStateDead ||
        other->getState() == kStateRemoved) {
        return;
    }
    bindCharacter(other);
    setPendingState(kStateCollected);
}

void KXPObjectAssetPowerup::bindCharacter(KXPObjectAsset* character) {
    unbindCharacter();
    m_boundCharacter = character;
    character->addListener(kListenerRemoved, this,
                           asset_listener_selector(KXPObjectAssetPowerup::onCharacterRemoved));
}

void KXPObjectAssetPowerup::unbindCharacter() {
    if (m_boundCharacter != nullptr) {
        m_boundCharacter->removeListener(this);
        m_boundCharacter = nullptr;
    }
}

void KXPObjectAssetPowerup::onCharacterRemoved(KXPObjectAsset* self, KXPObjectAsset* other) {
    (void)self;
    (void)other;
    // The look comes off while the character is still whole: its display states or attached
    // looks would otherwise keep a node that this powerup lets go of when its effect ends, and
    // the character may be updated once more before it leaves the field.
    takeStartLookOffCharacter();
    m_boundCharacter = nullptr;
    if (m_startSound != nullptr) {
        KXSound* sound = m_startSound;
        m_startSound = nullptr;
        sound->setReleaseHook(nullptr);
        // An auto-delete sound deletes itself when stopped.
        const bool ownsItself = sound->isAutoDelete();
        sound->stop();
        if (!ownsItself) {
            delete sound;
        }
    }
}

// --- states ---

void KXPObjectAssetPowerup::setState(int32_t state) {
    const int32_t previous = m_state;
    if (state == previous) {
        return;
    }
    KXPObjectAsset::setState(state);
    const std::shared_ptr<KXModelObjectAssetPowerup> model = powerupModel();
    switch (state) {
    case kStateActive:
        if (model) {
            const CCPoint scale = model->animatedScale(0.0f, 0);
            setScaleX(scale.x);
            setScaleY(scale.y);
        }
        break;
    case kStateCollected:
        if (m_hasTimedEffect) {
            if (KXPLevelField* field = runningLevel()) {
                // A second pickup of a running type replaces the first.
                if (KXPObjectAsset* running = field->findActivePowerup(powerupType(), this)) {
                    running->setState(kStateDead);
                }
            }
        }
        apply();
        break;
    case kStateDead:
        if (previous == kStateCollected) {
            endEffect();
        }
        break;
    case kStateRemoved:
        if (previous != kStateDead && m_collected) {
            endEffect();
        }
        unbindCharacter();
        break;
    default:
        break;
    }
}

// --- body, box, looks ---

void KXPObjectAssetPowerup::addToWorld(b2World* world, bool skipStill) {
    if (m_idleAnimationNode == nullptr) {
        return;
    }
    KXPObjectAsset::addToWorld(world, skipStill);
    if (m_body != nullptr && m_body->GetFixtureList() != nullptr) {
        m_body->GetFixtureList()->SetSensor(true);
    }
}

void KXPObjectAssetPowerup::wakeUp() {
    if (!m_awake && m_body != nullptr) {
        m_awake = true;
    }
}

CCRect KXPObjectAssetPowerup::boundingRect() {
    if (m_boundingBox.size.width == 0.0f && m_boundingBox.size.height == 0.0f) {
        if (m_idleAnimationNode != nullptr) {
            m_boundingBox = m_idleAnimationNode->contentRect();
        }
        const CCPoint scale = absoluteScale(this);
        const float w = m_boundingBox.size.width;
        const float h = m_boundingBox.size.height;
        m_boundingBox = CCRect(-w * 0.5f * scale.x, -h * 0.5f * scale.y, w * scale.x, h * scale.y);
    }
    const CCPoint position = positionInObjectLayer();
    return CCRect(m_boundingBox.origin.x + position.x, m_boundingBox.origin.y + position.y,
                  m_boundingBox.size.width, m_boundingBox.size.height);
}

void KXPObjectAssetPowerup::setVisible(bool visible) {
    KXPObjectAsset::setVisible(visible);
    if (visible) {
        if (m_startAnimationNode != nullptr && m_startAnimationNode->getParent() == this &&
            !m_startAnimationNode->isVisible()) {
            m_startAnimationNode->setVisible(true);
        } else if (m_idleAnimationNode != nullptr && m_idleAnimationNode->getParent() == this &&
                   !m_idleAnimationNode->isVisible()) {
            m_idleAnimationNode->setVisible(true);
        }
        return;
    }
    for (KXPAnimationObject* node : {m_idleAnimationNode, m_startAnimationNode}) {
        if (node != nullptr && node->isVisible()) {
            node->setVisible(false);
        }
    }
}

bool KXPObjectAssetPowerup::blocksLight() {
    return m_idleAnimationNode != nullptr && m_idleAnimationNode->isVisible() &&
           m_idleAnimationNode->entryCount() >= 1 && m_idleAnimationNode->getParent() == this;
}

void KXPObjectAssetPowerup::setMovementEnabled(bool enabled) {
    if (m_state == kStateCollected && !enabled) {
        return;
    }
    KXPObjectAsset::setMovementEnabled(enabled);
}

// --- the start look on the character ---

void KXPObjectAssetPowerup::placeStartLookOnCharacter() {
    if (isReplace()) {
        if (m_characterConstraint) {
            if (auto* character = dynamic_cast<KXPObjectAssetCharacter*>(m_boundCharacter)) {
                character->pushAnimation(kDisplayPowerup, m_startAnimationNode, nullptr);
            }
        }
    } else if (m_characterConstraint && m_boundCharacter != nullptr && isOverlay()) {
        m_boundCharacter->attachObject(m_startAnimationNode);
    }
}

void KXPObjectAssetPowerup::takeStartLookOffCharacter() {
    if (m_boundCharacter == nullptr || m_startAnimationNode == nullptr) {
        return;
    }
    auto* character = dynamic_cast<KXPObjectAssetCharacter*>(m_boundCharacter);
    if (isReplace() && m_characterConstraint && character != nullptr) {
        character->popAnimation(kDisplayPowerup, m_startAnimationNode, nullptr);
        m_startAnimationNode->setVisible(false);
    } else if (isOverlay()) {
        m_boundCharacter->detachObject(m_startAnimationNode);
    }
}

void KXPObjectAssetPowerup::onStartAnimationEnded() {
    if (m_startAnimationNode == nullptr) {
        return;
    }
    m_startAnimationNode->setVisible(false);
    takeStartLookOffCharacter();
}
