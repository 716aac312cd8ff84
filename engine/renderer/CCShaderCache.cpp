#include <GL/glew.h>

#include "renderer/CCShaderCache.h"

#include "renderer/CCGLContext.h"
#include "renderer/CCGLProgram.h"
#include "renderer/ccShaders.h"

namespace cocos2d {

namespace {

CCShaderCache* g_sharedShaderCache = nullptr;

struct BuiltinProgram {
    const char* key;
    const GLchar* const* vertex;
    const GLchar* const* fragment;
    bool color;
    bool texCoords;
};

const BuiltinProgram kBuiltins[] = {
    {kCCShader_PositionTextureColor, &ccPositionTextureColor_vert, &ccPositionTextureColor_frag, true, true},
    {kCCShader_PositionTextureColorAlphaTest, &ccPositionTextureColor_vert,
     &ccPositionTextureColorAlphaTest_frag, true, true},
    {kCCShader_PositionColor, &ccPositionColor_vert, &ccPositionColor_frag, true, false},
    {kCCShader_PositionTexture, &ccPositionTexture_vert, &ccPositionTexture_frag, false, true},
    {kCCShader_PositionTexture_uColor, &ccPositionTexture_uColor_vert, &ccPositionTexture_uColor_frag, false,
     true},
    {kCCShader_PositionTextureA8Color, &ccPositionTextureA8Color_vert, &ccPositionTextureA8Color_frag, true,
     true},
    {kCCShader_Position_uColor, &ccPosition_uColor_vert, &ccPosition_uColor_frag, false, false},
};

} // namespace

CCShaderCache* CCShaderCache::sharedShaderCache() {
    if (!g_sharedShaderCache)
        g_sharedShaderCache = new CCShaderCache();
    g_sharedShaderCache->loadDefaultShaders();
    return g_sharedShaderCache;
}

void CCShaderCache::purgeSharedShaderCache() {
    CC_SAFE_RELEASE_NULL(g_sharedShaderCache);
}

CCShaderCache::~CCShaderCache() {
    for (auto& entry : m_programs)
        entry.second->release();
}

bool CCShaderCache::loadBuiltin(CCGLProgram* program, int kind) {
    const BuiltinProgram& builtin = kBuiltins[kind];
    if (!program->initWithVertexShaderByteArray(*builtin.vertex, *builtin.fragment))
        return false;
    program->addAttribute(kCCAttributeNamePosition, kCCVertexAttrib_Position);
    if (builtin.color)
        program->addAttribute(kCCAttributeNameColor, kCCVertexAttrib_Color);
    if (builtin.texCoords)
        program->addAttribute(kCCAttributeNameTexCoord, kCCVertexAttrib_TexCoords);
    if (!program->link())
        return false;
    program->updateUniforms();
    return true;
}

void CCShaderCache::loadDefaultShaders() {
    if (m_defaultsLoaded || !ccGLContextReady())
        return;
    m_defaultsLoaded = true;
    for (int kind = 0; kind < static_cast<int>(sizeof(kBuiltins) / sizeof(kBuiltins[0])); ++kind) {
        CCGLProgram* program = new CCGLProgram();
        if (loadBuiltin(program, kind))
            addProgram(program, kBuiltins[kind].key);
        program->release();
    }
}

void CCShaderCache::reloadDefaultShaders() {
    if (!ccGLContextReady())
        return;
    if (!m_defaultsLoaded) {
        loadDefaultShaders();
        return;
    }
    for (int kind = 0; kind < static_cast<int>(sizeof(kBuiltins) / sizeof(kBuiltins[0])); ++kind) {
        CCGLProgram* program = programForKey(kBuiltins[kind].key);
        if (program) {
            program->reset();
            loadBuiltin(program, kind);
        }
    }
}

CCGLProgram* CCShaderCache::programForKey(const char* key) {
    if (!key)
        return nullptr;
    auto it = m_programs.find(key);
    return it == m_programs.end() ? nullptr : it->second;
}

void CCShaderCache::addProgram(CCGLProgram* program, const char* key) {
    if (!program || !key)
        return;
    program->retain();
    auto it = m_programs.find(key);
    if (it != m_programs.end()) {
        it->second->release();
        it->second = program;
    } else {
        m_programs[key] = program;
    }
}

} // namespace cocos2d
