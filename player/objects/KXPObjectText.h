#pragma once

// The on-screen text of a screen or level: one bitmap-font label built from a label model. It
// shows a fixed text, the name of the level section the running level started from, a live
// score or the loading progress, follows the model's keyframed pose and can fade itself out.

#include "player/objects/KXPObject.h"

#include <memory>

class KXBaseModelObjectLabel;

class KXPObjectText : public KXPObject {
public:
    // The label is the child with this tag; it carries the pose, not the text object.
    static constexpr int kLabelTag = 123;
    static constexpr float kAutohideFadeSeconds = 2.0f;

    // Null for an empty model; else autoreleased.
    static KXPObjectText* create(const std::shared_ptr<KXBaseModelObjectLabel>& model);

    // Without a usable font the object stays empty (one log line says why).
    explicit KXPObjectText(const std::shared_ptr<KXBaseModelObjectLabel>& model);

    // Clock, autohide, then the label's pose, opacity and text.
    void update(float dt) override;
    // The clock starts again; a started fade stays.
    void restoreInitialState() override;
    virtual void setAnimationKey(int key);

    // The label, or null when the font could not make one.
    cocos2d::CCLabelBMFont* label() const;
    std::shared_ptr<KXBaseModelObjectLabel> labelModel() const { return m_labelModel; }
    float clock() const { return m_clock; }
    bool isFaded() const { return m_faded; }
    int animationKey() const { return m_animationKey; }

private:
    // The text the model's action asks for this frame; empty when the text stays as it is.
    std::string currentText() const;

    std::shared_ptr<KXBaseModelObjectLabel> m_labelModel;
    float m_clock = 0.0f;
    bool m_faded = false;
    int m_animationKey = 0;
};
