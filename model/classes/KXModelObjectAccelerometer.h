#pragma once

#include "model/classes/KXModelObjectManipulator.h"

#include <memory>
#include <string>

// A manipulator driven by the device's tilt: a control type and the axes it acts on.
class KXModelObjectAccelerometer : public KXModelObjectManipulator {
    KX_MODEL_IDENTITY(KXModelObjectAccelerometer, KXModelObjectManipulator)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectAccelerometer& source);

    explicit KXModelObjectAccelerometer(const std::string& name);
    KXModelObjectAccelerometer(const KXModelObjectAccelerometer& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

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
