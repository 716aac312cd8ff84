#pragma once

#include "model/classes/KXModelPolygon.h"
#include "model/references/KXBaseAttributeModel.h"

#include <string>

// Refers to a collision polygon. A copied shape owns its own polygon: the copy constructor
// replaces the shared polygon by a deep clone of it.
class KXBaseAttributeShape : public KXBaseAttributeModel<KXModelPolygon> {
public:
    KXBaseAttributeShape(const std::string& name, KXModel* owner, uint32_t flags = 0);
    KXBaseAttributeShape(const std::string& name, KXModel* owner, const KXBaseAttributeShape& source);
};
