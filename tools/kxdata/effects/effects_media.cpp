#include "tools/kxdata/effects/effects_media.h"

#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>

#include "tools/kxdata/KXGameWriter.h"

namespace kxdata {
namespace effects {

using demo::Canvas;
using demo::Colour;

namespace {

uint8_t unitToByte(float value) {
    return static_cast<uint8_t>(std::lround(std::min(1.0f, std::max(0.0f, value)) * 255.0f));
}

// Rows of the reflection: the scene sways a little sideways, more towards the bottom of the
// water, and is tinted by the mirror's colour.
constexpr const char* kWaterReflectionShader = R"(#ifdef GL_ES
precision lowp float;
#endif

varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
uniform vec4 u_shadeColor;

void main() {
    vec2 uv = v_texCoord;
    uv.x += sin(uv.y * 12.0 + CC_Time.y * 2.0) * 0.002 * uv.y;
    vec4 scene = texture2D(CC_Texture0, uv);
    gl_FragColor = v_fragmentColor * scene * u_shadeColor;
}
)";

} // namespace

Canvas lightMapCanvas() {
    const int size = 128;
    Canvas canvas(size, size);
    const float middle = (static_cast<float>(size) - 1.0f) * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float distance = std::hypot(static_cast<float>(x) - middle, static_cast<float>(y) - middle);
            const float reach = std::max(0.0f, 1.0f - distance / (static_cast<float>(size) * 0.5f));
            // Bright near the middle, a long soft fall towards the edge.
            canvas.blend(x, y, Colour{255, 255, 255, unitToByte(reach * reach * (3.0f - 2.0f * reach))});
        }
    }
    return canvas;
}

Canvas trailMapCanvas() {
    const int width = 128;
    const int height = 32;
    Canvas canvas(width, height);
    for (int y = 0; y < height; ++y) {
        const float across =
            std::sin(3.14159265f * (static_cast<float>(y) + 0.5f) / static_cast<float>(height));
        for (int x = 0; x < width; ++x) {
            const float along = 1.0f - static_cast<float>(x) / static_cast<float>(width - 1);
            const float core = std::pow(across, 6.0f);
            const Colour colour{unitToByte(0.75f + 0.25f * core), unitToByte(0.88f + 0.12f * core), 255,
                                unitToByte(across * along)};
            canvas.blend(x, y, colour);
        }
    }
    return canvas;
}

Canvas flagMapCanvas() {
    Canvas canvas(128, 64);
    const Colour red{200, 40, 50, 255};
    const Colour cream{250, 235, 200, 255};
    canvas.fillRect(0, 0, 128, 64, red);
    canvas.fillRect(0, 24, 128, 16, cream);
    canvas.disc(64.0f, 32.0f, 12.0f, Colour{255, 200, 60, 255});
    canvas.fillRect(0, 0, 8, 64, Colour{120, 20, 30, 255});
    return canvas;
}

const char* waterReflectionShader() {
    return kWaterReflectionShader;
}

size_t writeEffectMedia(const std::string& dir) {
    makeFolder(dir + "/data");
    makeFolder(dir + "/data/fx");
    makeFolder(dir + "/data/shaders");
    size_t failed = 0;
    failed += lightMapCanvas().savePng(dir + "/data/fx/lightMap.png") ? 0 : 1;
    failed += trailMapCanvas().savePng(dir + "/data/fx/trailMap.png") ? 0 : 1;
    failed += flagMapCanvas().savePng(dir + "/data/fx/flagMap.png") ? 0 : 1;
    const std::string shaderPath = dir + "/data/shaders/WaterReflection.fsh";
    std::ofstream shader(shaderPath, std::ios::binary | std::ios::trunc);
    shader << kWaterReflectionShader;
    if (!shader) {
        std::fprintf(stderr, "effects: cannot write %s\n", shaderPath.c_str());
        ++failed;
    }
    return failed;
}

} // namespace effects
} // namespace kxdata
