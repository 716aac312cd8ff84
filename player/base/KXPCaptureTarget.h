#pragma once

// An object that records the game field into a texture of its own (the water mirror): the field
// draws itself once more between beginCapture and endCapture for each such object.

class KXPCaptureTarget {
public:
    virtual ~KXPCaptureTarget() = default;
    virtual void beginCapture() = 0;
    virtual void endCapture() = 0;
};
