#pragma once

// The jump and move components always have a shape: a fresh component references an empty
// polygon of its own, which a shape read from the connections replaces.

#include "model/KXModelController.h"
#include "model/classes/KXModelPolygon.h"
#include "model/references/KXAttributeShape.h"

#include <memory>

inline void setPlaceholderShape(KXAttributeShape& shape) {
    shape.setValue(std::static_pointer_cast<KXModelPolygon>(KXModelPolygon::create()), true);
}

// Runs `readConnections` and, when the shape then references another polygon, drops the
// earlier one from the store so that a replaced placeholder is not left behind.
template <class Read> void readConnectionsReplacingShape(KXAttributeShape* shape, Read readConnections) {
    std::shared_ptr<KXModelPolygon> before = shape != nullptr ? shape->value() : nullptr;
    readConnections();
    if (shape == nullptr || !before || shape->value() == before) {
        return;
    }
    KXModelController::shared()->removeModel(before);
}
