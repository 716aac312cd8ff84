// libFuzzer target for the key file parser: any bytes, under a few User IDs, must parse (or be
// refused for a bound with std::runtime_error) without crashing, and give ids below the number of
// lines.
#include "model/archive/KXKeyFile.h"

#include <cstdlib>
#include <stdexcept>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    if (size > 1u << 20) {
        return 0;
    }
    // The first byte picks the User ID so that the mask varies too.
    static const char* const userIds[] = {"", "game-42", "U-7", "5B6D0E7A-1C2F-4D3E"};
    std::string userId = size > 0 ? userIds[data[0] % 4] : "";
    KXMessagePackMap::KeyTable table;
    try {
        table = parseKeyList(data, static_cast<std::uint32_t>(size), userId);
    } catch (const std::runtime_error&) {
        return 0;
    }
    for (const auto& entry : table) {
        if (entry.first.empty() || entry.second < 0 || static_cast<std::size_t>(entry.second) > size) {
            std::abort();
        }
    }
    return 0;
}
