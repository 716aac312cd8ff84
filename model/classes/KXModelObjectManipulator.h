#pragma once

#include "model/classes/KXModelObject.h"

#include <memory>
#include <string>

class KXAttributeFloat;
class KXAttributeStringList;

// A control placed on a screen (the on-screen joystick is one), with a sensitivity and a
// control style.
class KXModelObjectManipulator : public KXModelObject {
    KX_MODEL_IDENTITY(KXModelObjectManipulator, KXModelObject)
    KX_MODEL_CREATE(KXModelObjectManipulator)
    KX_MODEL_CLONE(KXModelObjectManipulator)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectManipulator(const std::string& name);
    KXModelObjectManipulator(const KXModelObjectManipulator& source);

    float sensitivity() const;
    // "kControlStyleAbsolute"; any other text means the relative style.
    const std::string& controlStyle() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeFloat* sensitivityAttribute() const { return m_sensitivity; }
    KXAttributeStringList* controlStyleAttribute() const { return m_controlStyle; }

private:
    KXAttributeFloat* m_sensitivity = nullptr;
    KXAttributeStringList* m_controlStyle = nullptr;
};
