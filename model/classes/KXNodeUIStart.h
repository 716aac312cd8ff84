#pragma once

#include "model/classes/KXNodeUI.h"

#include <memory>
#include <string>

// The node the game starts at. Its "Load" port links to the first screen's node; the inherited
// input port lives on, unlinked, as "---".
class KXNodeUIStart : public KXNodeUI {
    KX_MODEL_IDENTITY(KXNodeUIStart, KXNodeUI)
    KX_MODEL_CREATE(KXNodeUIStart)
    KX_MODEL_CLONE(KXNodeUIStart)

public:
    static constexpr const char* kDefaultObjectName = "";
    static constexpr const char* kRenamedLoadPort = "---";

    explicit KXNodeUIStart(const std::string& name);
    // The copied list already holds "---" and "Load" with their kinds.
    KXNodeUIStart(const KXNodeUIStart& source);
};
