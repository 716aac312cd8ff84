#include "renderer/ccShaders.h"

namespace cocos2d {

// One colour for every vertex; points get their size from u_pointSize.
const GLchar* ccPosition_uColor_vert = R"(
attribute vec4 a_position;
uniform vec4 u_color;
uniform float u_pointSize;
varying lowp vec4 v_fragmentColor;
void main() {
    gl_Position = CC_MVPMatrix * a_position;
    gl_PointSize = u_pointSize;
    v_fragmentColor = u_color;
}
)";

static const GLchar kVertexColourFrag[] = R"(
#ifdef GL_ES
precision lowp float;
#endif
varying vec4 v_fragmentColor;
void main() {
    gl_FragColor = v_fragmentColor;
}
)";
const GLchar* ccPosition_uColor_frag = kVertexColourFrag;

const GLchar* ccPositionColor_vert = R"(
attribute vec4 a_position;
attribute vec4 a_color;
varying lowp vec4 v_fragmentColor;
void main() {
    gl_Position = CC_MVPMatrix * a_position;
    v_fragmentColor = a_color;
}
)";

// Same source as ccPosition_uColor_frag; pointing at one array keeps it constant-initialised.
const GLchar* ccPositionColor_frag = kVertexColourFrag;

static const GLchar kTextureVert[] = R"(
attribute vec4 a_position;
attribute vec2 a_texCoord;
varying mediump vec2 v_texCoord;
void main() {
    gl_Position = CC_MVPMatrix * a_position;
    v_texCoord = a_texCoord;
}
)";
const GLchar* ccPositionTexture_vert = kTextureVert;

const GLchar* ccPositionTexture_frag = R"(
#ifdef GL_ES
precision lowp float;
#endif
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
void main() {
    gl_FragColor = texture2D(CC_Texture0, v_texCoord);
}
)";

// Same source as ccPositionTexture_vert; pointing at one array keeps it constant-initialised.
const GLchar* ccPositionTexture_uColor_vert = kTextureVert;

const GLchar* ccPositionTexture_uColor_frag = R"(
#ifdef GL_ES
precision lowp float;
#endif
uniform vec4 u_color;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
void main() {
    gl_FragColor = texture2D(CC_Texture0, v_texCoord) * u_color;
}
)";

static const GLchar kTextureColourVert[] = R"(
attribute vec4 a_position;
attribute vec2 a_texCoord;
attribute vec4 a_color;
varying lowp vec4 v_fragmentColor;
varying mediump vec2 v_texCoord;
void main() {
    gl_Position = CC_MVPMatrix * a_position;
    v_fragmentColor = a_color;
    v_texCoord = a_texCoord;
}
)";
const GLchar* ccPositionTextureColor_vert = kTextureColourVert;

const GLchar* ccPositionTextureColor_frag = R"(
#ifdef GL_ES
precision lowp float;
#endif
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
void main() {
    gl_FragColor = v_fragmentColor * texture2D(CC_Texture0, v_texCoord);
}
)";

// Fragments at or below CC_alpha_value are discarded (stencil-like masks).
const GLchar* ccPositionTextureColorAlphaTest_frag = R"(
#ifdef GL_ES
precision lowp float;
#endif
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
uniform float CC_alpha_value;
void main() {
    vec4 texColor = texture2D(CC_Texture0, v_texCoord);
    if (texColor.a <= CC_alpha_value)
        discard;
    gl_FragColor = texColor * v_fragmentColor;
}
)";

// Same source as ccPositionTextureColor_vert; pointing at one array keeps it constant-initialised.
const GLchar* ccPositionTextureA8Color_vert = kTextureColourVert;

// Alpha-only textures: colour from the vertices, coverage from the texture.
const GLchar* ccPositionTextureA8Color_frag = R"(
#ifdef GL_ES
precision lowp float;
#endif
varying vec4 v_fragmentColor;
varying vec2 v_texCoord;
uniform sampler2D CC_Texture0;
void main() {
    gl_FragColor = vec4(v_fragmentColor.rgb, v_fragmentColor.a * texture2D(CC_Texture0, v_texCoord).a);
}
)";

} // namespace cocos2d
