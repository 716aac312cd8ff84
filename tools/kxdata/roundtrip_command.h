// kxdata roundtrip DIR: loads a game, packs every model back into a scratch folder with a freshly
// collected key table, reloads that and compares model by model; then saves every model to its
// dictionary forms, loads them into a fresh model of the same class and compares again.
#pragma once

#include <string>

namespace kxdata {

// 0 when every comparison is equal; 1 at the first difference (printed; with `every`, each
// model's first difference); 2 when a load fails.
int roundtripCommand(const std::string& dir, bool every = false);

} // namespace kxdata
