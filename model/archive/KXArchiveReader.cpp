#include "model/archive/KXArchiveReader.h"

#include "model/archive/KXArchiveErrors.h"
#include "model/archive/KXWinZipAes.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <new>
#include <system_error>
#include <zip.h>

namespace {

const char* const kOpenArchive = "Unable to open the archive";
const char* const kOpenFile = "Unable to open a file:";
const char* const kLocateFile = "Unable to locate the file:";
const char* const kLocateFirst = "Unable to locate the first file:";
const char* const kLocateNext = "Unable to locate the next file:";
const char* const kReadFile = "Unable to read the file:";

const std::size_t kReadChunk = 16384;
// Names this long were never valid entry names for the reader.
const std::size_t kMaxNameLength = 256;
// Growth of a read buffer is bounded by the entry's declared size, and never starts above this,
// so a lying header cannot make us allocate memory that the data does not fill.
const std::size_t kInitialCapacityLimit = 1u << 20;
const std::uint64_t kMaxEntrySize = 1u << 30;

int openFailureErrno(int zipCode) {
    switch (zipCode) {
    case ZIP_ER_NOENT:
        return ENOENT;
    case ZIP_ER_MEMORY:
        return ENOMEM;
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL:
        return errno != 0 ? errno : EIO;
    default:
        return EINVAL; // not a zip archive, or an inconsistent one
    }
}

bool isDirectoryName(const std::string& name) {
    return !name.empty() && name.back() == '/';
}

} // namespace

KXArchiveReader::KXArchiveReader(const std::string& path) {
    int zipCode = 0;
    errno = 0;
    archive_ = zip_open(path.c_str(), ZIP_RDONLY, &zipCode);
    if (archive_ == nullptr) {
        throw std::system_error(openFailureErrno(zipCode), std::generic_category(), kOpenArchive);
    }
    entryCount_ = zip_get_num_entries(archive_, 0);
    if (entryCount_ < 0) {
        entryCount_ = 0;
    }
}

KXArchiveReader::~KXArchiveReader() {
    closeEntry();
    zip_discard(archive_); // read-only: nothing to write back
}

void KXArchiveReader::closeEntry() {
    if (openFile_ != nullptr) {
        zip_fclose(openFile_); // a read error was reported by the read itself
        openFile_ = nullptr;
    }
    openEntryName_.clear();
    openPassword_.clear();
}

bool KXArchiveReader::isSoundAe2Entry(const zip_error_t* readError) const {
    // A whole AES entry whose only fault is libzip's comparison with the CRC that AE-2 leaves at 0.
    return zip_error_code_zip(readError) == ZIP_ER_CRC && !openPassword_.empty() &&
           isWinZipAesEntry(archive_, static_cast<zip_uint64_t>(openIndex_)) &&
           winZipAesCodeMatches(archive_, static_cast<zip_uint64_t>(openIndex_), openPassword_);
}

std::string KXArchiveReader::currentEntryName() const {
    if (position_ < 0 || position_ >= entryCount_) {
        return std::string();
    }
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(position_), ZIP_FL_ENC_RAW);
    return name != nullptr ? std::string(name) : std::string();
}

void KXArchiveReader::openEntry(const std::string& password) {
    closeEntry();
    if (position_ < 0 || position_ >= entryCount_) {
        throwArchiveFault(kOpenFile, KXArchiveFault::InvalidParameter);
    }
    const char* secret = password.empty() ? nullptr : password.c_str();
    // The password is applied only when the entry is encrypted; others read as stored.
    openFile_ = zip_fopen_index_encrypted(archive_, static_cast<zip_uint64_t>(position_), 0, secret);
    if (openFile_ == nullptr) {
        throwArchiveError(kOpenFile, zip_get_error(archive_));
    }
    openIndex_ = position_;
    openPassword_ = password;
}

std::int64_t KXArchiveReader::findEntry(const std::string& name) const {
    for (std::int64_t i = 0; i < entryCount_; ++i) {
        const char* entry = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
        if (entry != nullptr && name.size() == std::strlen(entry) && name.compare(entry) == 0) {
            return i;
        }
    }
    return -1;
}

