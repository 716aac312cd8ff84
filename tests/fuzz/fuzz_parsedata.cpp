// parseData on arbitrary bytes, as attributes and as connections: exceptions are the loader's
// way of reporting bad data, anything else (a crash, a leak of control, a huge allocation) is a
// fault.
#include <cstddef>
#include <cstdint>
#include <exception>

#include "model/KXMessagePackMap.h"
#include "model/KXModelController.h"

namespace {

// A key table with the names that stored models use most, so that the fuzzer reaches the
// models' own readers and not only the map layer.
void installKeys() {
    KXMessagePackMap::KeyTable table;
    const char* const names[] = {"Name",          "value",       "variableValue", "isEmpty",
                                 "animations",    "enum",        "children",      "connectedModelId",
                                 "attributeName", "User ID",     "Last ID",       "platformSpecificValues",
                                 "Icon",          "Orientation", "Design Size"};
    KXMessagePackMap::KeyId id = 0;
    for (const char* name : names) {
        table.emplace(name, id++);
    }
    table.emplace("id", 42);
    table.emplace("Class Name", 33);
    KXMessagePackMap::installKeyTable(table);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    static const bool ready = [] {
        installKeys();
        return true;
    }();
    (void)ready;
    if (size == 0) {
        return 0;
    }
    KXModelController* store = KXModelController::shared();
    // The first byte decides whether the same bytes are then read as connections of the models
    // just made, so that one corpus covers both readers.
    const bool alsoConnections = (data[0] & 1) != 0;
    try {
        store->parseData(data + 1, size - 1, 0);
        if (alsoConnections) {
            store->parseData(data + 1, size - 1, 1);
        }
    } catch (const std::exception&) {
    }
    store->clear();
    return 0;
}
