#pragma once

// The three pictures of a button (normal, pressed, disabled), made from the button model's
// sprites. Each holds one reference until the button has taken it.

#include "cocos2d.h"

#include <memory>

class KXModelSpriteContainer;

struct KXPButtonImages {
    cocos2d::CCSprite* normal = nullptr;
    cocos2d::CCSprite* selected = nullptr;
    cocos2d::CCSprite* disabled = nullptr;

    KXPButtonImages() = default;
    ~KXPButtonImages();
    KXPButtonImages(const KXPButtonImages&) = delete;
    KXPButtonImages& operator=(const KXPButtonImages&) = delete;

    // Every button's pictures: the image; the selected image (shown briefly) or else a darker
    // copy of the image; a darker copy again when disabled. Without a usable image, a clear
    // placeholder and nothing else.
    void makeStandard(const std::shared_ptr<KXModelSpriteContainer>& image,
                      const std::shared_ptr<KXModelSpriteContainer>& imageSelected);
    // Two plain pictures (either may be missing); a clear placeholder when the first is.
    void makePlain(const std::shared_ptr<KXModelSpriteContainer>& image,
                   const std::shared_ptr<KXModelSpriteContainer>& imageSelected);
    // The placeholder, when there is no normal picture.
    void ensureNormal();
};
