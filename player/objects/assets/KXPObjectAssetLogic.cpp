#include "player/objects/assets/KXPObjectAssetLogic.h"

#include "model/classes/KXModelAssetObstacle.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectLogic.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPTrace.h"
#include "player/objects/assets/KXPObjectAssetUnit.h"
#include "player/objects/assets/KXPTriggerArea.h"
#include "player/physics/KXPBodyMotion.h"

using namespace cocos2d;

namespace {
constexpr const char* kAdd = "kAdd";
constexpr const char* kMultiply = "kMultiply";
constexpr const char* kReplace = "kReplace";
} // namespace

KXPObjectAssetLogic::KXPObjectAssetLogic(const std::shared_ptr<KXModelObjectLogic>& model)
    : KXPObjectAsset(model) {
    m_destroyMode = kDestroyNo;
    m_collisionType = kCollisionCharacter;
    m_linearMovement = false;
    m_objectKind = kKindPlatform;
    m_sleepType = kSleepNone;
    setType(kTypeLogic);
}

float KXPObjectAssetLogic::applyOperation(const std::string& operation, float current, float value) {
    if (operation == kAdd) {
        return current + value;
    }
    if (operation == kMultiply) {
        return current * value;
    }
    if (operation == kReplace) {
        return value;
    }
    return current;
}

bool KXPObjectAssetLogic::changesNothing(const std::string& operation, float value) {
    return (operation == kAdd && value == 0.0f) || (operation == kMultiply && value == 1.0f);
}

void KXPObjectAssetLogic::addToWorld(b2World* world, bool skipStill) {
    KXPObjectAsset::addToWorld(world, skipStill);
    KXPTriggerArea::prepare(m_body);
}

void KXPObjectAssetLogic::beginContact(KXPObjectAsset* other, b2Contact* /*contact*/, bool /*began*/) {
    const auto model = modelCast<KXModelObjectLogic>(getModel());
    if (!model || other == nullptr || (other->getType() & kTypeUnit) == 0) {
        return;
    }
    KXPObjectAssetUnit* unit = dynamic_cast<KXPObjectAssetUnit*>(other);
    const auto unitModel = modelCast<KXModelObjectAssetUnit>(other->getModel());
    const auto obstacle = unitModel ? unitModel->assetObstacle() : nullptr;
    if (unit == nullptr || !obstacle || obstacle->id() != model->affectedAssetId()) {
        return;
    }
    const std::string& op = model->affectOperation();
    b2Body* body = unit->getBody();

    if (model->hasLinearVelocityModifier()) {
        const CCPoint m = model->linearVelocityModifier();
        const bool changeX = model->hasLinearVelocityModifierX();
        const bool changeY = model->hasLinearVelocityModifierY();
        if (unit->isLinearMovement()) {
            CCPoint v = unit->getMovementVector();
            v.x = changeX ? applyOperation(op, v.x, m.x) : v.x;
            v.y = changeY ? applyOperation(op, v.y, m.y) : v.y;
            unit->setMovementVector(v);
        } else if (body != nullptr) {
            // Into model units and back, so that the model's values mean what they mean elsewhere.
            const b2Vec2 current = body->GetLinearVelocity();
            CCPoint v(current.x / kMetresPerPoint * kAngularVelocityScale,
                      current.y / kMetresPerPoint * kAngularVelocityScale);
            v.x = changeX ? applyOperation(op, v.x, m.x) : v.x;
            v.y = changeY ? applyOperation(op, v.y, m.y) : v.y;
            KXPBodyMotion::setLinearVelocity(body, b2Vec2(v.x * kMetresPerPoint * kVelocityTimeScale,
                                                          v.y * kMetresPerPoint * kVelocityTimeScale));
        }
    }
    if (model->hasAngularVelocityModifier() && !changesNothing(op, model->angularVelocityModifier())) {
        const float m = model->angularVelocityModifier();
        if (unit->isLinearMovement()) {
            unit->setAngularSpeed(applyOperation(op, unit->getAngularSpeed(), m));
        } else if (body != nullptr) {
            const float w = body->GetAngularVelocity();
            if (op == kAdd) {
                KXPBodyMotion::setAngularVelocity(body, w + m * kAngularVelocityScale);
            } else if (op == kMultiply) {
                KXPBodyMotion::setAngularVelocity(body, w * m);
            } else if (op == kReplace) {
                KXPBodyMotion::setAngularVelocity(body, m * kAngularVelocityScale);
            }
        }
    }
    const CCPoint position = model->positionModifier();
    if (model->hasPositionModifierX() && !changesNothing(op, position.x)) {
        unit->setPositionXChange(position.x, op);
    }
    if (model->hasPositionModifierY() && !changesNothing(op, position.y)) {
        unit->setPositionYChange(position.y, op);
    }
    if (model->hasRotationModifier() && !changesNothing(op, model->rotationModifier())) {
        unit->setRotationChange(model->rotationModifier(), op);
    }
    const CCPoint scale = model->scaleModifier();
    if (model->hasScaleModifierX() && !changesNothing(op, scale.x)) {
        unit->setScaleX(applyOperation(op, unit->getScaleX(), scale.x));
    }
    if (model->hasScaleModifierY() && !changesNothing(op, scale.y)) {
        unit->setScaleY(applyOperation(op, unit->getScaleY(), scale.y));
    }
    kxTrace("logic", "logic change name=%s object=%s id=%u op=%s scale=%.2f,%.2f", model->name().c_str(),
            unitModel->name().c_str(), unit->traceId(), op.c_str(), unit->getScaleX(), unit->getScaleY());
}
