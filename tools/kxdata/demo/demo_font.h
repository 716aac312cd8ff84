// The demo's dot font: capital letters, digits and common punctuation, 5 x 7 dots; small letters
// are drawn as capitals. The bitmap font the game's labels use is made from the same dots.
#pragma once

#include <string>

namespace kxdata {
namespace demo {

constexpr int kGlyphColumns = 5;
constexpr int kGlyphRows = 7;
// A glyph's advance, in dots (one dot of space, and room for the shadow).
constexpr int kGlyphAdvance = 6;

// The seven rows of the glyph ('#' a dot), or null for a character the font lacks.
const char* const* glyphRows(char character);

// A bitmap font at `dot` pixels per dot, white with a dark shadow: the .fnt at `fntPath` and its
// page image `pageName` beside it.
bool writeDotFont(const std::string& fntPath, const std::string& pageName, int dot);

} // namespace demo
} // namespace kxdata
