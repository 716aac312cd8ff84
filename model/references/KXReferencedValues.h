#pragma once

// Values of a referenced model that its referring attributes read or set by attribute name,
// so that they need nothing of the model class beyond its stored names.

#include <string>

class KXModel;

// The bool attribute's value, or `fallback` when the model has no bool attribute of that name.
bool modelBoolValue(const KXModel& model, const std::string& name, bool fallback);
// Through the bool attribute's setter (kept within its limits, owner told on change).
void setModelBoolValue(KXModel& model, const std::string& name, bool value);
// Through the float attribute's setter (kept within its limits, owner told on change).
void setModelFloatValue(KXModel& model, const std::string& name, float value);
