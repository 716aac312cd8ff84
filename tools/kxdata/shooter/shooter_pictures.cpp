#include "tools/kxdata/shooter/shooter_pictures.h"

#include <string>

namespace kxdata {
namespace shooter {

namespace {

const Colour kClear{0, 0, 0, 0};
const Colour kWhite{255, 255, 255, 255};

// The same scatter on every write, so two writes give the same pictures.
struct Scatter {
    unsigned state;
    int next(int range) {
        state = state * 1103515245u + 12345u;
        return static_cast<int>((state >> 8) % static_cast<unsigned>(range));
    }
};

} // namespace

Canvas starfieldCanvas() {
    Canvas canvas(160, 90);
    canvas.verticalGradient(Colour{10, 12, 36, 255}, Colour{24, 16, 52, 255});
    Scatter scatter{4242u};
    for (int index = 0; index < 60; ++index) {
        const auto bright = static_cast<uint8_t>(120 + scatter.next(135));
        canvas.fillRect(scatter.next(160), scatter.next(90), 1, 1, Colour{bright, bright, 255, 255});
    }
    return canvas;
}

// Faint violet clouds drifting behind the play, tiled along the way.
Canvas nebulaCanvas() {
    Canvas canvas(256, 96);
    Scatter scatter{77u};
    for (int index = 0; index < 14; ++index) {
        canvas.disc(static_cast<float>(20 + scatter.next(216)), static_cast<float>(24 + scatter.next(48)),
                    10.0f + static_cast<float>(scatter.next(18)),
                    Colour{120, 70, 170, static_cast<uint8_t>(30 + scatter.next(30))});
    }
    return canvas;
}

Canvas shipCanvas(bool hurt, bool flame) {
    Canvas canvas(84, 48);
    const Colour hull = hurt ? Colour{235, 80, 70, 255} : Colour{40, 200, 190, 255};
    const Colour wing = hurt ? Colour{170, 50, 45, 255} : Colour{25, 130, 150, 255};
    canvas.fillRect(0, 20, flame ? 16 : 8, 8, Colour{255, 170, 40, 255});
    canvas.fillRect(4, 22, flame ? 10 : 4, 4, Colour{255, 240, 160, 255});
    canvas.roundedRect(14, 4, 30, 12, 5.0f, wing);
    canvas.roundedRect(14, 32, 30, 12, 5.0f, wing);
    canvas.roundedRect(12, 14, 56, 20, 9.0f, hull);
    canvas.disc(68.0f, 24.0f, 10.0f, hull);
    canvas.disc(56.0f, 22.0f, 6.0f, Colour{200, 240, 255, 255});
    canvas.disc(58.0f, 21.0f, 2.5f, kWhite);
    return canvas;
}

Canvas shipBoltCanvas() {
    Canvas canvas(22, 8);
    canvas.roundedRect(0, 0, 22, 8, 4.0f, Colour{120, 255, 220, 255});
    canvas.roundedRect(8, 2, 12, 4, 2.0f, kWhite);
    return canvas;
}

// A red saucer with one eye, flying left.
Canvas droneCanvas(bool hurt) {
    Canvas canvas(60, 44);
    const Colour shell = hurt ? Colour{255, 235, 235, 255} : Colour{220, 60, 60, 255};
    canvas.roundedRect(2, 18, 56, 14, 7.0f, Colour{150, 40, 45, 255});
    canvas.disc(30.0f, 20.0f, 16.0f, shell);
    canvas.disc(24.0f, 18.0f, 7.0f, kWhite);
    canvas.disc(22.0f, 18.0f, 3.5f, Colour{30, 20, 30, 255});
    for (int light = 0; light < 4; ++light) {
        canvas.disc(10.0f + 13.0f * static_cast<float>(light), 26.0f, 2.5f, Colour{255, 220, 80, 255});
    }
    return canvas;
}

// What is left of a drone for a moment: an orange burst.
Canvas wreckCanvas() {
    Canvas canvas(60, 60);
    canvas.disc(30.0f, 30.0f, 28.0f, Colour{255, 120, 30, 160});
    canvas.disc(30.0f, 30.0f, 18.0f, Colour{255, 200, 60, 220});
    canvas.disc(30.0f, 30.0f, 8.0f, Colour{255, 250, 220, 255});
    return canvas;
}

Canvas plasmaCanvas() {
    Canvas canvas(18, 18);
    canvas.disc(9.0f, 9.0f, 8.5f, Colour{255, 110, 200, 200});
    canvas.disc(9.0f, 9.0f, 4.5f, Colour{255, 230, 250, 255});
    return canvas;
}

// An orange gun platform whose barrel points left.
Canvas turretCanvas() {
    Canvas canvas(80, 56);
    canvas.roundedRect(20, 20, 58, 34, 10.0f, Colour{230, 140, 40, 255});
    canvas.fillRect(0, 28, 30, 10, Colour{120, 80, 40, 255});
    canvas.disc(50.0f, 30.0f, 9.0f, Colour{255, 220, 120, 255});
    return canvas;
}

Canvas tokenCanvas(Colour rim, Colour face, char symbol) {
    Canvas canvas(40, 40);
    canvas.disc(20.0f, 20.0f, 19.0f, rim);
    canvas.disc(20.0f, 20.0f, 15.0f, face);
    canvas.textCentred(std::string(1, symbol), 20, 20, 3, kWhite, true);
    return canvas;
}

Canvas auraCanvas(Colour colour) {
    Canvas canvas(120, 120);
    canvas.disc(60.0f, 60.0f, 58.0f, demo::withAlpha(colour, 110));
    canvas.disc(60.0f, 60.0f, 50.0f, demo::withAlpha(colour, 40));
    canvas.disc(60.0f, 60.0f, 46.0f, kClear);
    return canvas;
}

Canvas panelCanvas() {
    Canvas canvas(200, 150);
    canvas.roundedRect(0, 0, 200, 150, 22.0f, Colour{20, 60, 90, 235});
    canvas.roundedRect(6, 6, 188, 138, 18.0f, Colour{10, 28, 50, 235});
    return canvas;
}

} // namespace shooter
} // namespace kxdata
