#include "tools/kxdata/demo/demo_canvas.h"

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <algorithm>
#include <cmath>
#include <cstdio>

#include "tools/kxdata/demo/demo_font.h"

namespace kxdata {
namespace demo {

namespace {

uint8_t channel(float value) {
    return static_cast<uint8_t>(std::max(0.0f, std::min(255.0f, std::round(value))));
}

// How much of the pixel (x, y) lies inside a rounded rectangle, from 4 x 4 samples.
float roundedCoverage(int px, int py, float x0, float y0, float x1, float y1, float radius) {
    int inside = 0;
    for (int sy = 0; sy < 4; ++sy) {
        for (int sx = 0; sx < 4; ++sx) {
            const float x = static_cast<float>(px) + (static_cast<float>(sx) + 0.5f) / 4.0f;
            const float y = static_cast<float>(py) + (static_cast<float>(sy) + 0.5f) / 4.0f;
            if (x < x0 || x > x1 || y < y0 || y > y1) {
                continue;
            }
            const float cx = std::max(x0 + radius, std::min(x1 - radius, x));
            const float cy = std::max(y0 + radius, std::min(y1 - radius, y));
            const float dx = x - cx;
            const float dy = y - cy;
            inside += dx * dx + dy * dy <= radius * radius ? 1 : 0;
        }
    }
    return static_cast<float>(inside) / 16.0f;
}

} // namespace

Colour mix(Colour a, Colour b, float t) {
    const float u = 1.0f - t;
    return Colour{channel(a.r * u + b.r * t), channel(a.g * u + b.g * t), channel(a.b * u + b.b * t),
                  channel(a.a * u + b.a * t)};
}

Colour withAlpha(Colour colour, uint8_t alpha) {
    colour.a = alpha;
    return colour;
}

Canvas::Canvas(int width, int height, Colour fill)
    : m_width(std::max(1, width)), m_height(std::max(1, height)),
      m_pixels(static_cast<size_t>(m_width) * static_cast<size_t>(m_height) * 4) {
    for (size_t i = 0; i < m_pixels.size(); i += 4) {
        m_pixels[i] = fill.r;
        m_pixels[i + 1] = fill.g;
        m_pixels[i + 2] = fill.b;
        m_pixels[i + 3] = fill.a;
    }
}

Colour Canvas::at(int x, int y) const {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return Colour{0, 0, 0, 0};
    }
    const uint8_t* p =
        &m_pixels[(static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)) * 4];
    return Colour{p[0], p[1], p[2], p[3]};
}

void Canvas::blend(int x, int y, Colour colour, float coverage) {
    if (x < 0 || y < 0 || x >= m_width || y >= m_height) {
        return;
    }
    uint8_t* p =
        &m_pixels[(static_cast<size_t>(y) * static_cast<size_t>(m_width) + static_cast<size_t>(x)) * 4];
    const float source = static_cast<float>(colour.a) / 255.0f * std::max(0.0f, std::min(1.0f, coverage));
    const float below = static_cast<float>(p[3]) / 255.0f;
    const float out = source + below * (1.0f - source);
    if (out <= 0.0f) {
        return;
    }
    const auto over = [&](uint8_t top, uint8_t bottom) {
        return channel((top * source + bottom * below * (1.0f - source)) / out);
    };
    p[0] = over(colour.r, p[0]);
    p[1] = over(colour.g, p[1]);
    p[2] = over(colour.b, p[2]);
    p[3] = channel(out * 255.0f);
}

void Canvas::fillRect(int x, int y, int width, int height, Colour colour) {
    for (int row = std::max(0, y); row < std::min(m_height, y + height); ++row) {
        for (int column = std::max(0, x); column < std::min(m_width, x + width); ++column) {
            blend(column, row, colour);
        }
    }
}

