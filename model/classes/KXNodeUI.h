#pragma once

#include "model/classes/KXNode.h"

#include <memory>
#include <string>

// A UI screen's node in the screen graph.
class KXNodeUI : public KXNode {
    KX_MODEL_IDENTITY(KXNodeUI, KXNode)
    KX_MODEL_CREATE(KXNodeUI)
    KX_MODEL_CLONE(KXNodeUI)

public:
    static constexpr const char* kDefaultObjectName = "";

    // An empty name is replaced by defaultName().
    explicit KXNodeUI(const std::string& name);
    KXNodeUI(const KXNodeUI& source);

    // "New UI n" with the smallest n that no stored node of exactly this class is named.
    static std::string defaultName();
};
