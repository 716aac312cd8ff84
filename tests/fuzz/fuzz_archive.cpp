// libFuzzer target for the archive reader: any bytes as "data.pkg" must either fail to open or
// walk and read with every failure reported as an exception, never a crash. Entries are read
// without a password and with the game's, which the encrypted seeds (games written by kxdata) use.
#include "model/KXSecrets.h"
#include "model/archive/KXArchiveReader.h"

#include <cstdio>
#include <cstdlib>
#include <stdexcept>
#include <string>
#include <unistd.h>

namespace {
constexpr int kMaxReads = 12;
} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    static const std::string path = "/tmp/kx_fuzz_archive_" + std::to_string(getpid()) + ".zip";
    if (size > 1u << 20) {
        return 0;
    }
    FILE* file = std::fopen(path.c_str(), "wb");
    if (file == nullptr) {
        return 0;
    }
    std::fwrite(data, 1, size, file);
    std::fclose(file);
    // The reader keeps the file open, so it can go as soon as the reader is done with it.
    struct RemoveWhenDone {
        const std::string& path;
        ~RemoveWhenDone() { std::remove(path.c_str()); }
    } removeWhenDone{path};
    try {
        KXArchiveReader reader(path);
        static const std::string gamePassword = decodePassword(kStoredArchivePassword);
        for (const std::string& password : {std::string(), gamePassword}) {
            try {
                // A few reads per input: each AES entry costs a key derivation (a millisecond), and
                // a whole game's archive would leave little time for other inputs.
                int reads = 0;
                for (std::string name = reader.firstEntryName(); !name.empty() && reads < kMaxReads;
                     name = reader.nextEntryName(), ++reads) {
                    unsigned char* buffer = nullptr;
                    std::uint32_t length = 0;
                    try {
                        if (reader.readFile(name, buffer, length, password)) {
                            std::free(buffer);
                        }
                    } catch (const std::runtime_error&) {
                        // a bad entry is reported; the walk goes on to the next
                    }
                }
            } catch (const std::runtime_error&) {
                // reported failures are the expected outcome of bad input
            }
        }
    } catch (const std::runtime_error&) {
    }
    return 0;
}
