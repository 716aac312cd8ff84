#pragma once

// Media files are named after model ids: data directory + fixed part + id + extension.

#include "model/KXModelController.h"

#include <cstdint>
#include <sstream>
#include <string>

// How the id is written: the exporter names sprite, sound and atlas files after the id read as a
// signed 32-bit number, font files after the id as it is.
enum class KXMediaIdForm { Signed, Unsigned };

inline std::string kxMediaPath(const char* fixedPart, uint32_t id, const char* extension,
                               KXMediaIdForm form = KXMediaIdForm::Signed) {
    std::ostringstream path;
    path << KXModelController::shared()->dataDirectory() << fixedPart;
    if (form == KXMediaIdForm::Signed) {
        path << static_cast<int32_t>(id);
    } else {
        path << id;
    }
    path << extension;
    return path.str();
}
