// Sources of the built-in shader programs. Every source is compiled after the common
// header of CCGLProgram (matrices, time, precision macros), so it only declares its own
// attributes, varyings, CC_Texture0 and u_* uniforms.
#pragma once

#include "base/ccTypes.h"

namespace cocos2d {

extern const GLchar* ccPosition_uColor_vert;
extern const GLchar* ccPosition_uColor_frag;
extern const GLchar* ccPositionColor_vert;
extern const GLchar* ccPositionColor_frag;
extern const GLchar* ccPositionTexture_vert;
extern const GLchar* ccPositionTexture_frag;
extern const GLchar* ccPositionTexture_uColor_vert;
extern const GLchar* ccPositionTexture_uColor_frag;
extern const GLchar* ccPositionTextureColor_vert;
extern const GLchar* ccPositionTextureColor_frag;
extern const GLchar* ccPositionTextureColorAlphaTest_frag;
extern const GLchar* ccPositionTextureA8Color_vert;
extern const GLchar* ccPositionTextureA8Color_frag;

} // namespace cocos2d
