#include "textures/CCPngRead.h"

#include <png.h>

#include <algorithm>
#include <csetjmp>
#include <cstdio>
#include <cstring>
#include <vector>

#include "platform/CCFileLimits.h"

namespace cocos2d {

namespace {

struct Source {
    const unsigned char* data;
    size_t size;
    size_t at;
};

struct Failure {
    char message[200];
};

void readBytes(png_structp png, png_bytep out, png_size_t length) {
    Source* source = static_cast<Source*>(png_get_io_ptr(png));
    if (length > source->size - source->at)
        png_error(png, "the file ends early");
    std::memcpy(out, source->data + source->at, length);
    source->at += length;
}

[[noreturn]] void fail(png_structp png, png_const_charp message) {
    Failure* failure = static_cast<Failure*>(png_get_error_ptr(png));
    std::snprintf(failure->message, sizeof failure->message, "%s", message);
    png_longjmp(png, 1);
}

void ignoreWarning(png_structp, png_const_charp) {}

// Ancillary chunks (profiles, text) larger than this are dropped rather than unpacked.
constexpr png_alloc_size_t kMaxChunkBytes = png_alloc_size_t(8) << 20;

} // namespace

bool ccPngInterlaced(const unsigned char* data, size_t size) {
    return data && size > 28 && data[28] != 0;
}

bool ccReadPngRgba(const unsigned char* data, size_t size, std::uint32_t width, std::uint32_t height,
                   unsigned char* band, std::uint32_t bandRows, const CCPngRows& rows, std::string* error) {
    Failure failure{};
    Source source{data, size, 0};
    const size_t rowBytes = static_cast<size_t>(width) * 4;
    // Made before the jump point: the error path returns through it and frees it.
    std::vector<png_bytep> bandRowStarts(bandRows);
    for (std::uint32_t y = 0; y < bandRows; ++y)
        bandRowStarts[y] = band + rowBytes * y;
    png_structp png = png_create_read_struct(PNG_LIBPNG_VER_STRING, &failure, fail, ignoreWarning);
    png_infop info = png ? png_create_info_struct(png) : nullptr;
    if (!info) {
        png_destroy_read_struct(&png, nullptr, nullptr);
        *error = "no memory for the decoder";
        return false;
    }
    if (setjmp(png_jmpbuf(png))) {
        png_destroy_read_struct(&png, &info, nullptr);
        *error = failure.message;
        return false;
    }
    png_set_read_fn(png, &source, readBytes);
    png_set_user_limits(png, kCCMaxPictureSide, kCCMaxPictureSide);
    png_set_chunk_malloc_max(png, kMaxChunkBytes);
    png_read_info(png, info);
    if (png_get_image_width(png, info) != width || png_get_image_height(png, info) != height)
        png_error(png, "the header changed its sides");
    // Everything to 8-bit RGBA: 16 bits cut to 8, palettes and low depths expanded, a
    // transparent colour made alpha, grey made colour, opaque alpha added where there is none.
    png_set_strip_16(png);
    png_set_expand(png);
    png_set_gray_to_rgb(png);
    png_set_add_alpha(png, 0xff, PNG_FILLER_AFTER);
    const int passes = png_set_interlace_handling(png);
    png_read_update_info(png, info);
    if (png_get_rowbytes(png, info) != rowBytes)
        png_error(png, "the rows do not unpack to RGBA");
    if (passes > 1) {
        if (bandRows < height)
            png_error(png, "interlaced rows need the whole picture at once");
        png_read_image(png, bandRowStarts.data());
        rows(band, 0, height);
    } else {
        for (std::uint32_t first = 0; first < height; first += bandRows) {
            const std::uint32_t count = std::min(bandRows, height - first);
            png_read_rows(png, bandRowStarts.data(), nullptr, count);
            rows(band, first, count);
        }
    }
    png_destroy_read_struct(&png, &info, nullptr);
    return true;
}

} // namespace cocos2d
