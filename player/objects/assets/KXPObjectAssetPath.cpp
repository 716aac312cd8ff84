#include "player/objects/assets/KXPObjectAssetPath.h"

#include "model/classes/KXModelAsset.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelObjectPath.h"
#include "model/classes/KXModelQueries.h"
#include "player/base/KXPTrace.h"
#include "player/physics/KXPBodyMotion.h"

#include <algorithm>
#include <cfloat>
#include <cmath>
#include <string>
#include <unordered_map>

using namespace cocos2d;

namespace {

int playModeOf(const std::string& text) {
    if (text == "kPlayModeLoop") {
        return KXPObjectAssetPath::kPlayLoop;
    }
    if (text == "kPlayModePingPong") {
        return KXPObjectAssetPath::kPlayPingPong;
    }
    return KXPObjectAssetPath::kPlaySingle;
}

int targetKindOf(const std::string& text) {
    if (text == "kCharacter") {
        return KXPObjectAssetPath::kTargetCharacter;
    }
    if (text == "kAssets") {
        return KXPObjectAssetPath::kTargetAssets;
    }
    return KXPObjectAssetPath::kTargetAll;
}

} // namespace

KXPObjectAssetPath::KXPObjectAssetPath(const std::shared_ptr<KXModelObjectPath>& model)
    : KXPObjectAsset(model) {
    setType(kTypeLogic);
    if (model) {
        m_playMode = playModeOf(model->playMode());
        m_targetKind = targetKindOf(model->affectedAsset());
        m_objectAssetId = model->objectAssetValue();
    }
}

KXPObjectAssetPath::~KXPObjectAssetPath() {
    // Destroyed without cleanup(): the carried objects would keep our listener and flag 512.
    letGoOfAll();
}

std::shared_ptr<KXModelObjectPath> KXPObjectAssetPath::pathModel() const {
    return modelCast<KXModelObjectPath>(getModel());
}

void KXPObjectAssetPath::addToWorld(b2World* /*world*/, bool /*skipStill*/) {}

void KXPObjectAssetPath::update(float /*dt*/) {
    CCNode* layer = getObjectLayer();
    if (layer == nullptr) {
        return;
    }
    captureFromIndex(layer);
    followStep();
}

void KXPObjectAssetPath::cleanup() {
    letGoOfAll();
    KXPObjectAsset::cleanup();
}

void KXPObjectAssetPath::setState(int32_t state) {
    KXPObjectAsset::setState(state);
    if (state == kStateDead) {
        cleanup();
    }
}

CCRect KXPObjectAssetPath::boundingRect() {
    const CCPoint origin = getPosition();
    CCRect bounds(origin.x - 20.0f, origin.y - 20.0f, 40.0f, 40.0f);
    if (const auto model = pathModel()) {
        for (const CCPoint& point : model->points()) {
            const CCRect square(point.x + origin.x + 5.0f, point.y + origin.y + 5.0f, 10.0f, 10.0f);
            bounds = bounds.unionWithRect(square);
        }
    }
    return bounds;
}

CCPoint KXPObjectAssetPath::pointAt(int index) {
    const auto model = pathModel();
    if (!model || index < 0 || static_cast<size_t>(index) >= model->points().size()) {
        return getPosition();
    }
    return model->points()[static_cast<size_t>(index)] + getPosition();
}

bool KXPObjectAssetPath::passesFilter(KXPObjectAsset* object) const {
    switch (m_targetKind) {
    case kTargetCharacter:
        return (object->getType() & kTypeCharacter) != 0;
    case kTargetAssets: {
        if ((object->getType() & kTypeUnit) == 0) {
            return false;
        }
        if (m_objectAssetId < 0) {
            return true;
        }
        const auto model = object->assetModel();
        const auto asset = model ? model->asset() : nullptr;
        return asset && static_cast<int64_t>(asset->id()) == m_objectAssetId;
    }
    default:
        return true;
    }
}

