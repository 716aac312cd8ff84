#include "support/archive_fixtures.h"

#include "model/archive/KXArchiveReader.h"

#include <cstdint>
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

namespace {

std::uint32_t le(const std::string& bytes, std::size_t at, int width) {
    std::uint32_t value = 0;
    for (int b = width - 1; b >= 0; --b) {
        value = (value << 8) | static_cast<unsigned char>(bytes.at(at + static_cast<std::size_t>(b)));
    }
    return value;
}

void setLe(std::string& bytes, std::size_t at, int width, std::uint32_t value) {
    for (int b = 0; b < width; ++b) {
        bytes.at(at + static_cast<std::size_t>(b)) = static_cast<char>((value >> (8 * b)) & 0xff);
    }
}

} // namespace

std::string streamedForm(const std::string& archive, bool fullSizeKnown) {
    const std::size_t end = archive.rfind(std::string("PK\x05\x06", 4));
    if (end == std::string::npos) {
        throw std::invalid_argument("no end of central directory");
    }
    const std::size_t count = le(archive, end + 10, 2);
    std::size_t record = le(archive, end + 16, 4);
    std::string entries;
    std::string central;
    for (std::size_t i = 0; i < count; ++i) {
        std::string head =
            archive.substr(record, 46 + le(archive, record + 28, 2) + le(archive, record + 30, 2) +
                                       le(archive, record + 32, 2));
        const std::size_t local = le(head, 42, 4);
        const std::size_t data =
            local + 30 + le(archive, local + 26, 2) + le(archive, local + 28, 2) + le(head, 20, 4);
        std::string entry = archive.substr(local, data - local);
        setLe(entry, 6, 2, le(entry, 6, 2) | 8);
        setLe(entry, 14, 4, 0); // CRC
        setLe(entry, 18, 4, 0); // packed size
        setLe(entry, 22, 4, fullSizeKnown ? le(head, 24, 4) : 0);
        entry += std::string("PK\x07\x08", 4) + head.substr(16, 12); // CRC, packed and full size
        setLe(head, 8, 2, le(head, 8, 2) | 8);
        setLe(head, 42, 4, static_cast<std::uint32_t>(entries.size()));
        entries += entry;
        central += head;
        record += head.size();
    }
    std::string tail = archive.substr(end);
    setLe(tail, 16, 4, static_cast<std::uint32_t>(entries.size()));
    return entries + central + tail;
}

} // namespace kxtest
