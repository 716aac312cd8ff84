// Helpers for the render suites: one offscreen GL view per process (KX_TEST_VIDEODRIVER=x11
// makes it a real window; the suites skip when no GL context can be made), fixtures written as PNG straight
// through SDL2_image, and reads of single pixels from the frame buffer.
#pragma once

#include <gtest/gtest.h>

#include <GL/glew.h>

#include <SDL2/SDL.h>
#include <SDL2/SDL_image.h>

#include <cstdlib>
#include <cstring>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "renderer/ccGLStateCache.h"
#include "temp_folder.h"

namespace kxtest {

struct Rgba {
    unsigned char r, g, b, a;
};

// width x height pixels, top row first.
class PixelImage {
public:
    PixelImage(int width, int height, Rgba fill = {0, 0, 0, 0})
        : m_width(width), m_height(height), m_pixels(static_cast<size_t>(width * height), fill) {}
    void set(int x, int yFromTop, Rgba c) { m_pixels[static_cast<size_t>(yFromTop * m_width + x)] = c; }
    void fillRect(int x, int yFromTop, int w, int h, Rgba c) {
        for (int j = yFromTop; j < yFromTop + h; ++j)
            for (int i = x; i < x + w; ++i)
                set(i, j, c);
    }
    bool savePng(const std::string& path) const {
        SDL_Surface* surface =
            SDL_CreateRGBSurfaceWithFormat(0, m_width, m_height, 32, SDL_PIXELFORMAT_RGBA32);
        if (!surface)
            return false;
        for (int y = 0; y < m_height; ++y)
            std::memcpy(static_cast<unsigned char*>(surface->pixels) + surface->pitch * y,
                        &m_pixels[y * m_width], static_cast<size_t>(m_width) * 4);
        const bool ok = IMG_SavePNG(surface, path.c_str()) == 0;
        SDL_FreeSurface(surface);
        return ok;
    }

private:
    int m_width;
    int m_height;
    std::vector<Rgba> m_pixels;
};

inline bool near(unsigned char value, int expected, int tolerance = 2) {
    return value + tolerance >= expected && value <= expected + tolerance;
}

#define EXPECT_PIXEL(actual, R, G, B)                                                                        \
    do {                                                                                                     \
        const cocos2d::ccColor4B kxPixel = (actual);                                                         \
        EXPECT_TRUE(kxtest::near(kxPixel.r, R) && kxtest::near(kxPixel.g, G) && kxtest::near(kxPixel.b, B))  \
            << "got (" << int(kxPixel.r) << "," << int(kxPixel.g) << "," << int(kxPixel.b) << ") expected (" \
            << (R) << "," << (G) << "," << (B) << ") at " #actual;                                           \
    } while (0)

// Every test gets the shared offscreen view with a frame of kWidth x kHeight pixels and an
// identical design size, and a fresh temporary folder for fixtures.
class RenderTest : public ::testing::Test {
protected:
    static constexpr int kWidth = 100;
    static constexpr int kHeight = 100;

    cocos2d::CCEGLView* view = nullptr;
    TempFolder folder;

    void SetUp() override {
        // Offscreen unless a script runs the suite in a real (Xvfb) window.
        const char* driver = std::getenv("KX_TEST_VIDEODRIVER");
        ::setenv("SDL_VIDEODRIVER", driver && *driver ? driver : "offscreen", 1);
        // An earlier test in the process may have left a view without GL (a headless one).
        cocos2d::CCEGLView* earlier = cocos2d::CCEGLView::sharedOpenGLView();
        if (!earlier->isOpenGLReady())
            cocos2d::CCEGLView::purgeSharedOpenGLView();
        view = cocos2d::CCEGLView::sharedOpenGLView();
        if (!view->isOpenGLReady())
            GTEST_SKIP() << "no offscreen GL context on this machine";
        // GL state as a new context starts (blending above all), whatever the test before set.
        cocos2d::ccGLInvalidateStateCache();
        view->setFrameSize(kWidth, kHeight);
        view->setDesignResolutionSize(kWidth, kHeight, cocos2d::kResolutionExactFit);
        cocos2d::CCDirector::sharedDirector()->setOpenGLView(view);
    }

    void TearDown() override {
        cocos2d::CCPoolManager::sharedPoolManager()->pop();
        cocos2d::CCDirector::sharedDirector()->setOpenGLView(nullptr);
    }

    // Clears the frame and draws the nodes the way a frame does, without swapping, so the
    // result can be read back.
    void render(std::initializer_list<cocos2d::CCNode*> nodes) {
        view->beginFrame();
        cocos2d::CCDirector::sharedDirector()->setProjection2D();
        for (cocos2d::CCNode* node : nodes)
            node->visit();
        glFinish();
    }

    // Pixel (x, y) from the lower-left corner of the frame.
    static cocos2d::ccColor4B pixel(int x, int y) { return cocos2d::ccReadPixel(x, y); }

    // A solid-colour PNG of the given size in the fixture folder; returns its path.
    std::string solidPng(const std::string& name, int w, int h, Rgba colour) {
        PixelImage image(w, h, colour);
        const std::string path = folder.file(name);
        EXPECT_TRUE(image.savePng(path));
        return path;
    }
};

} // namespace kxtest
