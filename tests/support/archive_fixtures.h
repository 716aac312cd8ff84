// Builds zip archives at test time with independent tools (Info-ZIP zip, 7-Zip) and reads entries
// through KXArchiveReader into plain strings.
#pragma once

#include <filesystem>
#include <optional>
#include <string>
#include <vector>

class KXArchiveReader;

namespace kxtest {

// A fresh directory under the system temp folder, removed with everything in it.
class ScratchDir {
public:
    ScratchDir();
    ~ScratchDir();
    ScratchDir(const ScratchDir&) = delete;
    ScratchDir& operator=(const ScratchDir&) = delete;

    const std::filesystem::path& path() const { return path_; }
    std::string file(const std::string& name) const { return (path_ / name).string(); }
    // Writes a file (creating its folders) relative to the scratch directory.
    void write(const std::string& name, const std::string& bytes) const;
    void makeDir(const std::string& name) const;
    // Runs a shell command inside the directory; true when it exits with 0.
    bool run(const std::string& command) const;

private:
    std::filesystem::path path_;
};

std::string readWholeFile(const std::string& path);
void writeWholeFile(const std::string& path, const std::string& bytes);

// Deterministic bytes that deflate poorly, so an entry keeps its size inside the archive.
std::string noiseBytes(std::size_t count, unsigned seed);

// readFile through the reader, the malloc'ed buffer turned into a string; nullopt when not found.
std::optional<std::string> readEntry(KXArchiveReader& reader, const std::string& name,
                                     const std::string& password = std::string());

// Every name the walk returns, in order, until the empty end text.
std::vector<std::string> walkNames(KXArchiveReader& reader);

// The archive laid out as a writer that cannot seek back lays it out: each entry flagged as
// followed by a data descriptor (signature, CRC, sizes) that holds its CRC and sizes, zeros in
// their place in the local header; with `fullSizeKnown` the local header keeps the unpacked size,
// as writers that know a file's size before packing it do. For archives without Zip64 records
// whose entries lie in central-directory order.
std::string streamedForm(const std::string& archive, bool fullSizeKnown = false);

} // namespace kxtest
