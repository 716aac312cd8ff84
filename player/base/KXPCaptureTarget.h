#pragma once

// An object that records the game field into a texture of its own (the water mirror): the field
// draws itself once more between beginCapture and endCapture for each such object.

#include <memory>

namespace cocos2d {
class CCRect;
} // namespace cocos2d

class KXPMirrorBudget;

class KXPCaptureTarget {
public:
    virtual ~KXPCaptureTarget() = default;
    // Asked of each target in the field's order before a frame is drawn: whether it captures in
    // that frame. One that does not shows nothing of its capture in it. `near` is the part of the
    // field, in world space, that the screen shows or may show next; the target takes what it
    // uses from the field's budget and keeps its share of it (the budget with it) while it lives.
    virtual bool capturesInFrame(const std::shared_ptr<KXPMirrorBudget>& budget,
                                 const cocos2d::CCRect& near) = 0;
    virtual void beginCapture() = 0;
    virtual void endCapture() = 0;
};
