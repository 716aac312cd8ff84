// The media the light, trail, flag and mirror read from a game's data folder, written into the
// working folder (a kxtest::MediaFolder): "data/fx/*.png" and "data/shaders/WaterReflection.fsh".
#pragma once

#include <cmath>
#include <fstream>
#include <string>

#include <sys/stat.h>

#include "support/render_test_support.h"

namespace kxtest {

// A reflection shader as a game ships it: the engine's names and precision prelude, the scene
// texture times the sprite colour, tinted by u_shadeColor.
constexpr const char* kTintReflectionShader = R"(#ifdef GL_ES
precision lowp float;
#endif
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
uniform vec4 u_shadeColor;
void main() {
    gl_FragColor = v_fragmentColor * texture2D(CC_Texture0, v_texCoord) * u_shadeColor;
}
)";

inline void makeEffectFolders() {
    ::mkdir("data", 0755);
    ::mkdir("data/fx", 0755);
    ::mkdir("data/shaders", 0755);
}

// White light whose alpha falls from 1 at the middle to 0 at the inscribed circle's edge.
inline bool writeLightMap(int size = 64) {
    makeEffectFolders();
    PixelImage image(size, size);
    const float middle = (static_cast<float>(size) - 1.0f) * 0.5f;
    for (int y = 0; y < size; ++y) {
        for (int x = 0; x < size; ++x) {
            const float distance = std::hypot(static_cast<float>(x) - middle, static_cast<float>(y) - middle);
            const float alpha = std::fmax(0.0f, 1.0f - distance / (static_cast<float>(size) * 0.5f));
            image.set(x, y, Rgba{255, 255, 255, static_cast<unsigned char>(alpha * 255.0f)});
        }
    }
    return image.savePng("data/fx/lightMap.png");
}

// "data/fx/<name>" as one solid colour.
inline bool writeEffectMap(const std::string& name, Rgba colour, int width = 16, int height = 16) {
    makeEffectFolders();
    return PixelImage(width, height, colour).savePng("data/fx/" + name);
}

inline bool writeReflectionShader(const std::string& text) {
    makeEffectFolders();
    std::ofstream out("data/shaders/WaterReflection.fsh", std::ios::binary);
    out << text;
    return static_cast<bool>(out);
}

} // namespace kxtest
