#include "base/ccTypes.h"

#include <cmath>

NS_CC_BEGIN

const ccColor3B ccWHITE = {255, 255, 255};
const ccColor3B ccYELLOW = {255, 255, 0};
const ccColor3B ccBLUE = {0, 0, 255};
const ccColor3B ccGREEN = {0, 255, 0};
const ccColor3B ccRED = {255, 0, 0};
const ccColor3B ccMAGENTA = {255, 0, 255};
const ccColor3B ccBLACK = {0, 0, 0};
const ccColor3B ccORANGE = {255, 127, 0};
const ccColor3B ccGRAY = {166, 166, 166};

namespace {
// Channels outside 0..1 (or NaN) are clamped so the conversion stays defined.
GLubyte channelToByte(GLfloat value) {
    if (!(value > 0.f))
        return 0;
    if (value >= 1.f)
        return 255;
    return static_cast<GLubyte>(value * 255.f);
}
} // namespace

ccColor4B ccc4BFromccc4F(const ccColor4F& c) {
    return ccColor4B{channelToByte(c.r), channelToByte(c.g), channelToByte(c.b), channelToByte(c.a)};
}

NS_CC_END
