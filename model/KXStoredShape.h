// A stored value of the wrong kind, said in words: which entry, seen from its model, and what it
// should have been ("model 6 (KXModelScreen): the value of Name is not a string"). The loader
// names it in its reason for a file that does not read; a bare msgpack type error says nothing.
#pragma once

#include <cstdint>
#include <string>
#include <vector>

#include <msgpack.hpp>

#include "base/CCGeometry.h"
#include "base/ccTypes.h"

class KXStoredShapeError : public msgpack::type_error {
public:
    // `entry` may be empty when the holder is not known yet (a map read on its own).
    KXStoredShapeError(std::string entry, std::string expected);

    // The same error seen from the entry that holds this one.
    KXStoredShapeError within(const std::string& outer) const;
    // The same error seen from the file: `model` says which model ("model 6 (KXModelScreen)").
    KXStoredShapeError inModel(const std::string& model) const;

    // False for a map read on its own that was no map: what held it is not known.
    bool namesItsEntry() const { return !m_path.empty(); }
    const char* what() const noexcept override { return m_text.c_str(); }

private:
    void compose();

    // Innermost entry first.
    std::vector<std::string> m_path;
    std::string m_expected;
    std::string m_model;
    std::string m_text;
};

// What a value read as T must be, in words.
template <class T> struct KXStoredShape;

template <> struct KXStoredShape<bool> {
    static std::string text() { return "true or false"; }
};
template <> struct KXStoredShape<int32_t> {
    static std::string text() { return "a whole number from -2147483648 to 2147483647"; }
};
template <> struct KXStoredShape<uint32_t> {
    static std::string text() { return "a whole number from 0 to 4294967295"; }
};
template <> struct KXStoredShape<float> {
    static std::string text() { return "a number"; }
};
template <> struct KXStoredShape<std::string> {
    static std::string text() { return "a string"; }
};
template <> struct KXStoredShape<cocos2d::CCPoint> {
    static std::string text() { return "a point (2 numbers)"; }
};
template <> struct KXStoredShape<cocos2d::CCSize> {
    static std::string text() { return "a size (2 numbers)"; }
};
template <> struct KXStoredShape<cocos2d::CCRect> {
    static std::string text() { return "a rectangle (4 numbers)"; }
};
template <> struct KXStoredShape<cocos2d::ccColor4F> {
    static std::string text() { return "a colour (4 numbers)"; }
};
template <> struct KXStoredShape<msgpack::object> {
    static std::string text() { return "a value"; }
};
template <class T> struct KXStoredShape<std::vector<T>> {
    static std::string text() { return "an array, each element " + KXStoredShape<T>::text(); }
};
