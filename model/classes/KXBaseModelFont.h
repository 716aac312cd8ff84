#pragma once

#include "model/KXModel.h"

#include <string>

namespace cocos2d {
class CCLabelBMFont;
} // namespace cocos2d

// One bitmap font of the game, found by the model's id; no stored attribute of its own.
class KXBaseModelFont : public KXModel {
public:
    explicit KXBaseModelFont(const std::string& name);
    KXBaseModelFont(const KXBaseModelFont& source);

    // data directory + "/fonts/KXModelFont_ID<id>.fnt"
    virtual std::string fontFile() const;
    // A label showing "0" in this font, left aligned, anchored at (0, 0.5), with one
    // reference held by the caller (not autoreleased); null when the font cannot be loaded.
    cocos2d::CCLabelBMFont* createLabel() const;
};
