#pragma once

// A button that opens the game's page on a social network ("URL" and "Facebook ID"; nothing on
// the desktop). Pressing it plays no release sound, never hides it and calls no screen handler.

#include "player/objects/buttons/KXPObjectButton.h"

class KXPObjectButtonFacebook : public KXPObjectButton {
public:
    void activate() override;
};
