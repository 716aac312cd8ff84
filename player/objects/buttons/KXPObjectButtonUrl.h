#pragma once

// A button that opens the model's "URL" (nothing on the desktop). Pressing it plays no release
// sound, never hides it and calls no screen handler.

#include "player/objects/buttons/KXPObjectButton.h"

class KXPObjectButtonUrl : public KXPObjectButton {
public:
    void activate() override;
};