bool KXArchiveReader::locate(const std::string& name, const std::string& password) {
    if (openFile_ != nullptr && name == openEntryName_) {
        return true;
    }
    closeEntry();
    if (name.size() >= kMaxNameLength) {
        throwArchiveFault(kLocateFile, KXArchiveFault::InvalidParameter);
    }
    std::int64_t index = findEntry(name);
    if (index < 0) {
        return false;
    }
    position_ = index;
    openEntry(password);
    openEntryName_ = name;
    return true;
}

std::string KXArchiveReader::walkFrom(std::int64_t index, const std::string& password, const char* prefix) {
    for (; index < entryCount_; ++index) {
        position_ = index;
        const char* raw = zip_get_name(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
        if (raw == nullptr) {
            closeEntry();
            throwArchiveError(prefix, zip_get_error(archive_));
        }
        std::string name(raw);
        // Directories, and nameless entries that would read as the end of the walk, are passed over.
        if (name.empty() || isDirectoryName(name)) {
            continue;
        }
        openEntry(password);
        openEntryName_ = name;
        return name;
    }
    position_ = entryCount_;
    return std::string();
}

std::string KXArchiveReader::firstEntryName(const std::string& password) {
    return walkFrom(0, password, kLocateFirst);
}

std::string KXArchiveReader::nextEntryName(const std::string& password) {
    if (position_ >= entryCount_ - 1) {
        position_ = entryCount_;
        return std::string();
    }
    return walkFrom(position_ + 1, password, kLocateNext);
}

bool KXArchiveReader::readFile(const std::string& name, unsigned char*& buffer, std::uint32_t& size,
                               const std::string& password) {
    buffer = nullptr;
    size = 0;
    if (!locate(name, password)) {
        return false;
    }
    unsigned char* data = nullptr;
    try {
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(openIndex_), 0, &stat) != 0 ||
            (stat.valid & ZIP_STAT_SIZE) == 0) {
            throwArchiveError(kReadFile, zip_get_error(archive_));
        }
        if (stat.size > kMaxEntrySize) {
            throwArchiveFault(kReadFile, KXArchiveFault::BadArchive);
        }
        const std::size_t declared = static_cast<std::size_t>(stat.size);
        std::size_t capacity = std::min(declared, kInitialCapacityLimit);
        std::size_t length = 0;
        if (capacity > 0) {
            data = static_cast<unsigned char*>(std::malloc(capacity));
            if (data == nullptr) {
                throw std::bad_alloc();
            }
        }
        unsigned char probe[1];
        bool codeChecked = false;
        for (;;) {
            if (length == capacity && capacity < declared) {
                std::size_t grown = std::min(declared, capacity * 2);
                auto* bigger = static_cast<unsigned char*>(std::realloc(data, grown));
                if (bigger == nullptr) {
                    throw std::bad_alloc();
                }
                data = bigger;
                capacity = grown;
            }
            // Once the declared size is in, one more read must report the end: that is where the
            // checksum is verified, and more data than declared means a broken entry.
            unsigned char* target = length < capacity ? data + length : probe;
            std::size_t want = length < capacity ? std::min(kReadChunk, capacity - length) : sizeof probe;
            zip_int64_t n = zip_fread(openFile_, target, want);
            if (n < 0) {
                if (length == declared && isSoundAe2Entry(zip_file_get_error(openFile_))) {
                    codeChecked = true;
                    break;
                }
                throwArchiveError(kReadFile, zip_file_get_error(openFile_));
            }
            if (n == 0) {
                break;
            }
            if (target == probe) {
                throwArchiveFault(kReadFile, KXArchiveFault::BadArchive);
            }
            length += static_cast<std::size_t>(n);
        }
        // libzip does not verify the authentication code of AE-2 entries, which carry no CRC:
        // without this check a damaged AES entry would read as good data.
        if (!codeChecked && isWinZipAesEntry(archive_, static_cast<zip_uint64_t>(openIndex_)) &&
            !winZipAesCodeMatches(archive_, static_cast<zip_uint64_t>(openIndex_), openPassword_)) {
            throwArchiveFault(kReadFile, KXArchiveFault::BadArchive);
        }
        closeEntry();
        if (length != declared) {
            throwArchiveFault(kReadFile, KXArchiveFault::BadArchive);
        }
        if (length == 0) {
            std::free(data);
            data = nullptr;
        }
        buffer = data;
        size = static_cast<std::uint32_t>(length);
        return true;
    } catch (...) {
        std::free(data);
        closeEntry();
        throw;
    }
}
