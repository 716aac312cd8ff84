// Reads back the current frame buffer (tests, screenshots). Rows come bottom-up, as GL
// stores them; pixel (x, y) counts from the lower-left corner.
#pragma once

#include <string>
#include <vector>

#include "base/ccTypes.h"

NS_CC_BEGIN

// False without a GL context or for an empty rectangle.
bool ccReadPixels(int x, int y, int width, int height, std::vector<unsigned char>* rgba);
// One pixel; (0, 0, 0, 0) without GL.
ccColor4B ccReadPixel(int x, int y);
// The whole frame of the shared view as a PNG (top row first, as image viewers expect).
bool ccSaveScreenshot(const std::string& pngPath);

NS_CC_END
