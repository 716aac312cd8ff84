// One line of JSON per model: id, class, name, its stored attributes map (every attribute's
// stored value, keys by name), children ids, and the links and references of its attributes.
#pragma once

#include <string>

class KXModel;

namespace kxdata {

std::string modelToJson(const KXModel& model);

} // namespace kxdata