void KXPObjectAssetPath::captureObjects(CCArray* children) {
    const auto model = pathModel();
    if (children == nullptr || !model) {
        return;
    }
    for (unsigned int index = 0; index < children->count(); ++index) {
        CCObject* item = children->objectAtIndex(index);
        if (item == nullptr) {
            break;
        }
        KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item);
        if (object == nullptr || object == this || !passesFilter(object)) {
            continue;
        }
        if (object->getState() == kStateDead || object->getState() == kStateRemoved) {
            continue;
        }
        if (ccpDistance(object->getPosition(), getPosition()) <= model->searchRadius()) {
            carry(object);
        }
    }
}

bool KXPObjectAssetPath::captureFromIndex(CCNode* layer) {
    const auto model = pathModel();
    KXPPathIndex* index = model ? KXPPathIndex::of(layer) : nullptr;
    if (index == nullptr) {
        return true;
    }
    if (!index->takeTurn(m_turn)) {
        return false;
    }
    KXPPathIndex::Group group = KXPPathIndex::kAll;
    if (m_targetKind == kTargetCharacter) {
        group = KXPPathIndex::kCharacters;
    } else if (m_targetKind == kTargetAssets) {
        group = KXPPathIndex::kUnits;
    }
    std::vector<KXPObjectAsset*> found;
    index->find(group, m_objectAssetId, getPosition(), model->searchRadius(), found);
    // The index holds only what may be caught; the scan's own tests stay, as cheap as they are.
    for (KXPObjectAsset* object : found) {
        if (object == this || !passesFilter(object) || object->getState() == kStateDead ||
            object->getState() == kStateRemoved) {
            continue;
        }
        carry(object);
    }
    return true;
}

void KXPObjectAssetPath::carry(KXPObjectAsset* object) {
    if ((object->getType() & kTypeCarriedByPath) != 0 || object->getBody() == nullptr) {
        return;
    }
    // Before a record is added: a new object may stand where a removed one stood.
    forgetRemoved();
    object->getBody()->SetGravityScale(0.0f);
    object->addListener(kListenerRemoved, this,
                        asset_listener_selector(KXPObjectAssetPath::onCarriedObjectRemoved));
    object->setType(object->getType() | kTypeCarriedByPath);
    object->setMovementEnabled(false);
    m_carried.push_back(Carried{object, 0, 0, getPosition(), 1});
    trace("carry", *object);
}

void KXPObjectAssetPath::trace(const char* event, KXPObjectAsset& object) {
    if (!kxTraceEnabled("path")) {
        return;
    }
    const auto model = object.getModel();
    kxTrace("path", "path %s path=%s object=%s id=%u", event, m_model ? m_model->name().c_str() : "",
            model ? model->name().c_str() : "", object.traceId());
}

