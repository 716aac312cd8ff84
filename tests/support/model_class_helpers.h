// The names of a model's attributes in list order: the stored order that the class suites
// compare against.
#pragma once

#include <string>
#include <vector>

#include "model/KXBaseAttribute.h"
#include "model/KXModel.h"

inline std::vector<std::string> attributeNames(const KXModel& model) {
    std::vector<std::string> names;
    for (const KXBaseAttribute* attribute : model.attributes()) {
        names.push_back(attribute->name());
    }
    return names;
}
