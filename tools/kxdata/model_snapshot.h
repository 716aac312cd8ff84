// A model as its stored form sees it (class, name, attributes map, children, connections map),
// taken apart into plain values with key names, so that two models can be compared after the
// key table that wrote one of them is gone.
#pragma once

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class KXModel;

namespace kxdata {

struct StoredValue {
    enum class Kind { Nil, Bool, Integer, Number, Text, Array, Map, Other };
    Kind kind = Kind::Nil;
    bool flag = false;
    int64_t integer = 0;
    double number = 0.0;
    std::string text;
    // Array elements (empty keys) or map entries, in stored order.
    std::vector<std::pair<std::string, StoredValue>> entries;
};

struct ModelSnapshot {
    uint32_t id = 0;
    std::string className;
    std::string name;
    StoredValue values;
    std::vector<uint32_t> children;
    StoredValue connections;
};

ModelSnapshot snapshotModel(const KXModel& model);

// "" when equal, else where and how the first difference shows. Numbers may differ by
// `tolerance` (absolute, plus the same fraction of their size); integers and texts never.
std::string firstDifference(const ModelSnapshot& expected, const ModelSnapshot& actual, double tolerance);

// "12 KXModelObjectLabel \"Title\"".
std::string describeModel(const ModelSnapshot& snapshot);

} // namespace kxdata
