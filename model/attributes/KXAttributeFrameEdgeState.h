// What a frame edge of the screen does to objects that reach it.
#pragma once

#include <cstdint>

#include "model/attributes/KXBaseAttributeEnum.h"

enum KXObjectFrameEdgeState : int32_t {
    KXObjectFrameEdgeFollow = 0,
    KXObjectFrameEdgePushBack = 1,
    KXObjectFrameEdgeKill = 2,
};

class KXAttributeFrameEdgeState : public KXBaseAttributeEnum<KXObjectFrameEdgeState> {
    KX_TYPE_IDENTITY(KXAttributeFrameEdgeState)
    KX_ATTRIBUTE_CLONE(KXAttributeFrameEdgeState)

public:
    KXAttributeFrameEdgeState(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXBaseAttributeEnum<KXObjectFrameEdgeState>(name, owner, flags) {}
    KXAttributeFrameEdgeState(const std::string& name, KXModel* owner,
                              const KXAttributeFrameEdgeState& source)
        : KXBaseAttributeEnum<KXObjectFrameEdgeState>(name, owner, source) {}
};
