// Per-class type ids: a 32-bit FNV-1a hash of the class name, fixed at compile time.
// Ids are only compared in memory (kind tests, the store's per-class lists); stored
// formats carry class names. Hashing the name rather than the RTTI record lets any
// layer compare against a class it does not link against (for example the store
// against the general-settings class).
#pragma once

#include <cstdint>

constexpr uint32_t kxTypeIdForName(const char* name) {
    uint32_t hash = 2166136261u;
    for (; *name != '\0'; ++name) {
        hash ^= static_cast<unsigned char>(*name);
        hash *= 16777619u;
    }
    return hash;
}

// Class identity of an attribute or model class. Put it in the class body; it leaves the
// access at public. Declares:
//   static constexpr uint32_t staticType();          id of exactly this class
//   static constexpr const char* staticClassName();  the class name
//   uint32_t typeId() const override;                staticType() of the dynamic class
//   const char* className() const override;          the class name
#define KX_TYPE_IDENTITY(ClassName)                                                                          \
public:                                                                                                      \
    static constexpr uint32_t staticType() {                                                                 \
        return kxTypeIdForName(#ClassName);                                                                  \
    }                                                                                                        \
    static constexpr const char* staticClassName() {                                                         \
        return #ClassName;                                                                                   \
    }                                                                                                        \
    uint32_t typeId() const override {                                                                       \
        return staticType();                                                                                 \
    }                                                                                                        \
    const char* className() const override {                                                                 \
        return #ClassName;                                                                                   \
    }

// Identity of a model class: the above plus the kind test along the class tree.
// BaseClass is the direct base (a KXBase... layer is fine: its isKindOf is the one of
// the nearest model class above it).
#define KX_MODEL_IDENTITY(ClassName, BaseClass)                                                              \
    KX_TYPE_IDENTITY(ClassName)                                                                              \
    bool isKindOf(uint32_t kind) const override {                                                            \
        return kind == staticType() || BaseClass::isKindOf(kind);                                            \
    }
