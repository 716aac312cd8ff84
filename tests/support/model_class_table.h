#pragma once

#include <string>
#include <vector>

// Expected identity of every model class, written down independently of the class headers.
struct ModelClassRow {
    int position; // 1-based place in the registration order
    std::string className;
    std::string defaultObjectName; // empty for classes created without a name
    std::string parentKind;        // nearest class above it that has a type id
};

struct ModelKindRow {
    std::string className;
    std::string parentKind;
};

// Every registered class, in registration order.
const std::vector<ModelClassRow>& registeredModelClassTable();

// Classes with a type id that are never registered (KXModel itself excluded).
const std::vector<ModelKindRow>& unregisteredModelKindTable();
