// A small RGBA picture to paint the demo's media on: gradients, rounded panels, discs and text in
// the demo's dot font, saved as PNG. Rows run top to bottom.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace kxdata {
namespace demo {

struct Colour {
    uint8_t r = 0;
    uint8_t g = 0;
    uint8_t b = 0;
    uint8_t a = 255;
};

// The colour between a (t = 0) and b (t = 1).
Colour mix(Colour a, Colour b, float t);
Colour withAlpha(Colour colour, uint8_t alpha);

class Canvas {
public:
    Canvas(int width, int height, Colour fill = Colour{0, 0, 0, 0});

    int width() const { return m_width; }
    int height() const { return m_height; }
    Colour at(int x, int y) const;

    // Paints over what is there, weighted by the colour's alpha times `coverage` (0 to 1).
    void blend(int x, int y, Colour colour, float coverage = 1.0f);
    void fillRect(int x, int y, int width, int height, Colour colour);
    void verticalGradient(Colour top, Colour bottom);
    // Edges smoothed over one pixel.
    void roundedRect(int x, int y, int width, int height, float radius, Colour colour);
    void disc(float centreX, float centreY, float radius, Colour colour);
    // Text in the dot font, each dot `dot` pixels square, top left at (x, y); a dark copy one dot
    // down and right first when `shadow`.
    void text(const std::string& text, int x, int y, int dot, Colour colour, bool shadow);
    void textCentred(const std::string& text, int centreX, int centreY, int dot, Colour colour, bool shadow);
    static int textWidth(const std::string& text, int dot);
    static int textHeight(int dot);

    // False, with the reason on standard error, when the file cannot be written.
    bool savePng(const std::string& path) const;

private:
    int m_width;
    int m_height;
    std::vector<uint8_t> m_pixels;
};

} // namespace demo
} // namespace kxdata
