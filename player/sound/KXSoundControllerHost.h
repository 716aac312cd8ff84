#pragma once

// What a sound controller needs of the screen it serves. The screen implements it, so that the
// sound controller knows buttons only as menu items and never the screen or button classes.

#include <string>
#include <vector>

#include "cocos2d.h"

class KXSoundControllerHost {
public:
    virtual ~KXSoundControllerHost() = default;

    // The screen's buttons whose model "Action" is the given text, in child order.
    virtual std::vector<cocos2d::CCMenuItem*> menuItemsWithAction(const std::string& action) = 0;
    // The background-music engine's stop, keeping the track.
    virtual void stopBackgroundMusic() = 0;
    // Plays the music that belongs to the screen, when it has some.
    virtual void playScreenMusic() = 0;
};
