#include <GL/glew.h>

#include "renderer/CCGLProgram.h"

#include <cmath>
#include <cstdio>
#include <cstring>

#include "kazmath/GL/matrix.h"
#include "platform/CCFileUtils.h"
#include "renderer/CCGLContext.h"
#include "renderer/ccGLStateCache.h"

namespace cocos2d {

const char* const kCCShaderHeader = "#ifndef GL_ES\n"
                                    "#define lowp\n"
                                    "#define mediump\n"
                                    "#define highp\n"
                                    "#endif\n"
                                    "uniform mat4 CC_PMatrix;\n"
                                    "uniform mat4 CC_MVMatrix;\n"
                                    "uniform mat4 CC_MVPMatrix;\n"
                                    "uniform vec4 CC_Time;\n"
                                    "uniform vec4 CC_SinTime;\n"
                                    "uniform vec4 CC_CosTime;\n"
                                    "uniform vec4 CC_Random01;\n"
                                    "#line 1\n";

namespace {
float g_shaderTime = 0.f;

std::string readText(const char* filename) {
    std::vector<unsigned char> bytes;
    if (!filename || !CCFileUtils::sharedFileUtils()->readFile(filename, bytes))
        return std::string();
    return std::string(bytes.begin(), bytes.end());
}
} // namespace

void CCGLProgram::setShaderTime(float seconds) {
    g_shaderTime = seconds;
}
float CCGLProgram::getShaderTime() {
    return g_shaderTime;
}

CCGLProgram::CCGLProgram() {
    for (GLint& u : m_uUniforms)
        u = -1;
}

CCGLProgram::~CCGLProgram() {
    deleteGLObjects();
}

void CCGLProgram::deleteGLObjects() {
    if (!ccGLContextReady())
        return;
    if (m_uVertShader)
        glDeleteShader(m_uVertShader);
    if (m_uFragShader)
        glDeleteShader(m_uFragShader);
    if (m_uProgram)
        ccGLDeleteProgram(m_uProgram);
}

bool CCGLProgram::compileShader(GLuint* shader, GLenum type, const GLchar* source, std::string* log) {
    if (!source)
        return false;
    const GLchar* sources[] = {kCCShaderHeader, source};
    *shader = glCreateShader(type);
    glShaderSource(*shader, 2, sources, nullptr);
    glCompileShader(*shader);
    GLint status = 0;
    glGetShaderiv(*shader, GL_COMPILE_STATUS, &status);
    GLint length = 0;
    glGetShaderiv(*shader, GL_INFO_LOG_LENGTH, &length);
    log->clear();
    if (length > 1) {
        std::vector<GLchar> text(static_cast<size_t>(length));
        glGetShaderInfoLog(*shader, length, nullptr, text.data());
        log->assign(text.data());
    }
    if (!status) {
        std::fprintf(stderr, "shader compile failed (%s):\n%s\n",
                     type == GL_VERTEX_SHADER ? "vertex" : "fragment", log->c_str());
        glDeleteShader(*shader);
        *shader = 0;
        return false;
    }
    return true;
}

bool CCGLProgram::initWithVertexShaderByteArray(const GLchar* vShaderByteArray,
                                                const GLchar* fShaderByteArray) {
    if (!ccGLContextReady())
        return false;
    reset();
    m_uProgram = glCreateProgram();
    if (!compileShader(&m_uVertShader, GL_VERTEX_SHADER, vShaderByteArray, &m_vertexLog) ||
        !compileShader(&m_uFragShader, GL_FRAGMENT_SHADER, fShaderByteArray, &m_fragmentLog)) {
        reset();
        return false;
    }
    glAttachShader(m_uProgram, m_uVertShader);
    glAttachShader(m_uProgram, m_uFragShader);
    // The engine's attribute names always get their standard indices, so a program whose
    // owner binds only some of them still reads the colour and texture coordinates where
    // the quad renderer puts them (names a shader lacks are ignored by GL).
    glBindAttribLocation(m_uProgram, kCCVertexAttrib_Position, kCCAttributeNamePosition);
    glBindAttribLocation(m_uProgram, kCCVertexAttrib_Color, kCCAttributeNameColor);
    glBindAttribLocation(m_uProgram, kCCVertexAttrib_TexCoords, kCCAttributeNameTexCoord);
    return true;
}

bool CCGLProgram::initWithVertexShaderFilename(const char* vShaderFilename, const char* fShaderFilename) {
    const std::string vs = readText(vShaderFilename);
    const std::string fs = readText(fShaderFilename);
    if (vs.empty() || fs.empty())
        return false;
    return initWithVertexShaderByteArray(vs.c_str(), fs.c_str());
}

void CCGLProgram::addAttribute(const char* attributeName, GLuint index) {
    if (m_uProgram && attributeName)
        glBindAttribLocation(m_uProgram, index, attributeName);
}

bool CCGLProgram::link() {
    if (!m_uProgram)
        return false;
    glLinkProgram(m_uProgram);
    // The stages are no longer needed once linked.
    if (m_uVertShader)
        glDeleteShader(m_uVertShader);
    if (m_uFragShader)
        glDeleteShader(m_uFragShader);
    m_uVertShader = m_uFragShader = 0;
    GLint status = 0;
    glGetProgramiv(m_uProgram, GL_LINK_STATUS, &status);
    if (!status) {
        std::fprintf(stderr, "shader link failed:\n%s\n", programLog().c_str());
        ccGLDeleteProgram(m_uProgram);
        m_uProgram = 0;
        return false;
    }
    m_uniformCache.clear();
    return true;
}

std::string CCGLProgram::programLog() const {
    if (!m_uProgram)
        return std::string();
    GLint length = 0;
    glGetProgramiv(m_uProgram, GL_INFO_LOG_LENGTH, &length);
    if (length <= 1)
        return std::string();
    std::vector<GLchar> text(static_cast<size_t>(length));
    glGetProgramInfoLog(m_uProgram, length, nullptr, text.data());
    return std::string(text.data());
}

void CCGLProgram::use() {
    // ccGLUseProgram flushes the quad batch; every uniform setter comes through here before
    // it uploads, so quads already batched keep the values they were meant for.
    ccGLUseProgram(m_uProgram);
}

void CCGLProgram::updateUniforms() {
    if (!m_uProgram)
        return;
    static const char* const kNames[kCCUniform_MAX] = {
        kCCUniformPMatrix_s, kCCUniformMVMatrix_s, kCCUniformMVPMatrix_s, kCCUniformTime_s,
        kCCUniformSinTime_s, kCCUniformCosTime_s,  kCCUniformRandom01_s,  kCCUniformSampler_s};
    for (int i = 0; i < kCCUniform_MAX; ++i)
        m_uUniforms[i] = glGetUniformLocation(m_uProgram, kNames[i]);
    m_usesTime = m_uUniforms[kCCUniformTime] != -1 || m_uUniforms[kCCUniformSinTime] != -1 ||
                 m_uUniforms[kCCUniformCosTime] != -1;
    m_usesMV = m_uUniforms[kCCUniformMVMatrix] != -1 || m_uUniforms[kCCUniformPMatrix] != -1;
    use();
    setUniformLocationWith1i(m_uUniforms[kCCUniformSampler], 0);
}

void CCGLProgram::setUniformsForBuiltins() {
    if (!m_uProgram || !ccGLContextReady())
        return;
    kmMat4 projection;
    kmMat4 modelView;
    kmGLGetMatrix(KM_GL_PROJECTION, &projection);
    kmGLGetMatrix(KM_GL_MODELVIEW, &modelView);
    setUniformsForBuiltins(projection, modelView);
}

void CCGLProgram::setUniformsForBuiltins(const kmMat4& projection, const kmMat4& modelView) {
    if (!m_uProgram || !ccGLContextReady())
        return;
    kmMat4 mvp;
    kmMat4Multiply(&mvp, &projection, &modelView);
    if (m_usesMV) {
        setUniformLocationWithMatrix4fv(m_uUniforms[kCCUniformPMatrix], projection.mat, 1);
        setUniformLocationWithMatrix4fv(m_uUniforms[kCCUniformMVMatrix], modelView.mat, 1);
    }
    setUniformLocationWithMatrix4fv(m_uUniforms[kCCUniformMVPMatrix], mvp.mat, 1);
    if (m_usesTime) {
        const float t = g_shaderTime;
        setUniformLocationWith4f(m_uUniforms[kCCUniformTime], t / 10.f, t, t * 2.f, t * 4.f);
        setUniformLocationWith4f(m_uUniforms[kCCUniformSinTime], std::sin(t / 8.f), std::sin(t / 4.f),
                                 std::sin(t / 2.f), std::sin(t));
        setUniformLocationWith4f(m_uUniforms[kCCUniformCosTime], std::cos(t / 8.f), std::cos(t / 4.f),
                                 std::cos(t / 2.f), std::cos(t));
    }
    if (m_uUniforms[kCCUniformRandom01] != -1)
        setUniformLocationWith4f(m_uUniforms[kCCUniformRandom01], CCRANDOM_0_1(), CCRANDOM_0_1(),
                                 CCRANDOM_0_1(), CCRANDOM_0_1());
}

GLint CCGLProgram::getUniformLocationForName(const char* name) const {
    if (!m_uProgram || !name || !ccGLContextReady())
        return -1;
    return glGetUniformLocation(m_uProgram, name);
}

bool CCGLProgram::updateUniformCache(GLint location, const GLfloat* values, size_t count) {
    std::vector<GLfloat>& cached = m_uniformCache[location];
    if (cached.size() == count && std::memcmp(cached.data(), values, count * sizeof(GLfloat)) == 0)
        return false;
    cached.assign(values, values + count);
    return true;
}

void CCGLProgram::setUniformLocationWith1i(GLint location, GLint i1) {
    if (location < 0 || !m_uProgram)
        return;
    const GLfloat asFloat = static_cast<GLfloat>(i1);
    if (updateUniformCache(location, &asFloat, 1)) {
        use();
        glUniform1i(location, i1);
    }
}

void CCGLProgram::setUniformLocationWith1f(GLint location, GLfloat f1) {
    if (location < 0 || !m_uProgram || !updateUniformCache(location, &f1, 1))
        return;
    use();
    glUniform1f(location, f1);
}

void CCGLProgram::setUniformLocationWith2f(GLint location, GLfloat f1, GLfloat f2) {
    const GLfloat v[2] = {f1, f2};
    if (location < 0 || !m_uProgram || !updateUniformCache(location, v, 2))
        return;
    use();
    glUniform2fv(location, 1, v);
}

void CCGLProgram::setUniformLocationWith3f(GLint location, GLfloat f1, GLfloat f2, GLfloat f3) {
    const GLfloat v[3] = {f1, f2, f3};
    if (location < 0 || !m_uProgram || !updateUniformCache(location, v, 3))
        return;
    use();
    glUniform3fv(location, 1, v);
}

void CCGLProgram::setUniformLocationWith4f(GLint location, GLfloat f1, GLfloat f2, GLfloat f3, GLfloat f4) {
    const GLfloat v[4] = {f1, f2, f3, f4};
    if (location < 0 || !m_uProgram || !updateUniformCache(location, v, 4))
        return;
    use();
    glUniform4fv(location, 1, v);
}

void CCGLProgram::setUniformLocationWith4fv(GLint location, const GLfloat* floats,
                                            unsigned int numberOfArrays) {
    if (location < 0 || !m_uProgram || !floats || !updateUniformCache(location, floats, 4u * numberOfArrays))
        return;
    use();
    glUniform4fv(location, static_cast<GLsizei>(numberOfArrays), floats);
}

void CCGLProgram::setUniformLocationWithMatrix4fv(GLint location, const GLfloat* matrixArray,
                                                  unsigned int numberOfMatrices) {
    if (location < 0 || !m_uProgram || !matrixArray ||
        !updateUniformCache(location, matrixArray, 16u * numberOfMatrices))
        return;
    use();
    glUniformMatrix4fv(location, static_cast<GLsizei>(numberOfMatrices), GL_FALSE, matrixArray);
}

void CCGLProgram::reset() {
    deleteGLObjects();
    m_uVertShader = m_uFragShader = m_uProgram = 0;
    for (GLint& u : m_uUniforms)
        u = -1;
    m_uniformCache.clear();
}

} // namespace cocos2d
