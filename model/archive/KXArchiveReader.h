// Reads entries of the game's data archive (a zip file) into memory, by name or by walking the
// archive in order. Failures other than a missing entry are thrown; see KXArchiveErrors.h.
//
// The walk only names entries: an entry is opened (and an AES entry's key derived, about a
// millisecond) when it is read, once per read.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>
#include <unordered_map>

typedef struct zip zip_t;

class KXArchiveReader {
public:
    // Real pack files are kilobytes: a larger entry (declared or inflated) is a bad archive, so
    // that a small archive cannot make the reader allocate or the loader parse without bound.
    static constexpr std::uint32_t kMaxEntrySize = 16u << 20;

    // Opens the file through CCFileUtils::openFile (once, a regular file within its cap) and reads
    // it through that descriptor; bytes in front of the archive are passed over. Throws
    // KXArchiveOpenError ("Unable to open the archive: " and the file and what is wrong with it)
    // when the file is missing, refused or empty, cannot be read as a zip, declares more than
    // kMaxArchiveEntries entries, gives an entry an offset or size outside the archive or names it
    // differently in its local header than in the central directory (see KXEntryHeaders.h), or
    // gives two entries the same name.
    explicit KXArchiveReader(const std::string& path);
    virtual ~KXArchiveReader();

    KXArchiveReader(const KXArchiveReader&) = delete;
    KXArchiveReader& operator=(const KXArchiveReader&) = delete;

    // The archive's path as opened, as its error lines name it.
    const std::string& path() const { return path_; }

    // Name of the entry at the walk position; empty past the last entry.
    std::string currentEntryName() const;

    // Moves the walk position to the entry with exactly this name (case-sensitive). False, with
    // the position unchanged, when the archive has no such entry; a name of 256 bytes or more
    // throws "Unable to locate the file: Invalid parameter".
    bool locate(const std::string& name);

    // The walk: the name of the first (next) entry that is not a directory, without opening it.
    // Empty text at the end of the archive.
    std::string firstEntryName();
    std::string nextEntryName();

    // Reads a whole entry into a malloc'ed buffer that the caller frees. False (null, 0) when the
    // entry does not exist; an empty entry gives true with a null buffer and size 0. An empty
    // password reads the entry without one; a password is only applied to encrypted entries. An
    // entry declaring more than kMaxEntrySize throws "Unable to read the file: Bad archive" with the
    // archive, the entry and its declared size in brackets.
    bool readFile(const std::string& name, unsigned char*& buffer, std::uint32_t& size,
                  const std::string& password);

    // The entries whose names hold `marker`: how many, and their declared sizes added up (each
    // counted as at most kMaxEntrySize, as a larger one is never read). Opens no entry.
    struct Totals {
        std::size_t count = 0;
        std::uint64_t bytes = 0;
    };
    Totals totalsOf(const std::string& marker) const;

private:
    std::string walkFrom(std::int64_t index);
    unsigned char* readEntry(std::int64_t index, std::size_t& length, const std::string& password);

    std::string path_; // as opened, for the lines that name the archive
    zip_t* archive_ = nullptr;
    std::int64_t entryCount_ = 0;
    std::int64_t position_ = 0; // walk position; entryCount_ means past the end
    // Entry index by raw name (no two entries share one).
    std::unordered_map<std::string, std::int64_t> indexByName_;
};
