#pragma once

// The playable characters as the unlock screens see them: by their place in the list of
// character assets, with range checks (a stored index may be anything), their unlock paid with
// coins, and the grant that unlocks, selects and saves a character.

#include <memory>

class KXModelAssetCharacter;

class KXPCharacterUnlock {
public:
    // The character's "Purchase Method" values.
    static constexpr const char* kCoins = "kInGameCurrency";
    static constexpr const char* kStore = "kInAppPurchase";
    static constexpr const char* kRewardedVideo = "kRewardedVideos";
    static constexpr const char* kWebLink = "kWebLink";

    static int characterCount();
    // The character at that place in the list; empty outside the list.
    static std::shared_ptr<KXModelAssetCharacter> character(int index);
    // False outside the list.
    static bool isUnlocked(int index);
    // Pays the character's "Price" from the global coins; logs "not enought coins to unlock" and
    // changes nothing when the coins do not cover it.
    static bool payWithCoins(const KXModelAssetCharacter& character);
    // Unlocks the character, makes it the selected one and saves; nothing outside the list.
    static void grant(int index);
};
