#include "tools/kxdata/demo/demo_font.h"

#include <cctype>
#include <cstdio>
#include <fstream>
#include <sstream>

#include "tools/kxdata/demo/demo_canvas.h"

namespace kxdata {
namespace demo {

namespace {

struct Glyph {
    char character;
    const char* rows[kGlyphRows];
};

const Glyph kGlyphs[] = {
    {'A', {".###.", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'B', {"####.", "#...#", "#...#", "####.", "#...#", "#...#", "####."}},
    {'C', {".###.", "#...#", "#....", "#....", "#....", "#...#", ".###."}},
    {'D', {"####.", "#...#", "#...#", "#...#", "#...#", "#...#", "####."}},
    {'E', {"#####", "#....", "#....", "####.", "#....", "#....", "#####"}},
    {'F', {"#####", "#....", "#....", "####.", "#....", "#....", "#...."}},
    {'G', {".###.", "#...#", "#....", "#.###", "#...#", "#...#", ".####"}},
    {'H', {"#...#", "#...#", "#...#", "#####", "#...#", "#...#", "#...#"}},
    {'I', {".###.", "..#..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'J', {"..###", "...#.", "...#.", "...#.", "...#.", "#..#.", ".##.."}},
    {'K', {"#...#", "#..#.", "#.#..", "##...", "#.#..", "#..#.", "#...#"}},
    {'L', {"#....", "#....", "#....", "#....", "#....", "#....", "#####"}},
    {'M', {"#...#", "##.##", "#.#.#", "#.#.#", "#...#", "#...#", "#...#"}},
    {'N', {"#...#", "#...#", "##..#", "#.#.#", "#..##", "#...#", "#...#"}},
    {'O', {".###.", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'P', {"####.", "#...#", "#...#", "####.", "#....", "#....", "#...."}},
    {'Q', {".###.", "#...#", "#...#", "#...#", "#.#.#", "#..#.", ".##.#"}},
    {'R', {"####.", "#...#", "#...#", "####.", "#.#..", "#..#.", "#...#"}},
    {'S', {".####", "#....", "#....", ".###.", "....#", "....#", "####."}},
    {'T', {"#####", "..#..", "..#..", "..#..", "..#..", "..#..", "..#.."}},
    {'U', {"#...#", "#...#", "#...#", "#...#", "#...#", "#...#", ".###."}},
    {'V', {"#...#", "#...#", "#...#", "#...#", "#...#", ".#.#.", "..#.."}},
    {'W', {"#...#", "#...#", "#...#", "#.#.#", "#.#.#", "#.#.#", ".#.#."}},
    {'X', {"#...#", "#...#", ".#.#.", "..#..", ".#.#.", "#...#", "#...#"}},
    {'Y', {"#...#", "#...#", ".#.#.", "..#..", "..#..", "..#..", "..#.."}},
    {'Z', {"#####", "....#", "...#.", "..#..", ".#...", "#....", "#####"}},
    {'0', {".###.", "#...#", "#..##", "#.#.#", "##..#", "#...#", ".###."}},
    {'1', {"..#..", ".##..", "..#..", "..#..", "..#..", "..#..", ".###."}},
    {'2', {".###.", "#...#", "....#", "...#.", "..#..", ".#...", "#####"}},
    {'3', {"####.", "....#", "....#", ".###.", "....#", "....#", "####."}},
    {'4', {"...#.", "..##.", ".#.#.", "#..#.", "#####", "...#.", "...#."}},
    {'5', {"#####", "#....", "####.", "....#", "....#", "#...#", ".###."}},
    {'6', {"..##.", ".#...", "#....", "####.", "#...#", "#...#", ".###."}},
    {'7', {"#####", "....#", "...#.", "..#..", ".#...", ".#...", ".#..."}},
    {'8', {".###.", "#...#", "#...#", ".###.", "#...#", "#...#", ".###."}},
    {'9', {".###.", "#...#", "#...#", ".####", "....#", "...#.", ".##.."}},
    {'!', {"..#..", "..#..", "..#..", "..#..", "..#..", ".....", "..#.."}},
    {'?', {".###.", "#...#", "....#", "...#.", "..#..", ".....", "..#.."}},
    {'.', {".....", ".....", ".....", ".....", ".....", ".##..", ".##.."}},
    {',', {".....", ".....", ".....", ".....", ".##..", "..#..", ".#..."}},
    {':', {".....", ".##..", ".##..", ".....", ".##..", ".##..", "....."}},
    {'-', {".....", ".....", ".....", "#####", ".....", ".....", "....."}},
    {'+', {".....", "..#..", "..#..", "#####", "..#..", "..#..", "....."}},
    {'=', {".....", ".....", "#####", ".....", "#####", ".....", "....."}},
    {'/', {"....#", "....#", "...#.", "..#..", ".#...", "#....", "#...."}},
    {'%', {"##..#", "##..#", "...#.", "..#..", ".#...", "#..##", "#..##"}},
    {'\'', {"..#..", "..#..", ".#...", ".....", ".....", ".....", "....."}},
    {'(', {"...#.", "..#..", ".#...", ".#...", ".#...", "..#..", "...#."}},
    {')', {".#...", "..#..", "...#.", "...#.", "...#.", "..#..", ".#..."}},
    {'*', {".....", "..#..", "#.#.#", ".###.", "#.#.#", "..#..", "....."}},
    {'$', {"..#..", ".####", "#.#..", ".###.", "..#.#", "####.", "..#.."}},
};

} // namespace

const char* const* glyphRows(char character) {
    const char upper = static_cast<char>(std::toupper(static_cast<unsigned char>(character)));
    for (const Glyph& glyph : kGlyphs) {
        if (glyph.character == upper) {
            return glyph.rows;
        }
    }
    return nullptr;
}

bool writeDotFont(const std::string& fntPath, const std::string& pageName, int dot) {
    constexpr int kColumns = 16;
    // Glyphs stand apart on the page, so that a label drawn scaled does not pick up its neighbours.
    constexpr int kGap = 4;
    const int cellWidth = kGlyphAdvance * dot;
    const int cellHeight = (kGlyphRows + 1) * dot;
    const int count = static_cast<int>(sizeof kGlyphs / sizeof kGlyphs[0]);
    const int rows = (count + kColumns - 1) / kColumns;
    Canvas page(kColumns * (cellWidth + kGap), rows * (cellHeight + kGap));

    std::ostringstream fnt;
    std::ostringstream chars;
    int entries = 1;
    chars << "char id=32 x=0 y=0 width=0 height=0 xoffset=0 yoffset=0 xadvance=" << cellWidth
          << " page=0 chnl=15\n";
    for (int index = 0; index < count; ++index) {
        const Glyph& glyph = kGlyphs[index];
        const int x = (index % kColumns) * (cellWidth + kGap);
        const int y = (index / kColumns) * (cellHeight + kGap);
        page.text(std::string(1, glyph.character), x, y, dot, Colour{255, 255, 255, 255}, true);
        const auto line = [&](int code) {
            chars << "char id=" << code << " x=" << x << " y=" << y << " width=" << cellWidth
                  << " height=" << cellHeight << " xoffset=0 yoffset=0 xadvance=" << cellWidth
                  << " page=0 chnl=15\n";
            ++entries;
        };
        line(static_cast<unsigned char>(glyph.character));
        // Small letters share the capitals' images.
        if (std::isupper(static_cast<unsigned char>(glyph.character))) {
            line(std::tolower(static_cast<unsigned char>(glyph.character)));
        }
    }
    fnt << "info face=\"KX Demo Dots\" size=" << cellHeight
        << " bold=0 italic=0 charset=\"\" unicode=1 stretchH=100 smooth=0 aa=1 padding=0,0,0,0 spacing=1,1\n"
        << "common lineHeight=" << cellHeight << " base=" << kGlyphRows * dot << " scaleW=" << page.width()
        << " scaleH=" << page.height() << " pages=1 packed=0\n"
        << "page id=0 file=\"" << pageName << "\"\n"
        << "chars count=" << entries << "\n"
        << chars.str();

    const std::string folder = fntPath.substr(0, fntPath.find_last_of('/') + 1);
    if (!page.savePng(folder + pageName)) {
        return false;
    }
    std::ofstream out(fntPath, std::ios::binary | std::ios::trunc);
    out << fnt.str();
    if (!out) {
        std::fprintf(stderr, "demo: cannot write %s\n", fntPath.c_str());
        return false;
    }
    return true;
}

} // namespace demo
} // namespace kxdata
