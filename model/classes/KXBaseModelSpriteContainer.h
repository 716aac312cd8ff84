#pragma once

#include "model/KXModel.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXChildSubset.h"

#include "base/CCGeometry.h"

#include <memory>
#include <string>

namespace cocos2d {
class CCSprite;
class CCSpriteFrame;
class CCTexture2D;
} // namespace cocos2d

// A still image (one sprite child) or a flip-book animation (several), played at
// "Animation Speed" times 30 frames a second.
class KXBaseModelSpriteContainer : public KXModel {
public:
    // Tag of the animation action that getSprite runs on its sprite.
    static constexpr int kAnimationActionTag = 76;
    static constexpr float kFramesPerSecond = 30.0f;

    explicit KXBaseModelSpriteContainer(const std::string& name);
    // Attributes and offset copied; the sprite list fills as the copy's children are added.
    KXBaseModelSpriteContainer(const KXBaseModelSpriteContainer& source);

    // Keep the sprite list (children that are exactly KXModelSprite) in step.
    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    // A sprite showing the first frame, retained once for the caller (release it), or null.
    // With several frames it runs the animation (tag 76), forever when loop is true, else once.
    // A speed factor or "Animation Speed" that is not a positive finite number shows the
    // first frame without an animation.
    cocos2d::CCSprite* getSprite(float speedFactor, bool loop) const;
    // The frame of the sprite at index modulo the sprite count, or null.
    cocos2d::CCSpriteFrame* getSpriteFrame(unsigned int index) const;
    // The texture of the sprite at that index, or null when the index is past the end.
    cocos2d::CCTexture2D* textureAt(unsigned int index) const;
    // "Size" / "SourceSize" of the sprite shown at that time ((0, 0) without sprites).
    // Negative or non-finite times count as 0; so does every time when the speed is not a
    // positive finite number (the first picture stays, as in getSprite).
    cocos2d::CCSize frameSizeAt(float time) const;
    cocos2d::CCSize frameSourceSizeAt(float time) const;
    // Index of the sprite shown at that time; 0 without sprites.
    unsigned int frameIndexAt(float time) const;

    const KXChildSubset::List& sprites() const { return m_sprites.models(); }
    float animationSpeed() const;

    // Offset of the picture from the asset's origin (collision boxes are placed by it).
    const cocos2d::CCPoint& offset() const { return m_offset; }
    void setOffset(const cocos2d::CCPoint& offset) { m_offset = offset; }

    KXAttributeFloat* animationSpeedAttribute() const { return m_animationSpeed; }
    KXAttributeFloat* durationAttribute() const { return m_duration; }
    KXAttributeBool* excludedFromAtlasAttribute() const { return m_excludedFromAtlas; }

private:
    void bindAttributes();

    KXAttributeFloat* m_animationSpeed = nullptr;
    KXAttributeFloat* m_duration = nullptr;
    KXAttributeBool* m_excludedFromAtlas = nullptr;
    KXChildSubset m_sprites;
    cocos2d::CCPoint m_offset;
};
