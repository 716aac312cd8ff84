#include "renderer/ccDrawCounter.h"

namespace cocos2d {
unsigned int g_uNumberOfDraws = 0;
}
