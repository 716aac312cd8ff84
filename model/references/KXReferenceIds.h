#pragma once

// The "value" entry of the model-reference attributes' dictionary connection form.

#include <cstdint>

#include "model/KXMessagePackMap.h"

namespace cocos2d {
class CCObject;
class CCDictionary;
} // namespace cocos2d

class KXModel;

constexpr const char* kReferenceValueKey = "value";
// The same key in the stored connection form.
inline KXKeyName kReferenceValue{kReferenceValueKey};

// The unsigned id under "value"; false when the object is no dictionary or the text is
// missing or empty.
bool referenceIdFromDictionary(cocos2d::CCObject* object, uint32_t& id);

// Adds "value" ("%u" of the model's id) when a model is given; makes a dictionary when
// `dictionary` is null and there is something to add.
cocos2d::CCDictionary* addReferenceIdToDictionary(cocos2d::CCDictionary* dictionary, const KXModel* model);
