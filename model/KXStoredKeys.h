// Key names that stored models and attributes read in every model, with their ids cached per key
// table (see KXKeyName).
#pragma once

#include "model/KXMessagePackMap.h"

namespace kxkey {

inline KXKeyName id{"id"};
inline KXKeyName className{"Class Name"};
inline KXKeyName children{"children"};
inline KXKeyName value{"value"};
inline KXKeyName variableValue{"variableValue"};
inline KXKeyName isEmpty{"isEmpty"};
inline KXKeyName isXEmpty{"isXEmpty"};
inline KXKeyName isYEmpty{"isYEmpty"};
inline KXKeyName animations{"animations"};
inline KXKeyName animationsX{"animationsX"};
inline KXKeyName animationsY{"animationsY"};
inline KXKeyName enumValue{"enum"};
inline KXKeyName connectedModelId{"connectedModelId"};
inline KXKeyName attributeName{"attributeName"};

} // namespace kxkey
