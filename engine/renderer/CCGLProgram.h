// A linked GL shader program with the engine's built-in uniforms. Sources are compiled after
// a common header that declares CC_PMatrix, CC_MVMatrix, CC_MVPMatrix, CC_Time, CC_SinTime,
// CC_CosTime and CC_Random01 and makes the GLSL ES precision words harmless on desktop GL.
#pragma once

#include <string>
#include <unordered_map>
#include <vector>

#include "base/CCObject.h"
#include "base/ccTypes.h"
#include "kazmath/mat4.h"

namespace cocos2d {

enum {
    kCCVertexAttrib_Position = 0,
    kCCVertexAttrib_Color = 1,
    kCCVertexAttrib_TexCoords = 2,
    kCCVertexAttrib_MAX,
};

enum {
    kCCUniformPMatrix,
    kCCUniformMVMatrix,
    kCCUniformMVPMatrix,
    kCCUniformTime,
    kCCUniformSinTime,
    kCCUniformCosTime,
    kCCUniformRandom01,
    kCCUniformSampler,
    kCCUniform_MAX,
};

#define kCCShader_PositionTextureColor "ShaderPositionTextureColor"
#define kCCShader_PositionTextureColorAlphaTest "ShaderPositionTextureColorAlphaTest"
#define kCCShader_PositionColor "ShaderPositionColor"
#define kCCShader_PositionTexture "ShaderPositionTexture"
#define kCCShader_PositionTexture_uColor "ShaderPositionTexture_uColor"
#define kCCShader_PositionTextureA8Color "ShaderPositionTextureA8Color"
#define kCCShader_Position_uColor "ShaderPosition_uColor"

#define kCCUniformPMatrix_s "CC_PMatrix"
#define kCCUniformMVMatrix_s "CC_MVMatrix"
#define kCCUniformMVPMatrix_s "CC_MVPMatrix"
#define kCCUniformTime_s "CC_Time"
#define kCCUniformSinTime_s "CC_SinTime"
#define kCCUniformCosTime_s "CC_CosTime"
#define kCCUniformRandom01_s "CC_Random01"
#define kCCUniformSampler_s "CC_Texture0"
#define kCCUniformAlphaTestValue "CC_alpha_value"

#define kCCAttributeNameColor "a_color"
#define kCCAttributeNamePosition "a_position"
#define kCCAttributeNameTexCoord "a_texCoord"

class CCGLProgram : public CCObject {
public:
    CCGLProgram();
    ~CCGLProgram() override;

    // Compiles both stages; false (with the compiler log on stderr) when either fails.
    bool initWithVertexShaderByteArray(const GLchar* vShaderByteArray, const GLchar* fShaderByteArray);
    // Reads both files through CCFileUtils.
    bool initWithVertexShaderFilename(const char* vShaderFilename, const char* fShaderFilename);
    void addAttribute(const char* attributeName, GLuint index);
    bool link();
    void use();
    // Looks up the built-in uniforms and points CC_Texture0 at unit 0.
    void updateUniforms();
    // Uploads the projection and model-view tops of the kmGL stacks (and time, when used).
    void setUniformsForBuiltins();
    // The same with the given matrices (the quad batch draws with an identity model-view).
    void setUniformsForBuiltins(const kmMat4& projection, const kmMat4& modelView);

    GLint getUniformLocationForName(const char* name) const;
    void setUniformLocationWith1i(GLint location, GLint i1);
    void setUniformLocationWith1f(GLint location, GLfloat f1);
    void setUniformLocationWith2f(GLint location, GLfloat f1, GLfloat f2);
    void setUniformLocationWith3f(GLint location, GLfloat f1, GLfloat f2, GLfloat f3);
    void setUniformLocationWith4f(GLint location, GLfloat f1, GLfloat f2, GLfloat f3, GLfloat f4);
    void setUniformLocationWith4fv(GLint location, const GLfloat* floats, unsigned int numberOfArrays);
    void setUniformLocationWithMatrix4fv(GLint location, const GLfloat* matrixArray,
                                         unsigned int numberOfMatrices);

    // Drops the GL objects and cached uniforms (after a context loss), keeping nothing linked.
    void reset();

    GLuint getProgram() const { return m_uProgram; }
    GLint getUniformLocation(int builtin) const { return m_uUniforms[builtin]; }
    std::string vertexShaderLog() const { return m_vertexLog; }
    std::string fragmentShaderLog() const { return m_fragmentLog; }
    std::string programLog() const;

    // Seconds fed to CC_Time and friends; the application advances it once per frame.
    static void setShaderTime(float seconds);
    static float getShaderTime();

private:
    bool compileShader(GLuint* shader, GLenum type, const GLchar* source, std::string* log);
    // True when the values differ from the last upload to location (and remembers them).
    bool updateUniformCache(GLint location, const GLfloat* values, size_t count);
    // Deletes the shaders and the program when a context exists; the names stay as they are.
    void deleteGLObjects();

    GLuint m_uProgram = 0;
    GLuint m_uVertShader = 0;
    GLuint m_uFragShader = 0;
    GLint m_uUniforms[kCCUniform_MAX];
    bool m_usesTime = false;
    bool m_usesMV = false;
    std::string m_vertexLog;
    std::string m_fragmentLog;
    std::unordered_map<GLint, std::vector<GLfloat>> m_uniformCache;
};

// The header every engine shader is compiled with (also used for a game's own shaders).
extern const char* const kCCShaderHeader;

} // namespace cocos2d
