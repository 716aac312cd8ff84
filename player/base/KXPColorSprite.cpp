#include "player/base/KXPColorSprite.h"

using namespace cocos2d;

CCSprite* createColorSprite(const CCSize& size, const ccColor4B& color) {
    CCSprite* sprite = CCSprite::create();
    const GLubyte pixel[4] = {color.r, color.g, color.b, color.a};
    CCTexture2D* texture = new CCTexture2D();
    if (texture->initWithData(pixel, kCCTexture2DPixelFormat_RGBA8888, 1, 1, size)) {
        sprite->setTexture(texture);
    }
    texture->release();
    sprite->setTextureRect(CCRect(0.0f, 0.0f, size.width, size.height));
    return sprite;
}
