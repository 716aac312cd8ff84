// Background music engine (CocosDenshion::SimpleAudioEngine).
#pragma once

#include "audio/SimpleAudioEngine.h"
