#pragma once

// One laid level section whose objects are still being made, a few per frame: where it lies, the
// next of its models to make and the objects made so far.

#include "cocos2d.h"

#include <cstdint>
#include <memory>

class KXModelLevelSection;

struct KXPCreationQueueEntry {
    // Gameplay direction times the distance the section was laid at.
    cocos2d::CCPoint origin;
    int32_t nextObjectIndex = 0;
    std::shared_ptr<KXModelLevelSection> section;
    // Retained by the entry; the scene releases it when the entry goes.
    cocos2d::CCArray* objects = nullptr;
};
