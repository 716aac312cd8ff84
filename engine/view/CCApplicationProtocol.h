// The application delegate's interface, called by the engine's run loop.
#pragma once

#include "base/ccMacros.h"

NS_CC_BEGIN

typedef enum {
    kTargetWindows,
    kTargetLinux,
    kTargetMacOS,
    kTargetAndroid,
    kTargetIphone,
    kTargetIpad,
    kTargetBlackBerry,
    kTargetNaCl,
    kTargetEmscripten,
    kTargetTizen,
    kTargetWinRT,
    kTargetWP8,
} TargetPlatform;

typedef enum {
    kLanguageEnglish = 0,
    kLanguageChinese,
    kLanguageFrench,
    kLanguageItalian,
    kLanguageGerman,
    kLanguageSpanish,
    kLanguageDutch,
    kLanguageRussian,
    kLanguageKorean,
    kLanguageJapanese,
    kLanguageHungarian,
    kLanguagePortuguese,
    kLanguageArabic,
} ccLanguageType;

class CCApplicationProtocol {
public:
    virtual ~CCApplicationProtocol() = default;

    // False ends run() at once.
    virtual bool applicationDidFinishLaunching() = 0;
    // The window was minimised.
    virtual void applicationDidEnterBackground() = 0;
    // The window was restored from minimised.
    virtual void applicationWillEnterForeground() = 0;
    virtual TargetPlatform getTargetPlatform() = 0;
    // Desktop windows can always be landscape; kept for delegates that ask.
    virtual bool applicationSupportsLandscape() { return true; }
    virtual void setAnimationInterval(double interval) = 0;
    virtual ccLanguageType getCurrentLanguage() = 0;
};

NS_CC_END
