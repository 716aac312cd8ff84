#include "player/services/KXServices.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelGeneralSettings.h"
#include "player/base/KXPTrace.h"
#include "player/services/KXPWindowRequests.h"
#include "player/store/KXPScoreTable.h"

#include <cmath>
#include <cstdio>

namespace {

// To the nearest whole number; stored distances may be anything, so the ends saturate.
int64_t roundedDistance(float distance) {
    if (std::isnan(distance)) {
        return 0;
    }
    const double limit = 9.0e18;
    return std::llround(std::fmax(-limit, std::fmin(limit, static_cast<double>(distance))));
}

} // namespace

KXServices* KXServices::shared() {
    static KXServices* instance = new KXServices();
    return instance;
}

void KXServices::requestExit() {
    debugLog("Exit");
    std::printf("Doing exit...\n");
    std::fflush(stdout);
    postWindowRequest(kWindowRequestClose, false);
}

void KXServices::setFullscreen(bool fullscreen) {
    postWindowRequest(kWindowRequestFullscreen, fullscreen);
}

void KXServices::setCallback(const std::string& message, cocos2d::CCObject* target,
                             SEL_KXServicesCallback handler) {
    (void)message;
    m_callbackTarget = target;
    m_callbackHandler = handler;
    if (m_callbackTarget != nullptr && m_callbackHandler != nullptr) {
        (m_callbackTarget->*m_callbackHandler)(true);
    }
}

void KXServices::screenOnEnter(const std::string& name) {
    debugLog("[KXServices] Screen On Enter: %s", name.c_str());
}

void KXServices::screenOnExit(const std::string& name) {
    debugLog("[KXServices] Screen On Exit: %s", name.c_str());
}

bool KXServices::leaderboardValue(const std::string& scoreType, int64_t* value) {
    if (scoreType == "Distance") {
        *value = roundedDistance(totalDistance());
        return true;
    }
    if (scoreType == "Coins Collected") {
        *value = totalCoins();
        return true;
    }
    if (scoreType == "Points Collected") {
        *value = totalPoints();
        return true;
    }
    if (scoreType == "Global Distance") {
        *value = roundedDistance(worldScores("").distance.best);
        return true;
    }
    if (scoreType == "Global Coins" || scoreType == "Global Points") {
        worldScores("");
    }
    return false;
}

void KXServices::submitScore() {
    int64_t value = 0;
    // There is no leaderboard on the desktop: the value goes nowhere.
    (void)leaderboardValue(KXModelGeneralSettings::shared()->scoreType(), &value);
}

// There is no browser and no online service here: each request is only traced.
void KXServices::openUrl(const std::string& url) {
    kxTrace("services", "services open url=%s", url.c_str());
}

void KXServices::openSocialPage(const std::string& pageId, const std::string& url) {
    kxTrace("services", "services open page=%s url=%s", pageId.c_str(), url.c_str());
}

void KXServices::openFacebookPage(const std::string& url, const std::string& pageId) {
    openSocialPage(pageId, url);
}

void KXServices::showGameServices() {
    kxTrace("services", "services show game services");
}

void KXServices::requestReview() {
    kxTrace("services", "services request review");
}
