#include <GL/glew.h>

#include "view/CCScreenshot.h"

#include <cmath>

#include "renderer/CCGLContext.h"
#include "renderer/CCQuadRenderer.h"
#include "textures/CCImageCodec.h"
#include "view/CCEGLView.h"

NS_CC_BEGIN

bool ccReadPixels(int x, int y, int width, int height, std::vector<unsigned char>* rgba) {
    if (!ccGLContextReady() || width <= 0 || height <= 0 || width > 16384 || height > 16384)
        return false;
    // Batched quads are part of the picture.
    ccDrawFlush();
    rgba->assign(static_cast<size_t>(width) * static_cast<size_t>(height) * 4, 0);
    glPixelStorei(GL_PACK_ALIGNMENT, 1);
    glReadPixels(x, y, width, height, GL_RGBA, GL_UNSIGNED_BYTE, rgba->data());
    return true;
}

ccColor4B ccReadPixel(int x, int y) {
    std::vector<unsigned char> pixel;
    if (!ccReadPixels(x, y, 1, 1, &pixel))
        return ccc4(0, 0, 0, 0);
    return ccc4(pixel[0], pixel[1], pixel[2], pixel[3]);
}

bool ccSaveScreenshot(const std::string& pngPath) {
    const CCSize frame = CCEGLView::sharedOpenGLView()->getFrameSize();
    const int width = static_cast<int>(std::lround(frame.width));
    const int height = static_cast<int>(std::lround(frame.height));
    std::vector<unsigned char> rgba;
    if (!ccReadPixels(0, 0, width, height, &rgba))
        return false;
    return ccSaveRGBAToPNG(pngPath, rgba.data(), width, height, true);
}

NS_CC_END
