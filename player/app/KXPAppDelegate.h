#pragma once

// The engine's application delegate: launch (random seed, view, fresh settings controller, design
// resolution and policy, the loading screen and how long it took), the staged loading that the
// loading screen drives one file per drawn frame, and what happens when the window goes to the
// background (minimised) and comes back.

#include "cocos2d.h"

#include <string>

class KXPAppDelegate : public cocos2d::CCApplication {
public:
    KXPAppDelegate() = default;
    ~KXPAppDelegate() override = default;

    bool applicationDidFinishLaunching() override;
    void applicationDidEnterBackground() override;
    void applicationWillEnterForeground() override;

    // Design resolution and resolution policy from the general settings; nothing without them.
    void setUpScreen();

    // One step of the staged load: one more model file, and once the last is in, the rest of
    // the set-up and the first screen. A failed load logs its error once and stops stepping;
    // the loading screen stays.
    void loadStep();
    // The load completed and the first screen was opened, or it stopped on an error.
    bool isLoadingFinished() const { return m_loadStopped; }
    bool hasLoadFailed() const { return m_loadFailed; }
    // Why it stopped, once it failed.
    const std::string& loadError() const { return m_loadError; }
    // After loading, open the screen or game scene of this key instead of following the start
    // node (the simulation tool's --open); empty follows the start node.
    void setFirstScreenKey(const std::string& key) { m_firstScreenKey = key; }
    // For runs that must repeat exactly: the random seed in place of the time (the launch is
    // timed on the player's clock, KXPClock.h, which such runs replace).
    void setRandomSeed(unsigned int seed) {
        m_seed = seed;
        m_seedGiven = true;
    }

    // Every atlas's sprite frames into the frame cache, read from the atlas's property list.
    static void loadAtlasFrames();

    // The policy for the general settings' "Screen Adjustment" (3: by the window's aspect ratio).
    static cocos2d::ResolutionPolicy resolutionPolicy(int screenAdjustment, int orientation,
                                                      const cocos2d::CCSize& windowSize);
    // A launch slower than 0.4 s switches the lights' shadows off.
    static bool isSlowLaunch(float seconds) { return static_cast<double>(seconds) > 0.4; }

private:
    // Steps 3 to 10 of the end of loading: archive, settings, services, ads, atlases, fonts,
    // button counters, lives.
    void finishLoading();
    // The first screen: a level to resume, the screen asked for, or the start node's "Load".
    // Empty, or why no screen could be opened.
    std::string openFirstScreen();
    // Stops the steps; a non-empty error is logged (once) and kept.
    void stopLoading(const std::string& error);

    // The first step empties the model store before loading everything.
    bool m_restartPending = true;
    bool m_loadStopped = false;
    bool m_loadFailed = false;
    std::string m_loadError;
    std::string m_firstScreenKey;
    unsigned int m_seed = 0;
    bool m_seedGiven = false;
};
