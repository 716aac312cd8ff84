#pragma once

// A water surface that shows the scene above it upside down. The game field draws itself once
// more for each mirror between beginCapture and endCapture, into the mirror's render texture, seen
// through the mirror's transform so that the band right above the mirror fills the texture; the
// mirror then draws that texture flipped at its own position and rotation, through the game's
// reflection shader ("data/shaders/WaterReflection.fsh", tinted by the model's colour through
// "u_shadeColor"). The first capture prepares texture and shader. No body, no update.

#include "player/base/KXPCaptureTarget.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include "cocos2d.h"

#include <memory>

class KXModelObjectMirror;

class KXPObjectAssetMirror : public KXPObjectAsset, public KXPCaptureTarget {
public:
    // Texture pixels per unit of model scale.
    static constexpr float kTexturePixelsPerScale = 100.0f;
    // The longest texture side: the model's largest scale.
    static constexpr int kMaxTextureSide = 4096;

    explicit KXPObjectAssetMirror(const std::shared_ptr<KXModelObjectMirror>& model);
    ~KXPObjectAssetMirror() override;

    // A mirror has no per-frame logic.
    void update(float dt) override;
    // Leaving the tree for good (alone or with whatever carries it): the level it hung in takes
    // it off its mirror list, which holds a reference and so cannot wait for the destructor.
    void cleanup() override;
    // The node as usual, then (shown, with a texture) the reflection flipped at the node.
    void visit() override;
    // Prepares on first use, hides the mirror from its own reflection, starts the capture with a
    // clear and sets the capture transform.
    void beginCapture() override;
    // Ends the capture and gives the mirror back the visibility it had before it.
    void endCapture() override;

    // The texture size for a model scale: int(scale x 100) on each axis, within 1 .. 4096.
    static cocos2d::CCSize textureSizeFor(const cocos2d::CCPoint& scale);

    cocos2d::CCRenderTexture* renderTexture() const { return m_renderTexture; }
    bool isPrepared() const { return m_prepared; }
    // Whether the game's reflection shader compiled, linked and now draws the reflection.
    bool hasReflectionShader() const { return m_reflectionShader; }
    int shadeColorLocation() const { return m_shadeColorLocation; }

private:
    std::shared_ptr<KXModelObjectMirror> mirrorModel() const;
    void prepare();
    void loadReflectionShader();
    void applyCaptureTransform();

    cocos2d::CCRenderTexture* m_renderTexture = nullptr; // retained
    int m_shadeColorLocation = -1;
    bool m_prepared = false;
    bool m_reflectionShader = false;
    bool m_capturing = false;
    bool m_visibleBeforeCapture = true;
};
