#include "player/field/KXPGameFieldCamera.h"

#include "model/classes/KXModelScreenScene.h"
#include "player/ads/KXAdController.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/input/KXPInputController.h"

#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kRadiansPerDegree = 0.017453292f;
constexpr float kMetresPerPoint = 0.05f;
// The frame reaches this far below the window while no banner covers the bottom.
constexpr float kNoBannerOffset = -40.0f;
// Contacts with the screen boundary count this far outside the frame.
constexpr float kViewBoxMargin = 10.0f;

// Frame edges in the order the update looks at them, with the model's edge (0 top, 1 right,
// 2 bottom, 3 left) for each.
enum class Side { Below, Right, Above, Left };
constexpr int kTopEdge = 0;
constexpr int kRightEdge = 1;
constexpr int kBottomEdge = 2;
constexpr int kLeftEdge = 3;

} // namespace

KXPGameFieldCamera* KXPGameFieldCamera::create() {
    KXPGameFieldCamera* camera = new KXPGameFieldCamera();
    if (!camera->init()) {
        delete camera;
        return nullptr;
    }
    camera->autorelease();
    return camera;
}

KXPGameFieldCamera::KXPGameFieldCamera() : m_gameplay(KXPGameplaySettings::shared()) {
    addNodeKinds(kNodeKind);
}

KXPGameFieldCamera::~KXPGameFieldCamera() = default;

void KXPGameFieldCamera::setModel(const std::shared_ptr<KXModelScreenScene>& model) {
    m_model = model;
    resetBounds();
}

void KXPGameFieldCamera::resetBounds() {
    if (!m_model) {
        return;
    }
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    const CCRect& frame = m_model->objectFrameRect();
    m_bounds = CCRect(frame.origin.x * window.width, frame.origin.y * window.height,
                      frame.size.width * window.width, frame.size.height * window.height);
    m_step = CCPointZero;
    m_target = CCPointZero;
}

void KXPGameFieldCamera::setTarget(const CCPoint& target) {
    // The characters' centre is (0, 0) before any character was counted: keep the last target.
    if (target.x == 0.0f && target.y == 0.0f) {
        return;
    }
    m_target = target;
}

CCPoint KXPGameFieldCamera::clampPoint(const CCRect& rect, const CCPoint& point) {
    CCPoint clamped = point;
    if (clamped.x > rect.getMaxX()) {
        clamped.x = rect.getMaxX();
    }
    if (clamped.x < rect.getMinX()) {
        clamped.x = rect.getMinX();
    }
    if (clamped.y > rect.getMaxY()) {
        clamped.y = rect.getMaxY();
    }
    if (clamped.y < rect.getMinY()) {
        clamped.y = rect.getMinY();
    }
    return clamped;
}

void KXPGameFieldCamera::update(float dt) {
    const CCPoint old = getPosition();

    // Scroll against the gameplay direction: game speed points per 1/60 s.
    const float angle = m_gameplay->getGameplayAngleDirection() * kRadiansPerDegree;
    const CCPoint direction(std::cos(-angle), std::sin(-angle));
    const float speed = m_gameplay->getGameSpeed();
    setPosition(CCPoint(old.x - speed * direction.x * dt * 60.0f, old.y - speed * direction.y * dt * 60.0f));

    const float banner = KXAdController::shared()->isBannerShowing() ? 0.0f : kNoBannerOffset;
    CCPoint position = getPosition();
    const CCPoint offset = CCDirector::sharedDirector()->contentOffset();
    const CCRect frame(m_bounds.origin.x - position.x - offset.x,
                       m_bounds.origin.y - position.y + banner - offset.y, m_bounds.size.width,
                       m_bounds.size.height - banner);

    CCPoint outside = m_target - clampPoint(frame, m_target);
    CCPoint push = CCPointZero;
    if (m_model) {
        const Side order[] = {Side::Below, Side::Right, Side::Above, Side::Left};
        for (Side side : order) {
            float* component = nullptr;
            int edge = 0;
            switch (side) {
            case Side::Below:
                component = outside.y < 0.0f ? &outside.y : nullptr;
                edge = kBottomEdge;
                break;
            case Side::Right:
                component = outside.x > 0.0f ? &outside.x : nullptr;
                edge = kRightEdge;
                break;
            case Side::Above:
                component = outside.y > 0.0f ? &outside.y : nullptr;
                edge = kTopEdge;
                break;
            case Side::Left:
                component = outside.x < 0.0f ? &outside.x : nullptr;
                edge = kLeftEdge;
                break;
            }
            if (component == nullptr) {
                continue;
            }
            switch (m_model->objectFrameState(static_cast<unsigned int>(edge))) {
            case KXObjectFrameEdgePushBack:
                if (component == &outside.x) {
                    push.x -= outside.x;
                } else {
                    push.y -= outside.y;
                }
                *component = 0.0f;
                break;
            case KXObjectFrameEdgeKill:
                KXPInputController::shared()->killAllCharacters();
                outside = CCPointZero;
                break;
            case KXObjectFrameEdgeFollow:
                break;
            }
        }
    }
    if (ccpLength(push) > 0.0f) {
        KXPInputController::shared()->pushCharacters(push.x, push.y, false);
    }

    position = getPosition();
    if (m_model && m_model->alignCameraBorders()) {
        outside = ccpRotateByAngle(outside, CCPointZero,
                                   m_gameplay->getGameplayAngleDirection() * -kRadiansPerDegree);
    }
    setPosition(CCPoint(position.x - m_followFactor * outside.x, position.y - m_followFactor * outside.y));
    m_step = old - getPosition();
}

b2AABB KXPGameFieldCamera::worldViewBox() {
    const CCPoint position = getPosition();
    const CCRect view(
        m_bounds.origin.x - position.x - kViewBoxMargin, m_bounds.origin.y - position.y - kViewBoxMargin,
        m_bounds.size.width + 2.0f * kViewBoxMargin, m_bounds.size.height + 2.0f * kViewBoxMargin);
    b2AABB box;
    box.lowerBound.Set(view.origin.x * kMetresPerPoint, view.origin.y * kMetresPerPoint);
    box.upperBound.Set((view.origin.x + view.size.width) * kMetresPerPoint,
                       (view.origin.y + view.size.height) * kMetresPerPoint);
    return box;
}

bool KXPGameFieldCamera::containsFixture(b2Fixture* fixture) {
    // A fixture of a disabled body has no broad-phase box (asking for it would abort).
    if (fixture == nullptr || !fixture->GetBody()->IsEnabled()) {
        return false;
    }
    const b2AABB box = fixture->GetAABB(0);
    const b2AABB view = worldViewBox();
    return box.lowerBound.x >= view.lowerBound.x && box.lowerBound.y >= view.lowerBound.y &&
           box.upperBound.x <= view.upperBound.x && box.upperBound.y <= view.upperBound.y;
}
