#pragma once

// What the mirrors of one field may hold and do together. Each mirror keeps a render texture of
// its own (4 bytes a pixel, up to 4096 x 4096: 64 MiB) and draws the whole field into it once a
// frame, so a level of many large mirrors would hold gigabytes and take seconds a frame.
// - Their textures together hold at most kTexturePixels. A mirror asks when it makes its texture
//   and holds what it was given until it goes; one that does not fit gets its sides halved until
//   it does (at most kMaxHalvings times, a coarser reflection of the same band), else none. As a
//   texture is filled at most once a frame, this also bounds the pixels captured in one.
// - At most kCapturesPerFrame mirrors capture in one frame: each capture draws the field again.
// The field asks in its own order, so that the same level always gives the same mirrors.

#include <cstdint>

class KXPMirrorBudget {
public:
    // 64 MiB of RGBA: one mirror of the largest size, or some twenty as large as the screen.
    static constexpr int64_t kTexturePixels = int64_t(16) << 20;
    static constexpr int kCapturesPerFrame = 16;
    // A sixteenth of the side is as coarse as a reflection gets.
    static constexpr int kMaxHalvings = 4;

    struct Size {
        int width = 0;
        int height = 0;
        int64_t pixels() const { return int64_t(width) * height; }
    };

    // The texture size given for a wanted one (sides of 1 or more): as wanted when it fits beside
    // what is held, else halved (each side at least 1) until it does; 0 x 0 when it does not after
    // kMaxHalvings halvings. What is given is held until given back.
    Size take(const Size& wanted);
    void giveBack(const Size& given);
    int64_t heldPixels() const { return m_held; }

    // A new frame: no capture taken yet.
    void beginFrame() { m_captures = 0; }
    // One capture more in this frame; false once kCapturesPerFrame were taken.
    bool takeCapture();
    bool capturesLeft() const { return m_captures < kCapturesPerFrame; }

private:
    int64_t m_held = 0;
    int m_captures = 0;
};
