// The ad controller: networks by name and role, what each network logs, rewarded videos and
// their callback, and the set-up at the end of loading.
#include <gtest/gtest.h>

#include <algorithm>
#include <memory>
#include <string>
#include <vector>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXModelController.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelAssetCharacter.h"
#include "model/classes/KXModelObjectButtonPurchase.h"
#include "model/classes/KXModelScreen.h"
#include "player/ads/KXAdAdMob.h"
#include "player/ads/KXAdAppLovin.h"
#include "player/ads/KXAdChartboost.h"
#include "player/ads/KXAdController.h"
#include "player/ads/KXAdCustom.h"
#include "player/ads/KXAdFacebook.h"
#include "player/ads/KXAdHeyzap.h"
#include "player/ads/KXAdInMobi.h"
#include "player/ads/KXAdLeadBolt.h"
#include "player/ads/KXAdRevMob.h"
#include "player/ads/KXAdVungle.h"
#include "player/store/KXPSettingsController.h"
#include "support/model_test_models.h"

using Lines = std::vector<std::string>;

namespace {

class VideoWatcher : public cocos2d::CCObject {
public:
    void watched() { ++calls; }
    int calls = 0;
};

class AdController : public ::testing::Test {
protected:
    void SetUp() override {
        resetModelCore();
        KXPSettingsController::purgeShared();
        KXAdController::purgeShared();
        // The networks live for the process: start each test from their first state.
        KXAdCustom::shared()->setEnabled(false);
        KXAdAdMob::shared()->setBannerVisible(false);
    }
    void TearDown() override {
        KXAdController::purgeShared();
        KXPSettingsController::purgeShared();
        resetModelCore();
        watcher->release();
    }

    static KXAdController* ads() { return KXAdController::shared(); }

    static std::shared_ptr<KXModelScreen> addScreen(const std::string& banner,
                                                    const std::string& interstitial) {
        auto screen = std::static_pointer_cast<KXModelScreen>(KXModelScreen::create());
        screen->adBannerAttribute()->setValue(banner, true);
        screen->adInterstitialAttribute()->setValue(interstitial, true);
        KXModelController::shared()->addModel(screen);
        return screen;
    }

    void watchVideos() { ads()->setRewardedVideoCallback(watcher, callfunc_selector(VideoWatcher::watched)); }

