// Number of GL draw calls issued in the current frame (shown by stats, read by tests).
#pragma once

namespace cocos2d {
extern unsigned int g_uNumberOfDraws;
}

#define CC_INCREMENT_GL_DRAWS(n)                                                                             \
    do {                                                                                                     \
        ::cocos2d::g_uNumberOfDraws += (n);                                                                  \
    } while (0)
