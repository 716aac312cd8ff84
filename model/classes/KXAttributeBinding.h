#pragma once

// Small helpers shared by the model classes that keep typed pointers to their own attributes:
// taking an attribute back from a copied list, reading values through pointers that may be
// empty, and the number read from the start of an option text.

#include "model/KXBaseAttribute.h"
#include "model/KXModel.h"

#include <climits>
#include <cstddef>
#include <cstdint>
#include <memory>
#include <sstream>
#include <string>
#include <type_traits>

// The model's attribute of that name when its class is exactly A, else null. For looking at
// attributes that may be absent: another model's, or one that a subclass renames.
template <class A> A* attributeOfClass(const KXModel& model, const char* name) {
    KXBaseAttribute* found = model.attribute(name);
    if (found == nullptr || found->typeId() != A::staticType()) {
        return nullptr;
    }
    return static_cast<A*>(found);
}

// How often a copy found no attribute under a member's name. A copy of a complete model never
// misses, so a suite that copies every class watches it for a member bound under a wrong name.
inline size_t& kxMissedBindings() {
    static size_t count = 0;
    return count;
}

// A copy's attribute for its member, taken back from the list copied from the source: null when
// the source lacked it (counted, see above) or held it under another class, and the getters then
// read zero. The source may be any model, so this never stops the program.
template <class A> A* boundAttribute(const KXModel& model, const char* name) {
    if (model.attribute(name) == nullptr) {
        ++kxMissedBindings();
        return nullptr;
    }
    return attributeOfClass<A>(model, name);
}

// The attribute's value, or a zero value when the member is empty.
template <class A>
auto attributeValue(const A* attribute) -> typename std::decay<decltype(attribute->value())>::type {
    using Value = typename std::decay<decltype(attribute->value())>::type;
    return attribute != nullptr ? attribute->value() : Value();
}

// The variable part (spread) of a scalar or point attribute, zero when the member is empty.
template <class A>
auto attributeVariance(const A* attribute) ->
    typename std::decay<decltype(attribute->variableValue())>::type {
    using Value = typename std::decay<decltype(attribute->variableValue())>::type;
    return attribute != nullptr ? attribute->variableValue() : Value();
}

// A text attribute's value by reference; the empty text when the member is empty.
template <class A> const std::string& attributeText(const A* attribute) {
    static const std::string empty;
    return attribute != nullptr ? attribute->value() : empty;
}

// The whole number at the start of a text as a stream extraction reads it: leading blanks
// skipped, digits up to the first other character, 0 when there is no number. In 64 bits, so that
// every model id (up to 4294967295) reads as written.
inline long long leadingInteger(const std::string& text) {
    std::istringstream stream(text);
    long long value = 0;
    stream >> value;
    return stream.fail() && value != LLONG_MAX && value != LLONG_MIN ? 0 : value;
}

// The model id at the start of a text that names a model by its id: a negative number gives the
// id its 32 bits make, as an int held it; 0 (no model) when there is no number or it does not fit
// in 32 bits.
inline uint32_t leadingId(const std::string& text) {
    const long long value = leadingInteger(text);
    return value < INT32_MIN || value > UINT32_MAX ? 0 : static_cast<uint32_t>(value);
}
