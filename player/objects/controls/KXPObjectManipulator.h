#pragma once

// The base of the continuous controls (the on-screen joystick and the tilt): a node with the
// control's model and its style. Controls move nothing themselves; they turn touches or tilt into
// calls on the input controller, which passes them to the characters.

#include "cocos2d.h"

#include <memory>

class KXModelObjectManipulator;

class KXPObjectManipulator : public cocos2d::CCNode {
public:
    // The "Control Style" that makes a control absolute; any other text is the offset style.
    static constexpr const char* kControlStyleAbsolute = "kControlStyleAbsolute";

    KXPObjectManipulator();
    ~KXPObjectManipulator() override;

    // Keeps the model; a model (not an empty one) also sets the style.
    virtual void setModel(const std::shared_ptr<KXModelObjectManipulator>& model);
    // The model's "Sensitivity"; 0 without a model.
    virtual float sensitivity();

    bool isAbsolute() const { return m_absolute; }
    std::shared_ptr<KXModelObjectManipulator> getModel() const { return m_model; }

protected:
    std::shared_ptr<KXModelObjectManipulator> m_model;
    bool m_absolute = false;
};
