#pragma once

#include "model/classes/KXModelObjectManipulator.h"

#include <memory>
#include <string>

// A manipulator driven by the device's tilt: a control type and the axes it acts on.
class KXModelObjectAccelerometer : public KXModelObjectManipulator {
    KX_MODEL_IDENTITY(KXModelObjectAccelerometer, KXModelObjectManipulator)
    KX_MODEL_CREATE(KXModelObjectAccelerometer)
    KX_MODEL_CLONE(KXModelObjectAccelerometer)

public:
    static constexpr const char* kDefaultObjectName = "";

    explicit KXModelObjectAccelerometer(const std::string& name);
    KXModelObjectAccelerometer(const KXModelObjectAccelerometer& source);

    // Fixed, whatever sprite the object has.
    cocos2d::CCSize contentSize(float time) const override;

    // "kControlTypeMove" or another type.
    const std::string& controlType() const;
    // Holds "kActiveAxeX" and/or "kActiveAxeY".
    const std::string& activeAxes() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeStringList* controlTypeAttribute() const { return m_controlType; }
    KXAttributeStringList* activeAxesAttribute() const { return m_activeAxes; }

    static constexpr float kContentExtent = 60.0f;

private:
    KXAttributeStringList* m_controlType = nullptr;
    KXAttributeStringList* m_activeAxes = nullptr;
};
