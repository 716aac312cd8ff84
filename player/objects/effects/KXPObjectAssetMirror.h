#pragma once

// A water surface that shows the scene above it upside down. The game field draws itself once
// more for each mirror between beginCapture and endCapture, into the mirror's render texture, seen
// through the mirror's transform so that the band right above the mirror fills the texture; the
// mirror then draws that texture flipped at its own position and rotation, through the game's
// reflection shader ("data/shaders/WaterReflection.fsh", tinted by the model's colour through
// "u_shadeColor"). The first capture prepares texture and shader. No body, no update.
//
// On a field the texture comes out of the field's mirror budget (KXPMirrorBudget), asked the frame
// the mirror first comes near the screen: when the field's mirrors hold too much, the band is
// captured at a fraction of its size and drawn scaled back up, or not at all; and a mirror that
// finds the frame's captures taken shows no reflection in that frame. Each says so once.

#include "player/base/KXPCaptureTarget.h"
#include "player/objects/assets/KXPObjectAsset.h"

#include "cocos2d.h"

#include "player/base/KXPMirrorBudget.h"

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
    // The node as usual, then (shown, with a texture, capturing in the frame) the reflection
    // flipped at the node, scaled back up from a reduced texture.
    void visit() override;
    // Near the screen, prepared within the budget and given one of the frame's captures.
    bool capturesInFrame(const std::shared_ptr<KXPMirrorBudget>& budget,
                         const cocos2d::CCRect& near) override;
    // Prepares on first use, hides the mirror from its own reflection, starts the capture with a
    // clear and sets the capture transform.
    void beginCapture() override;
    // Ends the capture and gives the mirror back the visibility it had before it.
    void endCapture() override;

    // The texture size for a model scale: int(scale x 100) on each axis, within 1 .. 4096.
    static cocos2d::CCSize textureSizeFor(const cocos2d::CCPoint& scale);
    // The box the reflection is drawn in, in world space.
    cocos2d::CCRect reflectionBox();

    cocos2d::CCRenderTexture* renderTexture() const { return m_renderTexture; }
    bool isPrepared() const { return m_prepared; }
    // Whether the game's reflection shader compiled, linked and now draws the reflection.
    bool hasReflectionShader() const { return m_reflectionShader; }
    int shadeColorLocation() const { return m_shadeColorLocation; }
    // Texture pixels per point of the band, on each axis: 1 unless the budget reduced it.
    const cocos2d::CCPoint& captureScale() const { return m_captureScale; }
    // Whether the last frame asked drew the reflection.
    bool isReflecting() const { return m_reflecting; }

private:
    std::shared_ptr<KXModelObjectMirror> mirrorModel() const;
    // Without a budget the texture is made at its size.
    void prepare(const std::shared_ptr<KXPMirrorBudget>& budget);
    // The size the budget gives, saying so when it is not the wanted one.
    KXPMirrorBudget::Size takeFromBudget(KXPMirrorBudget& budget, const KXPMirrorBudget::Size& wanted);
    void sayNoCapture(int captures);
    void loadReflectionShader();
    void applyCaptureTransform();

    cocos2d::CCRenderTexture* m_renderTexture = nullptr; // retained
    int m_shadeColorLocation = -1;
    bool m_prepared = false;
    bool m_reflectionShader = false;
    bool m_capturing = false;
    bool m_visibleBeforeCapture = true;
    cocos2d::CCPoint m_captureScale{1.0f, 1.0f};
    bool m_reflecting = true;
    bool m_saidNoCapture = false;
    // The budget the texture came from and its share, given back when the mirror goes.
    std::shared_ptr<KXPMirrorBudget> m_budget;
    KXPMirrorBudget::Size m_share;
};
