#include "player/objects/controls/KXPTouchControl.h"

#include <cmath>

using namespace cocos2d;

namespace {
constexpr int kTouchControlPriority = 0;
} // namespace

void attachTouchControl(CCTouchDelegate* control) {
    CCDirector::sharedDirector()->getTouchDispatcher()->addTargetedDelegate(control, kTouchControlPriority,
                                                                            true);
}

void detachTouchControl(CCTouchDelegate* control) {
    CCDirector::sharedDirector()->getTouchDispatcher()->removeDelegate(control);
}

cocos2d::CCRect centredTouchArea(const cocos2d::CCPoint& scale) {
    constexpr float kPointsPerScale = 100.0f;
    const float width = std::fabs(scale.x) * kPointsPerScale;
    const float height = std::fabs(scale.y) * kPointsPerScale;
    return cocos2d::CCRect(-width * 0.5f, -height * 0.5f, width, height);
}
