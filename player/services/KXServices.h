#pragma once

// The game's way to the platform: leaving, the window mode, confirmations, screen hooks,
// leaderboards, links and reviews. On the desktop most have nothing behind them: a confirmation
// answers yes at once, links and game services do nothing, and the score is worked out but sent
// nowhere. Leaving and the window mode are posted to the game window (see KXPWindowRequests).

#include "cocos2d.h"

#include <cstdint>
#include <string>

typedef void (cocos2d::CCObject::*SEL_KXServicesCallback)(bool);
#define services_selector(_SELECTOR) static_cast<SEL_KXServicesCallback>(&_SELECTOR)

class KXServices {
public:
    // The single instance, made on first use and never deleted.
    static KXServices* shared();

    KXServices(const KXServices&) = delete;
    KXServices& operator=(const KXServices&) = delete;

    // Closes the game window; the main loop ends and the process exits through its normal path.
    void requestExit();
    // Switches the window mode; the caller has stored the preference already.
    void setFullscreen(bool fullscreen);

    // Asks the player to confirm `message`. Nothing is shown here: the pair is kept and, when
    // both are set, the handler is called at once with true.
    void setCallback(const std::string& message, cocos2d::CCObject* target, SEL_KXServicesCallback handler);

    void screenOnEnter(const std::string& name);
    void screenOnExit(const std::string& name);

    // Always false on the desktop: no game-services button, no score submission at game over.
    bool isGameServicesAvailable() const { return m_gameServicesAvailable; }
    // Works out the leaderboard value named by the general settings' "Score Type" and drops it.
    void submitScore();
    // The value submitScore() would send for that score type; false when there is none. The
    // "Global ..." types create the global score record when it is missing.
    static bool leaderboardValue(const std::string& scoreType, int64_t* value);

    // Nothing behind these on the desktop.
    void openUrl(const std::string& url);
    void openSocialPage(const std::string& pageId, const std::string& url);
    void openFacebookPage(const std::string& url, const std::string& pageId);
    void showGameServices();
    void requestReview();
    // Whether a UI screen highlights its default button at once: not with a mouse.
    bool prefersButtonHighlight() const { return false; }

private:
    KXServices() = default;

    bool m_gameServicesAvailable = false;
    cocos2d::CCObject* m_callbackTarget = nullptr;
    SEL_KXServicesCallback m_callbackHandler = nullptr;
};
