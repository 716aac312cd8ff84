// Reads entries of the game's data archive (a zip file) into memory, by name or by walking the
// archive in order. Failures other than a missing entry are thrown; see KXArchiveErrors.h.
#pragma once

#include <cstdint>
#include <string>

typedef struct zip zip_t;
typedef struct zip_file zip_file_t;
typedef struct zip_error zip_error_t;

class KXArchiveReader {
public:
    // Throws std::system_error "Unable to open the archive" when the file cannot be opened as a zip.
    explicit KXArchiveReader(const std::string& path);
    virtual ~KXArchiveReader();

    KXArchiveReader(const KXArchiveReader&) = delete;
    KXArchiveReader& operator=(const KXArchiveReader&) = delete;

    // Name of the entry at the walk position (open or not); empty past the last entry.
    std::string currentEntryName() const;

    // Opens the entry at the walk position. An empty password opens it without one; a password is
    // only applied to entries that are encrypted.
    void openEntry(const std::string& password);

    // Opens the entry with exactly this name (case-sensitive) and moves the walk position to it.
    // Returns false, with no entry left open, when the archive has no such entry.
    bool locate(const std::string& name, const std::string& password);

    // The walk: opens and returns the first (next) entry that is not a directory, leaving it open
    // so that readFile of the returned name reads it at once. Empty text at the end of the archive.
    std::string firstEntryName(const std::string& password);
    std::string nextEntryName(const std::string& password);

    // Reads a whole entry into a malloc'ed buffer that the caller frees. False (null, 0) when the
    // entry does not exist; an empty entry gives true with a null buffer and size 0.
    bool readFile(const std::string& name, unsigned char*& buffer, std::uint32_t& size,
                  const std::string& password);

    // Name of the entry that is open for reading; empty when none is.
    const std::string& openEntryName() const { return openEntryName_; }
    bool hasOpenEntry() const { return openFile_ != nullptr; }

private:
    void closeEntry();
    std::string walkFrom(std::int64_t index, const std::string& password, const char* prefix);
    std::int64_t findEntry(const std::string& name) const;
    bool isSoundAe2Entry(const zip_error_t* readError) const;

    zip_t* archive_ = nullptr;
    zip_file_t* openFile_ = nullptr;
    std::string openEntryName_;
    std::string openPassword_; // needed again to check an AES entry's authentication code
    std::int64_t entryCount_ = 0;
    std::int64_t position_ = 0;  // walk position; entryCount_ means past the end
    std::int64_t openIndex_ = 0; // index of the open entry; the walk may have moved on
};
