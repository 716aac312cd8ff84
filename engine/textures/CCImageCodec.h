// Decoding of image files (PNG, JPEG, ICO... through SDL2_image) into tightly packed RGBA
// rows, top row first, and writing RGBA pixels back to PNG (screenshots, test fixtures).
#pragma once

#include <string>
#include <vector>

namespace cocos2d {

struct CCDecodedImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba; // width * height * 4 bytes
};

// False for unreadable or corrupt data; out is left empty then. premultiply scales each
// colour by its alpha, which the engine's default blend function expects.
bool ccDecodeImage(const unsigned char* data, size_t size, bool premultiply, CCDecodedImage* out);
void ccPremultiplyAlpha(unsigned char* rgba, size_t pixelCount);
// rgba holds height rows of width pixels; bottomUp says the first row is the bottom one
// (as glReadPixels returns it).
bool ccSaveRGBAToPNG(const std::string& path, const unsigned char* rgba, int width, int height,
                     bool bottomUp);

} // namespace cocos2d
