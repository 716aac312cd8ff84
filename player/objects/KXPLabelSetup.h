#pragma once

// How a label model becomes a bitmap-font label: which font, which anchor for its alignment,
// what letter spacing and what first text.

#include "cocos2d.h"

#include <cstdint>
#include <string>

class KXBaseModelObjectLabel;

class KXPLabelSetup {
public:
    static constexpr const char* kCustomText = "kCustomVector";
    static constexpr const char* kStartSceneName = "kStartSceneName";
    static constexpr const char* kScoreText = "kScoreVector";
    static constexpr const char* kLoadingCounter = "kLoadingCounter";

    // The alignment the label uses: a custom text is always centred.
    static std::string alignment(const KXBaseModelObjectLabel& model);
    // 0 left, 2 right, 1 centre (also for an empty or unknown alignment).
    static int textAlignment(const KXBaseModelObjectLabel& model);
    // The anchor point for an alignment: its left edge, centre or right edge, vertically centred.
    static cocos2d::CCPoint anchorFor(int textAlignment);
    // "Font" read as a decimal model id; 0 when it is not a number.
    static uint32_t fontId(const KXBaseModelObjectLabel& model);
    // The text the label starts with: the custom text, the name of the level section the running
    // level started from, or "0" (scores and the loading counter are written every frame).
    static std::string firstText(const KXBaseModelObjectLabel& model);

    // The label with one reference for the caller, or null (with one log line) when the font is
    // missing or cannot be loaded.
    static cocos2d::CCLabelBMFont* createLabel(const KXBaseModelObjectLabel& model);
};