void KXPObjectAssetPath::followStep() {
    const auto model = pathModel();
    if (!model) {
        return;
    }
    forgetRemoved();
    const float attraction = model->attractionForce() / 100.0f;
    const int pointCount = static_cast<int>(std::min<size_t>(model->points().size(), INT32_MAX));
    const bool flips = model->imageDirection() && model->imageTransition() == "kFlip";
    std::vector<KXPObjectAsset*> finished;
    for (Carried& record : m_carried) {
        KXPObjectAsset* object = record.object;
        b2Body* body = object->getBody();
        if (object->getState() == kStateDead || body == nullptr) {
            continue;
        }
        const CCPoint toTarget = record.target - object->getPosition();
        CCPoint steer = toTarget;
        if (steer.getLength() >= FLT_EPSILON) {
            steer = steer.normalize();
        }
        steer = steer * (model->speed() * attraction);
        const b2Vec2 velocity = body->GetLinearVelocity();
        KXPBodyMotion::setLinearVelocity(body, b2Vec2((1.0f - attraction) * velocity.x + steer.x,
                                                      (1.0f - attraction) * velocity.y + steer.y));
        if (model->imageDirection()) {
            const float angle = body->GetAngle();
            CCPoint facing(std::cos(angle), std::sin(angle));
            if (record.direction < 0 && flips) {
                facing = -facing;
            }
            KXPBodyMotion::setAngularVelocity(body, facing.getAngle(steer) * 10.0f);
        }

        const float distance = toTarget.getLength();
        if (distance > model->searchRadius() * 1.1f && m_escapeCheck) {
            finished.push_back(object);
        }
        if (distance >= kReachDistance) {
            continue;
        }
        m_escapeCheck = false;
        const bool atEnd = record.direction > 0 && record.pointIndex >= pointCount && record.pointIndex > 0;
        const bool atStart = record.direction < 0 && record.pointIndex < 0;
        if (atEnd || atStart) {
            if (m_playMode == kPlayLoop) {
                trace("loop", *object);
                record.pointIndex = 0;
                record.target = pointAt(0);
                const CCPoint origin = getPosition();
                if (!body->GetWorld()->IsLocked()) {
                    KXPBodyMotion::moveTo(body,
                                          b2Vec2(origin.x * kMetresPerPoint, origin.y * kMetresPerPoint),
                                          body->GetAngle());
                }
            } else if (m_playMode == kPlayPingPong) {
                trace("turn", *object);
                record.direction = -record.direction;
                if (flips) {
                    object->setScaleX(-object->getScaleX());
                }
            } else {
                if (!model->keepVelocity()) {
                    KXPBodyMotion::setLinearVelocity(body, b2Vec2(0.0f, 0.0f));
                }
                finished.push_back(object);
            }
        } else if (record.direction < 1) {
            record.pointIndex -= 1;
            record.target = pointAt(record.pointIndex);
        } else {
            record.target = pointAt(record.pointIndex);
            record.pointIndex += 1;
        }
    }
    if (finished.empty()) {
        return;
    }
    // Each entry of `finished` takes the first record of its object still in the list (an object
    // may be listed twice: escaped and at its end), and that object is let go; in one pass over
    // the list, the records keeping their order.
    std::unordered_map<KXPObjectAsset*, size_t> asked;
    for (KXPObjectAsset* object : finished) {
        ++asked[object];
    }
    std::unordered_map<KXPObjectAsset*, size_t> taken;
    size_t kept = 0;
    for (size_t index = 0; index < m_carried.size(); ++index) {
        KXPObjectAsset* object = m_carried[index].object;
        const auto wanted = asked.find(object);
        if (wanted != asked.end() && wanted->second > 0) {
            --wanted->second;
            ++taken[object];
            continue;
        }
        if (kept != index) {
            m_carried[kept] = m_carried[index];
        }
        ++kept;
    }
    m_carried.resize(kept);
    for (KXPObjectAsset* object : finished) {
        const auto record = taken.find(object);
        if (record != taken.end() && record->second > 0) {
            --record->second;
            letGo(object);
        }
    }
}

void KXPObjectAssetPath::letGo(KXPObjectAsset* object) {
    trace("release", *object);
    object->setType(object->getType() & ~static_cast<uint32_t>(kTypeCarriedByPath));
    object->setMovementEnabled(true);
    if (b2Body* body = object->getBody()) {
        body->SetGravityScale(1.0f);
    }
    object->removeListener(this);
}

void KXPObjectAssetPath::letGoOfAll() {
    forgetRemoved();
    std::vector<Carried> carried;
    carried.swap(m_carried);
    for (const Carried& record : carried) {
        letGo(record.object);
    }
}

void KXPObjectAssetPath::onCarriedObjectRemoved(KXPObjectAsset* removed, KXPObjectAsset* /*other*/) {
    m_removed.insert(removed);
}

void KXPObjectAssetPath::forgetRemoved() const {
    if (m_removed.empty()) {
        return;
    }
    m_carried.erase(
        std::remove_if(m_carried.begin(), m_carried.end(),
                       [this](const Carried& record) { return m_removed.count(record.object) != 0; }),
        m_carried.end());
    m_removed.clear();
}
