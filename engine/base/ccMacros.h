// Namespace and helper macros shared by the whole engine layer.
#pragma once

#include <cassert>
#include <cmath>
#include <cstdio>
#include <cstdlib>

#define NS_CC_BEGIN namespace cocos2d {
#define NS_CC_END }
#define USING_NS_CC using namespace cocos2d

#ifndef M_PI
#define M_PI 3.14159265358979323846
#endif

#define CC_DEGREES_TO_RADIANS(angle) ((angle)*0.01745329252f)
#define CC_RADIANS_TO_DEGREES(angle) ((angle)*57.29577951f)

// rand() reaches RAND_MAX, so divide by it (not by 32767) to stay within [0, 1].
#define CCRANDOM_0_1() (static_cast<float>(std::rand()) / static_cast<float>(RAND_MAX))
#define CCRANDOM_MINUS1_1() (CCRANDOM_0_1() * 2.0f - 1.0f)

#define CC_SAFE_DELETE(p)                                                                                    \
    do {                                                                                                     \
        delete (p);                                                                                          \
        (p) = nullptr;                                                                                       \
    } while (0)
#define CC_SAFE_DELETE_ARRAY(p)                                                                              \
    do {                                                                                                     \
        delete[](p);                                                                                         \
        (p) = nullptr;                                                                                       \
    } while (0)
#define CC_SAFE_FREE(p)                                                                                      \
    do {                                                                                                     \
        std::free(p);                                                                                        \
        (p) = nullptr;                                                                                       \
    } while (0)
#define CC_SAFE_RELEASE(p)                                                                                   \
    do {                                                                                                     \
        if (p)                                                                                               \
            (p)->release();                                                                                  \
    } while (0)
#define CC_SAFE_RELEASE_NULL(p)                                                                              \
    do {                                                                                                     \
        if (p) {                                                                                             \
            (p)->release();                                                                                  \
            (p) = nullptr;                                                                                   \
        }                                                                                                    \
    } while (0)
#define CC_SAFE_RETAIN(p)                                                                                    \
    do {                                                                                                     \
        if (p)                                                                                               \
            (p)->retain();                                                                                   \
    } while (0)
#define CC_BREAK_IF(cond)                                                                                    \
    if (cond)                                                                                                \
    break

#define CCAssert(cond, msg) assert((cond) && (msg))
#define CC_UNUSED_PARAM(unusedparam) (void)(unusedparam)

// Engine-internal diagnostics; the player logs through its own debugLog.
#define CCLOG(...)                                                                                           \
    do {                                                                                                     \
        std::fprintf(stderr, __VA_ARGS__);                                                                   \
        std::fputc('\n', stderr);                                                                            \
    } while (0)

// static T* create(): new, init, autorelease; null when init fails.
#define CREATE_FUNC(__TYPE__)                                                                                \
    static __TYPE__* create() {                                                                              \
        __TYPE__* pRet = new __TYPE__();                                                                     \
        if (pRet->init()) {                                                                                  \
            pRet->autorelease();                                                                             \
            return pRet;                                                                                     \
        }                                                                                                    \
        delete pRet;                                                                                         \
        return nullptr;                                                                                      \
    }

// Member with a protected field and public getter/setter.
#define CC_SYNTHESIZE(varType, varName, funName)                                                             \
protected:                                                                                                   \
    varType varName;                                                                                         \
                                                                                                             \
public:                                                                                                      \
    virtual varType get##funName(void) const {                                                               \
        return varName;                                                                                      \
    }                                                                                                        \
    virtual void set##funName(varType var) {                                                                 \
        varName = var;                                                                                       \
    }

#define CC_SYNTHESIZE_READONLY(varType, varName, funName)                                                    \
protected:                                                                                                   \
    varType varName;                                                                                         \
                                                                                                             \
public:                                                                                                      \
    virtual varType get##funName(void) const {                                                               \
        return varName;                                                                                      \
    }

#define CC_PROPERTY(varType, varName, funName)                                                               \
protected:                                                                                                   \
    varType varName;                                                                                         \
                                                                                                             \
public:                                                                                                      \
    virtual varType get##funName(void);                                                                      \
    virtual void set##funName(varType var);

#define CC_DLL
