#pragma once

#include "model/classes/KXBaseNode.h"

#include <memory>
#include <string>

// The first concrete node class; never created by the registry, only as a base and by clone.
class KXNode : public KXBaseNode {
    KX_MODEL_IDENTITY(KXNode, KXBaseNode)
    KX_MODEL_CLONE(KXNode)

public:
    explicit KXNode(const std::string& name);
    KXNode(const KXNode& source);
};
