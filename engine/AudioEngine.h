// Sound effects engine (cocos2d::experimental::AudioEngine).
#pragma once

#include "audio/AudioEngine.h"
