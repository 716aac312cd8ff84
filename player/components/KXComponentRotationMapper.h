#pragma once

// Shows a turning body through an animation instead of a turning sprite: the animation is laid
// over the owner as display state 3 with its own playback stopped, and the frame shown follows
// the body's angle, a full turn spanning all frames.

#include "player/components/KXComponent.h"

class KXPAnimationObject;

class KXComponentRotationMapper : public KXComponent {
public:
    KXComponentRotationMapper();
    ~KXComponentRotationMapper() override;

    // Switches itself on at its first real update (dt above 0), then picks the frame.
    void update(float dt) override;
    void setOwner(KXPObject* owner) override;
    void ownerStateChanged() override;
    // Turns the owner's node back to 0; the body keeps its angle.
    void reset() override;
    // Pushes or pops display state 3.
    void setEnabled(bool enabled) override;

    // The frame index shown for a body angle in degrees over `frames` frames: a negative angle
    // counts back from the last frame (n itself for less than a frame below a full turn, which
    // the pictures take modulo their sprite count).
    static int frameForAngle(float degrees, int frames);

    KXPAnimationObject* animationNode() const { return m_animationNode; }

private:
    KXPAnimationObject* m_animationNode = nullptr;
    bool m_firstUpdate = true;
    // The frame shown last, so that a trace tells only of changes.
    int m_shownFrame = -1;
};
