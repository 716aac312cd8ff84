#include "player/objects/buttons/KXPButtonImages.h"

#include "model/classes/KXModelSpriteContainer.h"
#include "player/base/KXPColorSprite.h"
#include "player/objects/buttons/KXPObjectButton.h"

using namespace cocos2d;

namespace {

CCSprite* tinted(CCSprite* sprite, GLubyte tint) {
    if (sprite != nullptr) {
        sprite->setColor(ccc3(tint, tint, tint));
    }
    return sprite;
}

// The container logs why it could not make a sprite.
CCSprite* spriteOf(const std::shared_ptr<KXModelSpriteContainer>& container, float speed) {
    return container ? container->getSprite(speed, true) : nullptr;
}

} // namespace

KXPButtonImages::~KXPButtonImages() {
    CC_SAFE_RELEASE(normal);
    CC_SAFE_RELEASE(selected);
    CC_SAFE_RELEASE(disabled);
}

void KXPButtonImages::ensureNormal() {
    if (normal == nullptr) {
        normal = createColorSprite(
            CCSize(KXPObjectButton::kPlaceholderSide, KXPObjectButton::kPlaceholderSide), ccc4(0, 0, 0, 0));
        normal->retain();
    }
}

void KXPButtonImages::makeStandard(const std::shared_ptr<KXModelSpriteContainer>& image,
                                   const std::shared_ptr<KXModelSpriteContainer>& imageSelected) {
    normal = spriteOf(image, 1.0f);
    if (normal == nullptr) {
        ensureNormal();
        return;
    }
    selected = spriteOf(imageSelected, 0.2f);
    if (selected == nullptr) {
        selected = tinted(spriteOf(image, 1.0f), KXPObjectButton::kSelectedTint);
    }
    disabled = tinted(spriteOf(image, 1.0f), KXPObjectButton::kDisabledTint);
}

void KXPButtonImages::makePlain(const std::shared_ptr<KXModelSpriteContainer>& image,
                                const std::shared_ptr<KXModelSpriteContainer>& imageSelected) {
    normal = spriteOf(image, 1.0f);
    if (normal == nullptr) {
        ensureNormal();
        return;
    }
    selected = spriteOf(imageSelected, 1.0f);
}
