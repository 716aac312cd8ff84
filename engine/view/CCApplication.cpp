#include "view/CCApplication.h"

#include <cstdlib>
#include <cstring>

#include "director/CCDirector.h"
#include "renderer/CCGLProgram.h"
#include "view/CCEGLView.h"
#include "view/CCFramePacer.h"

NS_CC_BEGIN

namespace {
CCApplication* g_sharedApplication = nullptr;
}

CCApplication::CCApplication() {
    g_sharedApplication = this;
}

CCApplication::~CCApplication() {
    if (g_sharedApplication == this)
        g_sharedApplication = nullptr;
}

CCApplication* CCApplication::sharedApplication() {
    return g_sharedApplication;
}

void CCApplication::setAnimationInterval(double interval) {
    if (interval > 0.0 && interval < 10.0)
        m_animationInterval = interval;
    CCDirector::sharedDirector()->setAnimationInterval(m_animationInterval);
}

ccLanguageType CCApplication::getCurrentLanguage() {
    const char* lang = std::getenv("LANG");
    if (!lang || std::strlen(lang) < 2)
        return kLanguageEnglish;
    static const struct {
        const char* code;
        ccLanguageType type;
    } kCodes[] = {{"zh", kLanguageChinese},   {"fr", kLanguageFrench},     {"it", kLanguageItalian},
                  {"de", kLanguageGerman},    {"es", kLanguageSpanish},    {"nl", kLanguageDutch},
                  {"ru", kLanguageRussian},   {"ko", kLanguageKorean},     {"ja", kLanguageJapanese},
                  {"hu", kLanguageHungarian}, {"pt", kLanguagePortuguese}, {"ar", kLanguageArabic}};
    for (const auto& entry : kCodes)
        if (std::strncmp(lang, entry.code, 2) == 0)
            return entry.type;
    return kLanguageEnglish;
}

bool CCApplication::launch() {
    if (m_launched)
        return true;
    m_launched = true;
    CCDirector* director = CCDirector::sharedDirector();
    // The view exists before the loop (the delegate usually made it already).
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (!director->getOpenGLView())
        director->setOpenGLView(view);
    return applicationDidFinishLaunching();
}

bool CCApplication::runOneFrame() {
    CCEGLView* view = CCEGLView::sharedOpenGLView();
    if (!view->pollEvents())
        return false;
    if (m_frameHook) {
        m_frameHook();
        if (view->windowShouldClose())
            return false;
    }
    CCDirector* director = CCDirector::sharedDirector();
    director->mainLoop();
    CCGLProgram::setShaderTime(CCGLProgram::getShaderTime() + director->getDeltaTime());
    return !view->windowShouldClose();
}

int CCApplication::run() {
    if (!launch())
        return 0;
    // The game steps its physics once per frame, so frames must not come faster than the
    // interval. A swap that waited for vsync leaves (almost) nothing to wait for here.
    CCFramePacer pacer;
    pacer.start();
    while (runOneFrame())
        pacer.waitForNextFrame(CCDirector::sharedDirector()->getAnimationInterval());
    return 0;
}

int CCApplication::runFrames(int frames) {
    if (!launch())
        return 0;
    int done = 0;
    while (done < frames) {
        ++done;
        if (!runOneFrame())
            break;
    }
    return done;
}

NS_CC_END
