#pragma once

// The engine's application delegate: launch (random seed, view, fresh settings controller, design
// resolution and policy, the first scene and how long it took), and what happens when the window
// goes to the background and comes back.

#include "cocos2d.h"

class KXPAppDelegate : public cocos2d::CCApplication {
public:
    KXPAppDelegate() = default;
    ~KXPAppDelegate() override = default;

    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;

    // Design resolution and resolution policy from the general settings; nothing without them.
    void setUpScreen();

    // The policy for the general settings' "Screen Adjustment" (3: by the window's aspect ratio).
    static cocos2d::ResolutionPolicy resolutionPolicy(int screenAdjustment, int orientation,
                                                      const cocos2d::CCSize& windowSize);
    // A launch slower than 0.4 s switches the lights' shadows off.
    static bool isSlowLaunch(float seconds) { return static_cast<double>(seconds) > 0.4; }
};