    KXDebugLogCapture log;
    VideoWatcher* watcher = new VideoWatcher();
};

TEST_F(AdController, NetworksAreFoundByExactNameAndRole) {
    EXPECT_EQ(ads()->bannerNetwork("kAdMob"), KXAdAdMob::shared());
    EXPECT_EQ(ads()->interstitialNetwork("kAdMob"), KXAdAdMob::shared());
    EXPECT_EQ(ads()->rewardedVideoNetwork("kAdMob"), nullptr);
    EXPECT_EQ(ads()->bannerNetwork("kChartboost"), nullptr);
    EXPECT_EQ(ads()->interstitialNetwork("kChartboost"), KXAdChartboost::shared());
    EXPECT_EQ(ads()->bannerNetwork("kVungle"), nullptr);
    EXPECT_EQ(ads()->interstitialNetwork("kVungle"), KXAdVungle::shared());
    EXPECT_EQ(ads()->rewardedVideoNetwork("kVungle"), nullptr);
    EXPECT_EQ(ads()->rewardedVideoNetwork("kHeyzap"), KXAdHeyzap::shared());
    EXPECT_EQ(ads()->rewardedVideoNetwork("kCustom"), KXAdCustom::shared());
    // The three silent networks: banners and interstitials that show nothing, no videos.
    for (KXAdObject* network :
         {static_cast<KXAdObject*>(KXAdInMobi::shared()), static_cast<KXAdObject*>(KXAdRevMob::shared()),
          static_cast<KXAdObject*>(KXAdAppLovin::shared())}) {
        const std::string name = network == KXAdInMobi::shared()   ? "kInMobi"
                                 : network == KXAdRevMob::shared() ? "kRevMob"
                                                                   : "kAppLovin";
        EXPECT_EQ(ads()->bannerNetwork(name), network) << name;
        EXPECT_EQ(ads()->interstitialNetwork(name), network) << name;
        EXPECT_EQ(ads()->rewardedVideoNetwork(name), nullptr) << name;
        log.clear();
        ads()->showBanner(name);
        ads()->showInterstitial(name);
        EXPECT_FALSE(ads()->isBannerShowing()) << name;
        EXPECT_TRUE(log.lines().empty()) << name;
    }
    for (const std::string& name :
         {std::string("kNoAds"), std::string(), std::string("kadmob"), std::string("kAdMob "),
          std::string("kAdMob\0", 7), std::string("kRewardedVideos")})
        EXPECT_EQ(ads()->bannerNetwork(name), nullptr) << name;
}

TEST_F(AdController, BannersShowAndHideThroughTheCurrentNetwork) {
    ads()->showBanner("kChartboost");
    EXPECT_EQ(ads()->currentBannerNetwork(), nullptr);
    ads()->showBanner("kAdMob");
    ads()->showBanner("kFacebook"); // the AdMob banner is not hidden
    ads()->showBanner("kAdMob");
    ads()->showBanner("kNoAds");
    EXPECT_EQ(ads()->currentBannerNetwork(), nullptr);
    ads()->hideBanner();
    EXPECT_FALSE(ads()->isBannerShowing());
    EXPECT_EQ(log.lines(),
              (Lines{"[KXAdAdMob] show banner", "[KXAdFacebook] show banner", "[KXAdAdMob] show banner",
                     "[KXAdAdMob] hide banner", "[KXAdController] hide banner"}));

    log.clear();
    ads()->showBanner("kFacebook");
    ads()->hideBanner();
    EXPECT_EQ(ads()->currentBannerNetwork(), KXAdFacebook::shared());
    EXPECT_FALSE(ads()->isBannerShowing());
    EXPECT_EQ(log.lines(), (Lines{"[KXAdFacebook] show banner", "[KXAdController] hide banner",
                                  "[KXAdFacebook] hide banner"}));
}

TEST_F(AdController, InterstitialsHideThePreviousOneFirst) {
    ads()->showInterstitial("kFacebook");
    ads()->showInterstitial("kFacebook");
    EXPECT_EQ(log.lines(), (Lines{"[KXAdFacebook] show interstitial", "[KXAdFacebook] show interstitial"}));

    KXAdLeadBolt::shared()->setInterstitialVisible(true);
    ads()->showInterstitial("kLeadBolt");
    ads()->hideInterstitial();
    EXPECT_FALSE(KXAdLeadBolt::shared()->interstitialVisible());
    EXPECT_EQ(ads()->currentInterstitialNetwork(), KXAdLeadBolt::shared());
    ads()->showInterstitial("kNoAds");
    EXPECT_EQ(ads()->currentInterstitialNetwork(), nullptr);
    ads()->hideInterstitial();
}

TEST_F(AdController, RewardedVideosByNetwork) {
    watchVideos();
    EXPECT_TRUE(KXAdVungle::shared()->isRewardedVideoAvailable());
    EXPECT_FALSE(ads()->isRewardedVideoAvailable("kVungle"));
    EXPECT_EQ(ads()->currentRewardedVideoNetwork(), nullptr);
    EXPECT_TRUE(ads()->isRewardedVideoAvailable("kCustom"));
    EXPECT_TRUE(ads()->isRewardedVideoAvailable("kHeyzap"));
    EXPECT_FALSE(ads()->isRewardedVideoAvailable("kAdMob"));

    // Heyzap: watched before the call returns, every time; the callback stays stored.
    ads()->showRewardedVideo("kHeyzap");
    EXPECT_EQ(watcher->calls, 1);
    ads()->showRewardedVideo("kHeyzap");
    EXPECT_EQ(watcher->calls, 2);
    // The game's own slot and the other networks never report a watched video.
    ads()->showRewardedVideo("kCustom");
    ads()->showRewardedVideo("kVungle");
    ads()->showRewardedVideo("kNoAds");
    EXPECT_EQ(watcher->calls, 2);

    ads()->setRewardedVideoCallback(watcher, nullptr);
    ads()->showRewardedVideo("kHeyzap");
    EXPECT_EQ(watcher->calls, 2);
}

TEST_F(AdController, AWatchedVideoRefreshesAVisibleBanner) {
    ads()->showBanner("kAdMob");
    ads()->rewardedVideoFinished();
    KXAdAdMob::shared()->setBannerVisible(true);
    log.clear();
    ads()->rewardedVideoFinished();
    EXPECT_EQ(log.lines(), (Lines{"[KXAdController] Updating current banner", "[KXAdAdMob] hide banner",
                                  "[KXAdAdMob] show banner"}));
}

TEST_F(AdController, ScreensShowTheirAdsByTheirOwnCountsAndSkipOneInterstitial) {
    auto menu = addScreen("kAdMob", "kFacebook");
    auto shop = addScreen("kNoAds", "kFacebook");
    menu->keyAttribute()->setValue("Menu", true);
    shop->keyAttribute()->setValue("Shop", true);
    menu->adBannerFrequencyAttribute()->setValue(0.0f, true);
    menu->adInterstitialsFrequencyAttribute()->setValue(3.0f, true);
    shop->adInterstitialsFrequencyAttribute()->setValue(3.9f, true); // used truncated
    bool skip = false;
    std::vector<int> menuShows;
    std::vector<int> shopShows;
    auto interstitialShown = [&] {
        bool shown = log.contains("[KXAdFacebook] show interstitial");
        log.clear();
        return shown;
    };
    for (int call = 1; call <= 7; ++call) {
        // The game went to the background before the menu's second showing.
        skip = call == 2;
        ads()->showScreenAds(*menu, skip);
        EXPECT_FALSE(skip);
        if (interstitialShown())
            menuShows.push_back(call);
        ads()->showScreenAds(*shop, skip);
        if (interstitialShown())
            shopShows.push_back(call);
    }
    EXPECT_EQ(menuShows, (std::vector<int>{4, 7}));
    EXPECT_EQ(shopShows, (std::vector<int>{3, 6}));
    EXPECT_EQ(ads()->currentBannerNetwork(), nullptr); // the shop's "kNoAds" banner hid the menu's

    log.clear();
    ads()->showScreenAds(*menu, skip);
    EXPECT_EQ(log.lines(),
              (Lines{"[Menu] banner: kAdMob interstitial: kFacebook", "[KXAdAdMob] show banner"}));
    KXPSettingsController::shared()->setRemoveAds(true);
    log.clear();
    ads()->showScreenAds(*menu, skip);
    EXPECT_TRUE(log.lines().empty());
}

TEST_F(AdController, CustomButtonsExistForEveryNameAndLogTheirPress) {
    EXPECT_TRUE(KXAdCustom::shared()->hasButton("Shop"));
    EXPECT_TRUE(KXAdCustom::shared()->hasButton(""));
    KXAdCustom::shared()->buttonActivated("Shop");
    EXPECT_EQ(log.lines(), (Lines{"Custom Button Activated: Shop"}));
}

TEST_F(AdController, InitWithoutScreensSetsUpOnlyHeyzap) {
    auto button =
        std::static_pointer_cast<KXModelObjectButtonPurchase>(KXModelObjectButtonPurchase::create());
    button->purchaseMethodAttribute()->setValue("kRewardedVideos", true);
    button->adNetworkAttribute()->setValue("kCustom", true);
    KXModelController::shared()->addModel(button);
    ads()->init();
    EXPECT_EQ(log.lines(), (Lines{"[KXAdController] init Ad Networks"}));
    EXPECT_EQ(ads()->currentRewardedVideoNetwork(), KXAdHeyzap::shared());
    EXPECT_FALSE(KXAdCustom::shared()->isEnabled());
}

TEST_F(AdController, InitWithAdsRemovedSetsUpOnlyHeyzap) {
    addScreen("kCustom", "kCustom");
    KXPSettingsController::shared()->setRemoveAds(true);
    ads()->init();
    EXPECT_FALSE(KXAdCustom::shared()->isEnabled());
}

// Which networks one screen sets up, by its banner and interstitial: some networks serve one
// role only, and AppLovin needs RevMob beside it.
TEST_F(AdController, EachScreenSetsUpTheNetworksItsAdsName) {
    const std::vector<std::pair<std::string, KXAdObject*>> networks = {
        {"AdMob", KXAdAdMob::shared()},       {"Chartboost", KXAdChartboost::shared()},
        {"RevMob", KXAdRevMob::shared()},     {"AppLovin", KXAdAppLovin::shared()},
        {"LeadBolt", KXAdLeadBolt::shared()}, {"InMobi", KXAdInMobi::shared()},
        {"Facebook", KXAdFacebook::shared()}, {"Vungle", KXAdVungle::shared()},
        {"Heyzap", KXAdHeyzap::shared()},     {"Custom", KXAdCustom::shared()},
    };
    struct Case {
        const char* banner;
        const char* interstitial;
        // Each set-up, a network as often as it is set up; Heyzap is always set up once.
        Lines setUps;
    };
    const std::vector<Case> cases = {
        {"kNoAds", "kAppLovin", {"AppLovin", "RevMob", "Heyzap"}},
        {"kAppLovin", "kNoAds", {"AppLovin", "RevMob", "Heyzap"}},
        {"kAppLovin", "kRevMob", {"RevMob", "RevMob", "AppLovin", "Heyzap"}},
        {"kChartboost", "kVungle", {"Vungle", "Heyzap"}},
        {"kVungle", "kChartboost", {"Chartboost", "Heyzap"}},
        {"kLeadBolt", "kNoAds", {"Heyzap"}},
        {"kNoAds", "kLeadBolt", {"LeadBolt", "Heyzap"}},
        {"kInMobi", "kAdMob", {"AdMob", "InMobi", "Heyzap"}},
        {"kFacebook", "kCustom", {"Facebook", "Custom", "Heyzap"}},
        {"kHeyzap", "kHeyzap", {"Heyzap"}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(std::string(c.banner) + " " + c.interstitial);
        resetModelCore();
        addScreen(c.banner, c.interstitial);
        for (const auto& network : networks)
            network.second->clearSetUps();
        ads()->init();
        for (const auto& network : networks) {
            const auto expected = std::count(c.setUps.begin(), c.setUps.end(), network.first);
            EXPECT_EQ(network.second->setUps(), expected) << network.first;
        }
    }
}

TEST_F(AdController, InitSetsUpTheNetworksThatScreensButtonsAndCharactersName) {
    addScreen("kNoAds", "kAppLovin");
    addScreen("kAdMob", "kCustom");
    ads()->init();
    EXPECT_TRUE(KXAdCustom::shared()->isEnabled());

    // A character paid by a video through the game's own slot also needs it.
    KXAdCustom::shared()->setEnabled(false);
    resetModelCore();
    addScreen("kNoAds", "kNoAds");
    auto character = std::static_pointer_cast<KXModelAssetCharacter>(KXModelAssetCharacter::create());
    character->purchaseMethodAttribute()->setValue("kRewardedVideos", true);
    character->adNetworkAttribute()->setValue("kCustom", true);
    KXModelController::shared()->addModel(character);
    ads()->init();
    EXPECT_TRUE(KXAdCustom::shared()->isEnabled());
}

} // namespace
