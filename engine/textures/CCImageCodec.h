// Decoding of PNG pictures into tightly packed RGBA rows, top row first, and writing RGBA
// pixels back to PNG (screenshots, test fixtures).
#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

#include "textures/CCPictureBudget.h"
#include "textures/CCPngRead.h"

namespace cocos2d {

// A picture's bytes, left unset until written: a large picture's pages take memory only as its
// rows are decoded.
class CCPixelBytes {
public:
    // False, holding nothing, when there is no memory for size bytes.
    bool allocate(size_t size);
    void clear();
    unsigned char* data() { return m_bytes.get(); }
    const unsigned char* data() const { return m_bytes.get(); }
    size_t size() const { return m_size; }
    bool empty() const { return m_size == 0; }

private:
    std::unique_ptr<unsigned char[]> m_bytes;
    size_t m_size = 0;
};

struct CCDecodedImage {
    int width = 0;
    int height = 0;
    CCPixelBytes rgba;    // width * height * 4 bytes
    CCPictureShare share; // what they take of the picture budget
};

// False for unreadable or corrupt data, for any format but PNG, for a header whose size
// ccPictureSizeAllowed refuses or whose data could not fill it (ccPictureDataCanFill), and for a
// picture the budget has no room for (each refusal logs one line naming `name`); out is left
// empty then. premultiply scales each colour by its alpha, which the engine's default blend
// function expects.
bool ccDecodeImage(const unsigned char* data, size_t size, bool premultiply, CCDecodedImage* out,
                   const char* name = nullptr);
// The checks ccDecodeImage makes before decoding (format, sides, data, budget), each refusal
// logged in one line; when the picture is admitted its sides are set and share holds its bytes.
bool ccAdmitPicture(const unsigned char* data, size_t size, const char* name, uint32_t* width,
                    uint32_t* height, CCPictureShare* share);
// Decodes an admitted picture a band of rows at a time (about kCCPictureBandBytes; every row when
// whole, or when the picture is interlaced) into band, handing each band on to rows. False (one
// line logged) for a damaged file or when there is no memory for the band.
constexpr size_t kCCPictureBandBytes = size_t(1) << 20;
bool ccDecodePictureRows(const unsigned char* data, size_t size, uint32_t width, uint32_t height,
                         bool premultiply, const char* name, bool whole, CCPixelBytes* band,
                         const CCPngRows& rows);
// The sides a PNG header declares; false when data does not start with a PNG header.
bool ccReadPngSize(const unsigned char* data, size_t size, uint32_t* width, uint32_t* height);
void ccPremultiplyAlpha(unsigned char* rgba, size_t pixelCount);
// rgba holds height rows of width pixels; bottomUp says the first row is the bottom one
// (as glReadPixels returns it).
bool ccSaveRGBAToPNG(const std::string& path, const unsigned char* rgba, int width, int height,
                     bool bottomUp);

} // namespace cocos2d
