// The named scalar attributes that models create: int, unsigned int, float, bool and key code.
#pragma once

#include "model/KXNumeric.h"
#include "model/attributes/KXBaseAttributeFundamental.h"

class KXAttributeInt : public KXBaseAttributeFundamental<int> {
    KX_TYPE_IDENTITY(KXAttributeInt)
    KX_ATTRIBUTE_CLONE(KXAttributeInt)

public:
    KXAttributeInt(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXBaseAttributeFundamental<int>(name, owner, flags) {}
    KXAttributeInt(const std::string& name, KXModel* owner, const KXAttributeInt& source)
        : KXBaseAttributeFundamental<int>(name, owner, source) {}
};

class KXAttributeUInt : public KXBaseAttributeFundamental<unsigned int> {
    KX_TYPE_IDENTITY(KXAttributeUInt)
    KX_ATTRIBUTE_CLONE(KXAttributeUInt)

public:
    KXAttributeUInt(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXBaseAttributeFundamental<unsigned int>(name, owner, flags) {}
    KXAttributeUInt(const std::string& name, KXModel* owner, const KXAttributeUInt& source)
        : KXBaseAttributeFundamental<unsigned int>(name, owner, source) {}
};

class KXAttributeFloat : public KXBaseAttributeFundamental<float> {
    KX_TYPE_IDENTITY(KXAttributeFloat)
    KX_ATTRIBUTE_CLONE(KXAttributeFloat)

public:
    KXAttributeFloat(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXBaseAttributeFundamental<float>(name, owner, flags) {}
    KXAttributeFloat(const std::string& name, KXModel* owner, const KXAttributeFloat& source)
        : KXBaseAttributeFundamental<float>(name, owner, source) {}

    // value + (r / 32767 * 2 - 1) * variableValue with a fresh 15-bit draw r; not clamped.
    float randomValue() const { return m_value + kx::randomSignedUnit() * m_variableValue; }
};

class KXAttributeBool : public KXBaseAttributeFundamental<bool> {
    KX_TYPE_IDENTITY(KXAttributeBool)
    KX_ATTRIBUTE_CLONE(KXAttributeBool)

public:
    KXAttributeBool(const std::string& name, KXModel* owner)
        : KXBaseAttributeFundamental<bool>(name, owner, 0u) {}
    KXAttributeBool(const std::string& name, KXModel* owner, const KXAttributeBool& source)
        : KXBaseAttributeFundamental<bool>(name, owner, source) {}
};

// A keyboard key code.
class KXAttributeKey : public KXAttributeInt {
    KX_TYPE_IDENTITY(KXAttributeKey)
    KX_ATTRIBUTE_CLONE(KXAttributeKey)

public:
    KXAttributeKey(const std::string& name, KXModel* owner) : KXAttributeInt(name, owner, 0u) {}
    KXAttributeKey(const std::string& name, KXModel* owner, const KXAttributeKey& source)
        : KXAttributeInt(name, owner, source) {}
};
