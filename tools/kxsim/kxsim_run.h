// One simulated run of a game: the real player stack without a window, frame by frame at a
// fixed 1/60 s, with the scripted input of the options. kxsim prints what it does; the game
// field benchmark times the field inside it.
#pragma once

#include <functional>
#include <memory>
#include <string>

#include "tools/kxsim/kxsim_options.h"

class KXPAppDelegate;

// What a caller does inside each frame, both optional: `before` after the frame's scripted
// input, just before the engine's frame, `after` just after it. Both get the frame's number.
struct SimFrameHooks {
    std::function<void(unsigned int frame)> before;
    std::function<void(unsigned int frame)> after;
};

class SimRun {
public:
    // The start-up in the game's folder (the caller changes into it): the view (offscreen GL
    // when the options take screenshots, headless otherwise), the start data, the player's clock
    // on simulated time (frames since a fixed moment), the random seed, the screen to open.
    explicit SimRun(const SimOptions& options);
    // Takes the run down as the player does at exit; the player's clock is the system's again.
    ~SimRun();
    SimRun(const SimRun&) = delete;
    SimRun& operator=(const SimRun&) = delete;

    // Runs the options' frames, then finish().
    void play(const SimFrameHooks& hooks = SimFrameHooks());

    // For callers that drive the run frame by frame: runs the next frame with its scripted input.
    // False when the application stopped in it, and (running nothing) once the options' frames
    // are done or the application has stopped.
    bool step(const SimFrameHooks& hooks = SimFrameHooks());
    // Saves the progress as the player does when its loop ends, and notes whether the game loaded.
    void finish();

    // After finish(): empty, or why the game could not be loaded.
    const std::string& loadError() const { return m_loadError; }
    bool loadFailed() const { return m_loadFailed; }

private:
    void applyInput() const;

    const SimOptions m_options;
    unsigned int m_frame = 0;
    bool m_startData = false;
    bool m_stopped = false;
    bool m_loadFailed = false;
    std::string m_loadError;
    std::unique_ptr<KXPAppDelegate> m_application;
};

// kxsim's run: plays the options and prints what they ask for. 0, or 2 (with "error: ..." on
// standard error) when the game failed to load.
int runSimulation(const SimOptions& options);
