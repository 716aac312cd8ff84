// kxdata write-demo --scenario hostile DIR: the demo damaged with every edge a player must survive
// (zero and negative scales, NaN and huge numbers, unknown kind texts and numbers, dangling references,
// related classes where one exact class is expected, missing media files).
#pragma once

#include <string>

#include "tools/kxdata/KXGameWriter.h"

namespace kxdata {
namespace hostile {

// Damages the demo's models in place; `models` loses some shapes, animations, sounds and the font,
// so the references to them point at nothing. Returns how many values were damaged.
size_t damageModels(ModelList& models);
// Writes the damaged demo into DIR (as write-demo does), then deletes some media files. Returns
// the number of files that could not be made.
size_t writeHostileDemo(const std::string& dir);

} // namespace hostile
} // namespace kxdata
