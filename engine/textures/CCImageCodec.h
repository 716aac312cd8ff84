// Decoding of PNG pictures (through SDL2_image) into tightly packed RGBA rows, top row first,
// and writing RGBA pixels back to PNG (screenshots, test fixtures).
#pragma once

#include <cstdint>
#include <string>
#include <vector>

namespace cocos2d {

struct CCDecodedImage {
    int width = 0;
    int height = 0;
    std::vector<unsigned char> rgba; // width * height * 4 bytes
};

// False for unreadable or corrupt data, for any format but PNG and for a header whose size
// ccPictureSizeAllowed refuses (each refusal logs one line naming `name`); out is left empty
// then. premultiply scales each colour by its alpha, which the engine's default blend function
// expects.
bool ccDecodeImage(const unsigned char* data, size_t size, bool premultiply, CCDecodedImage* out,
                   const char* name = nullptr);
// The sides a PNG header declares; false when data does not start with a PNG header.
bool ccReadPngSize(const unsigned char* data, size_t size, uint32_t* width, uint32_t* height);
void ccPremultiplyAlpha(unsigned char* rgba, size_t pixelCount);
// rgba holds height rows of width pixels; bottomUp says the first row is the bottom one
// (as glReadPixels returns it).
bool ccSaveRGBAToPNG(const std::string& path, const unsigned char* rgba, int width, int height,
                     bool bottomUp);

} // namespace cocos2d
