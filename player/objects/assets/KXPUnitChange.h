#pragma once

// A one-shot change of one coordinate of a unit (x, y or rotation) that a logic object asks for
// from inside the physics step; the unit applies it in its next update and forgets it.

#include <string>

struct KXPUnitChange {
    static constexpr const char* kNone = "kNone";

    float value = 0.0f;
    std::string operation = kNone;

    bool isPending() const { return operation != kNone; }
    // "kAdd" adds the value, "kMultiply" multiplies by it, "kReplace" takes it; any other text
    // keeps the current value.
    float applyTo(float current) const {
        if (operation == "kAdd") {
            return value + current;
        }
        if (operation == "kMultiply") {
            return value * current;
        }
        if (operation == "kReplace") {
            return value;
        }
        return current;
    }
    void clear() {
        value = 0.0f;
        operation = kNone;
    }
};
