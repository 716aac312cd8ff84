// Named shader programs: the built-in ones (loaded once a GL context exists) and any the
// game adds. Without GL every lookup of a built-in gives null.
#pragma once

#include <map>
#include <string>

#include "base/CCObject.h"

namespace cocos2d {

class CCGLProgram;

class CCShaderCache : public CCObject {
public:
    static CCShaderCache* sharedShaderCache();
    static void purgeSharedShaderCache();

    ~CCShaderCache() override;

    // Compiles the built-in programs (no-op without GL or when already done).
    void loadDefaultShaders();
    // Recompiles the built-in programs into the same objects (after a new context).
    void reloadDefaultShaders();
    CCGLProgram* programForKey(const char* key);
    // Retains program; replaces any program under the same key.
    void addProgram(CCGLProgram* program, const char* key);

private:
    CCShaderCache() = default;
    bool loadBuiltin(CCGLProgram* program, int kind);

    std::map<std::string, CCGLProgram*> m_programs;
    bool m_defaultsLoaded = false;
};

} // namespace cocos2d