void Canvas::verticalGradient(Colour top, Colour bottom) {
    for (int row = 0; row < m_height; ++row) {
        const float t = m_height > 1 ? static_cast<float>(row) / static_cast<float>(m_height - 1) : 0.0f;
        fillRect(0, row, m_width, 1, mix(top, bottom, t));
    }
}

void Canvas::roundedRect(int x, int y, int width, int height, float radius, Colour colour) {
    const float x0 = static_cast<float>(x);
    const float y0 = static_cast<float>(y);
    const float x1 = x0 + static_cast<float>(width);
    const float y1 = y0 + static_cast<float>(height);
    radius = std::max(0.0f, std::min(radius, std::min(width, height) * 0.5f));
    for (int row = std::max(0, y); row < std::min(m_height, y + height); ++row) {
        for (int column = std::max(0, x); column < std::min(m_width, x + width); ++column) {
            const float coverage = roundedCoverage(column, row, x0, y0, x1, y1, radius);
            if (coverage > 0.0f) {
                blend(column, row, colour, coverage);
            }
        }
    }
}

void Canvas::disc(float centreX, float centreY, float radius, Colour colour) {
    roundedRect(static_cast<int>(std::floor(centreX - radius)),
                static_cast<int>(std::floor(centreY - radius)),
                static_cast<int>(std::ceil(radius * 2.0f)) + 1,
                static_cast<int>(std::ceil(radius * 2.0f)) + 1, radius, colour);
}

int Canvas::textWidth(const std::string& text, int dot) {
    return static_cast<int>(text.size()) * kGlyphAdvance * dot;
}

int Canvas::textHeight(int dot) {
    return (kGlyphRows + 1) * dot;
}

void Canvas::text(const std::string& text, int x, int y, int dot, Colour colour, bool shadow) {
    const Colour dark{20, 20, 40, static_cast<uint8_t>(colour.a * 0.6f)};
    for (int pass = shadow ? 0 : 1; pass < 2; ++pass) {
        const int offset = pass == 0 ? dot : 0;
        int left = x;
        for (char character : text) {
            if (const char* const* rows = glyphRows(character)) {
                for (int row = 0; row < kGlyphRows; ++row) {
                    for (int column = 0; column < kGlyphColumns; ++column) {
                        if (rows[row][column] == '#') {
                            fillRect(left + column * dot + offset, y + row * dot + offset, dot, dot,
                                     pass == 0 ? dark : colour);
                        }
                    }
                }
            }
            left += kGlyphAdvance * dot;
        }
    }
}

void Canvas::textCentred(const std::string& text, int centreX, int centreY, int dot, Colour colour,
                         bool shadow) {
    this->text(text, centreX - textWidth(text, dot) / 2, centreY - textHeight(dot) / 2, dot, colour, shadow);
}

bool Canvas::savePng(const std::string& path) const {
    SDL_Surface* surface = SDL_CreateRGBSurfaceWithFormat(0, m_width, m_height, 32, SDL_PIXELFORMAT_RGBA32);
    if (surface == nullptr) {
        std::fprintf(stderr, "demo: cannot make an image for %s: %s\n", path.c_str(), SDL_GetError());
        return false;
    }
    SDL_LockSurface(surface);
    for (int row = 0; row < m_height; ++row) {
        std::copy_n(&m_pixels[static_cast<size_t>(row) * static_cast<size_t>(m_width) * 4],
                    static_cast<size_t>(m_width) * 4,
                    static_cast<uint8_t*>(surface->pixels) +
                        static_cast<size_t>(row) * static_cast<size_t>(surface->pitch));
    }
    SDL_UnlockSurface(surface);
    const bool saved = IMG_SavePNG(surface, path.c_str()) == 0;
    if (!saved) {
        std::fprintf(stderr, "demo: cannot write %s: %s\n", path.c_str(), IMG_GetError());
    }
    SDL_FreeSurface(surface);
    return saved;
}

} // namespace demo
} // namespace kxdata
