#pragma once

#include <string>

#include "player/ads/KXAdObject.h"

// "kCustom": the game's own ad slot. It answers that a rewarded video is available but has no
// video to show, so a video through it never finishes. Buttons with the action "kCustom" exist
// for every name and only log their press.
class KXAdCustom : public KXAdObject {
public:
    // The process-wide instance, made on first use.
    static KXAdCustom* shared();

    bool isRewardedVideoAvailable() override { return true; }

    bool isEnabled() const { return m_enabled; }
    void setEnabled(bool enabled) { m_enabled = enabled; }

    // Whether a "kCustom" button of that name is shown: always, here.
    bool hasButton(const std::string& name) const;
    void buttonActivated(const std::string& name);

protected:
    void didSetUp() override { m_enabled = true; }

private:
    bool m_enabled = false;
};
