#pragma once

// A sprite that shows one colour at a given size (invisible touch areas, flash overlays).

#include "cocos2d.h"

// Autoreleased; its texture is one pixel of `color`, stretched over `size`. The four bytes are
// uploaded as they are, 8 bits per channel, so the sprite shows exactly that colour.
cocos2d::CCSprite* createColorSprite(const cocos2d::CCSize& size, const cocos2d::ccColor4B& color);
