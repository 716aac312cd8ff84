// A small but complete game built in memory from the model classes: one function per part of
// the game, so that a new class or medium joins the sample in one place.
#pragma once

#include <memory>
#include <string>

#include "tools/kxdata/KXGameWriter.h"

class KXModelGeneralSettings;

namespace kxdata {

// The User ID that scrambles the sample's key file.
constexpr const char* kSampleUserId = "sample-user-7f3a";

struct SampleGame {
    std::shared_ptr<KXModelGeneralSettings> settings;
    ModelList models;

    // A new model of a registered class, named and kept in `models`.
    std::shared_ptr<KXModel> make(const std::string& className, const std::string& name);
};

// Empties the model store (ids start again at 1) and builds the whole sample.
SampleGame buildSampleGame();

} // namespace kxdata
