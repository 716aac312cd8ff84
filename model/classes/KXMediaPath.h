#pragma once

// Media files are named after model ids: data directory + fixed part + id + extension.

#include "model/KXModelController.h"

#include <cstdint>
#include <sstream>
#include <string>

// The id is written as a signed 32-bit decimal, as the exporter names the files.
inline std::string kxMediaPath(const char* fixedPart, uint32_t id, const char* extension) {
    std::ostringstream path;
    path << KXModelController::shared()->dataDirectory() << fixedPart << static_cast<int32_t>(id)
         << extension;
    return path.str();
}
