#include "support/archive_fixtures.h"

#include "model/archive/KXArchiveReader.h"

#include <cstdlib>
#include <fstream>
#include <random>
#include <sstream>
#include <stdexcept>
#include <unistd.h>

namespace kxtest {

ScratchDir::ScratchDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "kxtest-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a scratch directory");
    }
    path_ = pattern;
}

ScratchDir::~ScratchDir() {
    std::error_code ignored;
    std::filesystem::remove_all(path_, ignored);
}

void ScratchDir::write(const std::string& name, const std::string& bytes) const {
    std::filesystem::path target = path_ / name;
    std::filesystem::create_directories(target.parent_path());
    writeWholeFile(target.string(), bytes);
}

void ScratchDir::makeDir(const std::string& name) const {
    std::filesystem::create_directories(path_ / name);
}

bool ScratchDir::run(const std::string& command) const {
    std::string line = "cd '" + path_.string() + "' && " + command + " >/dev/null 2>&1";
    return std::system(line.c_str()) == 0;
}

std::string readWholeFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    std::ostringstream out;
    out << in.rdbuf();
    return out.str();
}

void writeWholeFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

std::string noiseBytes(std::size_t count, unsigned seed) {
    std::minstd_rand generator(seed);
    std::string bytes(count, '\0');
    for (char& c : bytes) {
        c = static_cast<char>(generator() & 0xff);
    }
    return bytes;
}

std::optional<std::string> readEntry(KXArchiveReader& reader, const std::string& name,
                                     const std::string& password) {
    unsigned char* buffer = reinterpret_cast<unsigned char*>(1); // must be reset by the reader
    std::uint32_t size = 12345;
    bool found = reader.readFile(name, buffer, size, password);
    if (!found) {
        if (buffer != nullptr || size != 0) {
            throw std::logic_error("readFile left output set for a missing entry");
        }
        return std::nullopt;
    }
    std::string content(reinterpret_cast<const char*>(buffer), size);
    std::free(buffer);
    return content;
}

std::vector<std::string> walkNames(KXArchiveReader& reader) {
    std::vector<std::string> names;
    for (std::string name = reader.firstEntryName(); !name.empty(); name = reader.nextEntryName()) {
        names.push_back(name);
    }
    return names;
}

} // namespace kxtest
