#include "player/objects/KXPTouchControl.h"

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
