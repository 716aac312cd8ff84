#include "tools/kxdata/topdown/topdown_pictures.h"

#include <cmath>

namespace kxdata {
namespace topdown {

namespace {

// A small repeatable scatter, so that two writes of a game give the same pictures.
class Scatter {
public:
    explicit Scatter(unsigned seed) : m_state(seed) {}
    int next(int range) {
        m_state = m_state * 1103515245u + 12345u;
        return static_cast<int>((m_state >> 8) % static_cast<unsigned>(range));
    }

private:
    unsigned m_state;
};

const Colour kClear{0, 0, 0, 0};
const Colour kWhite{255, 255, 255, 255};
const Colour kInk{30, 30, 40, 255};

} // namespace

Canvas lawnCanvas() {
    Canvas canvas(142, 80);
    canvas.verticalGradient(Colour{110, 176, 84, 255}, Colour{92, 158, 72, 255});
    Scatter scatter(31u);
    for (int index = 0; index < 60; ++index) {
        const int x = scatter.next(140);
        const int y = scatter.next(78);
        canvas.fillRect(x, y, 2, 3, Colour{130, 196, 96, 255});
    }
    for (int index = 0; index < 6; ++index) {
        canvas.disc(static_cast<float>(scatter.next(142)), static_cast<float>(scatter.next(80)), 2.0f,
                    Colour{250, 240, 120, 255});
    }
    return canvas;
}

Canvas hedgeCanvas() {
    Canvas canvas(40, 40);
    canvas.fillRect(0, 0, 40, 40, Colour{40, 110, 50, 255});
    Scatter scatter(7u);
    for (int index = 0; index < 14; ++index) {
        canvas.disc(static_cast<float>(scatter.next(40)), static_cast<float>(scatter.next(40)),
                    4.0f + static_cast<float>(scatter.next(4)), Colour{56, 136, 62, 255});
    }
    return canvas;
}

Canvas treeCanvas(Colour leaves) {
    Canvas canvas(90, 90);
    canvas.disc(50.0f, 52.0f, 40.0f, Colour{0, 0, 0, 60});
    canvas.disc(45.0f, 45.0f, 40.0f, leaves);
    canvas.disc(36.0f, 36.0f, 20.0f, mix(leaves, kWhite, 0.2f));
    canvas.disc(56.0f, 54.0f, 14.0f, mix(leaves, kInk, 0.25f));
    return canvas;
}

Canvas crateCanvas() {
    Canvas canvas(56, 56);
    canvas.fillRect(0, 0, 56, 56, Colour{140, 92, 48, 255});
    canvas.fillRect(5, 5, 46, 46, Colour{176, 120, 64, 255});
    for (int step = 0; step < 46; ++step) {
        canvas.fillRect(5 + step, 5 + step, 4, 4, Colour{128, 84, 42, 255});
    }
    return canvas;
}

Canvas beetleCanvas() {
    Canvas canvas(44, 36);
    for (int leg = 0; leg < 3; ++leg) {
        canvas.fillRect(10 + leg * 9, 0, 3, 36, kInk);
    }
    canvas.roundedRect(4, 5, 36, 26, 12.0f, Colour{40, 70, 160, 255});
    canvas.fillRect(4, 17, 32, 2, Colour{20, 30, 80, 255});
    canvas.disc(38.0f, 18.0f, 7.0f, Colour{20, 30, 80, 255});
    canvas.disc(14.0f, 11.0f, 3.0f, Colour{140, 170, 255, 255});
    return canvas;
}

Canvas mothCanvas(bool wingsUp) {
    Canvas canvas(40, 40);
    const Colour wing{235, 170, 220, 255};
    const float spread = wingsUp ? 16.0f : 11.0f;
    canvas.disc(20.0f - spread * 0.6f, 14.0f, spread * 0.6f, wing);
    canvas.disc(20.0f + spread * 0.6f, 14.0f, spread * 0.6f, wing);
    canvas.disc(20.0f - spread * 0.5f, 27.0f, spread * 0.45f, mix(wing, kWhite, 0.3f));
    canvas.disc(20.0f + spread * 0.5f, 27.0f, spread * 0.45f, mix(wing, kWhite, 0.3f));
    canvas.roundedRect(17, 6, 6, 28, 3.0f, Colour{110, 60, 100, 255});
    return canvas;
}

Canvas gemCanvas(Colour colour) {
    Canvas canvas(30, 30);
    for (int row = 0; row < 30; ++row) {
        const int half = row < 12 ? row + 3 : 29 - row;
        canvas.fillRect(15 - half, row, half * 2, 1, row < 12 ? mix(colour, kWhite, 0.35f) : colour);
    }
    canvas.disc(11.0f, 8.0f, 2.5f, kWhite);
    return canvas;
}

Canvas topCanvas(int turn) {
    Canvas canvas(56, 56);
    canvas.disc(28.0f, 28.0f, 27.0f, Colour{230, 120, 40, 255});
    canvas.disc(28.0f, 28.0f, 20.0f, Colour{250, 190, 70, 255});
    // The stripe, pictured at the eighth of a turn it shows (clockwise, as nodes turn).
    const float angle = -static_cast<float>(turn) * 0.785398f;
    for (int step = -22; step <= 22; ++step) {
        const float x = 28.0f + std::cos(angle) * static_cast<float>(step);
        const float y = 28.0f - std::sin(angle) * static_cast<float>(step);
        canvas.disc(x, y, 3.5f, step > 0 ? Colour{150, 40, 30, 255} : Colour{120, 80, 40, 255});
    }
    canvas.disc(28.0f, 28.0f, 5.0f, kInk);
    return canvas;
}

Canvas explorerCanvas(const ExplorerPose& pose) {
    Canvas canvas(64, 64);
    const int lift = pose.lifted ? 4 : 0;
    if (pose.dashing) {
        for (int streak = 0; streak < 3; ++streak) {
            canvas.fillRect(0, 18 + streak * 12, 12, 3, Colour{255, 255, 255, 160});
        }
    }
    // Feet stepping out from under the body.
    canvas.roundedRect(20 + pose.step * 5, 6 - lift, 14, 10, 4.0f, Colour{70, 50, 40, 255});
    canvas.roundedRect(20 - pose.step * 5, 48 + lift, 14, 10, 4.0f, Colour{70, 50, 40, 255});
    canvas.disc(32.0f, 32.0f, 22.0f, Colour{60, 150, 200, 255});
    // The hat seen from above, with its brim and a band.
    canvas.disc(32.0f, 32.0f, 17.0f, Colour{170, 120, 60, 255});
    canvas.disc(32.0f, 32.0f, 11.0f, Colour{200, 150, 80, 255});
    canvas.fillRect(21, 30, 22, 4, Colour{120, 40, 40, 255});
    // The nose points where it goes.
    canvas.disc(54.0f, 32.0f, 6.0f, Colour{240, 200, 170, 255});
    if (pose.lifted) {
        canvas.disc(32.0f, 32.0f, 24.0f, Colour{255, 255, 255, 40});
    }
    return canvas;
}

Canvas shadowCanvas() {
    Canvas canvas(56, 30);
    canvas.disc(28.0f, 15.0f, 14.0f, Colour{0, 0, 0, 90});
    canvas.roundedRect(4, 5, 48, 20, 10.0f, Colour{0, 0, 0, 60});
    return canvas;
}

Canvas duckDustCanvas() {
    Canvas canvas(84, 84);
    for (int puff = 0; puff < 10; ++puff) {
        const float angle = static_cast<float>(puff) * 0.628318f;
        canvas.disc(42.0f + std::cos(angle) * 34.0f, 42.0f + std::sin(angle) * 34.0f, 7.0f,
                    Colour{200, 180, 140, 200});
    }
    return canvas;
}

Canvas padCanvas(const char* caption, Colour colour) {
    Canvas canvas(100, 100, kClear);
    canvas.roundedRect(0, 0, 100, 100, 20.0f, withAlpha(kWhite, 90));
    canvas.roundedRect(5, 5, 90, 90, 16.0f, withAlpha(colour, 110));
    canvas.textCentred(caption, 50, 50, 3, kWhite, true);
    return canvas;
}

} // namespace topdown
} // namespace kxdata
