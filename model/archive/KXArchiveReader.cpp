#include "model/archive/KXArchiveReader.h"

#include "model/archive/KXArchiveErrors.h"
#include "model/archive/KXEntryHeaders.h"
#include "model/archive/KXWinZipAes.h"

#include "platform/CCFileUtils.h"

#include <algorithm>
#include <cerrno>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <fcntl.h>
#include <memory>
#include <new>
#include <system_error>
#include <unistd.h>
#include <zip.h>

namespace {

const std::size_t kReadChunk = 16384;
// Names this long were never valid entry names for the reader.
const std::size_t kMaxNameLength = 256;

std::string errnoText(int code) {
    return std::generic_category().message(code);
}

// libzip holds the descriptor it reads, so a missing file is not one of its failures.
int openFailureErrno(const zip_error_t& error) {
    switch (zip_error_code_zip(&error)) {
    case ZIP_ER_MEMORY:
        return ENOMEM;
    case ZIP_ER_OPEN:
    case ZIP_ER_READ:
    case ZIP_ER_SEEK:
    case ZIP_ER_TELL: {
        const int code = zip_error_system_type(&error) == ZIP_ET_SYS ? zip_error_code_system(&error) : 0;
        return code != 0 ? code : EIO;
    }
    default:
        return EINVAL; // not a zip archive, or an inconsistent one
    }
}

// Throws unless the check found the archive sound; `why` says what the check found wrong.
void failOpening(const std::string& path, KXHeaderCheck check, const std::string& why) {
    switch (check) {
    case KXHeaderCheck::Sound:
        return;
    case KXHeaderCheck::Unreadable: {
        const int code = errno != 0 ? errno : EIO;
        throw KXArchiveOpenError(code, path + ": " + errnoText(code));
    }
    case KXHeaderCheck::TooMany:
    case KXHeaderCheck::Damaged:
        break;
    }
    throw KXArchiveOpenError(EINVAL, path + ": " + why);
}

// libzip reads the archive from where it begins, through a descriptor of its own on the file that
// was opened and checked. Not ZIP_CHECKCONS: it finds the archives of writers that leave the local
// header's CRC and sizes to a data descriptor inconsistent; the reader compares the names of the
// two headers itself.
zip_t* openArchiveView(int descriptor, std::uint64_t start, std::uint64_t length, zip_error_t& error) {
    const int own = ::fcntl(descriptor, F_DUPFD_CLOEXEC, 0);
    if (own < 0) {
        zip_error_set(&error, ZIP_ER_OPEN, errno);
        return nullptr;
    }
    std::FILE* stream = ::fdopen(own, "rb");
    if (stream == nullptr) {
        zip_error_set(&error, ZIP_ER_OPEN, errno);
        ::close(own);
        return nullptr;
    }
    zip_source_t* source = zip_source_filep_create(stream, start, static_cast<zip_int64_t>(length), &error);
    if (source == nullptr) {
        std::fclose(stream);
        return nullptr;
    }
    zip_t* archive = zip_open_from_source(source, ZIP_RDONLY, &error);
    if (archive == nullptr) {
        zip_source_free(source);
    }
    return archive;
}

bool isDirectoryName(const std::string& name) {
    return !name.empty() && name.back() == '/';
}

struct FileCloser {
    void operator()(zip_file_t* file) const { zip_fclose(file); }
};

struct BufferFreer {
    void operator()(unsigned char* buffer) const { std::free(buffer); }
};

struct ErrorFinisher {
    void operator()(zip_error_t* error) const { zip_error_fini(error); }
};

} // namespace

KXArchiveReader::KXArchiveReader(const std::string& path) : path_(path) {
    // Opened once, capped and checked on the descriptor that libzip then reads.
    const cocos2d::CCOpenedFile file = cocos2d::CCFileUtils::sharedFileUtils()->openFile(path);
    if (!file) {
        throw KXArchiveOpenError(file.error(), file.refusal().empty() ? path + ": " + errnoText(file.error())
                                                                      : path + " " + file.refusal());
    }
    if (file.size() == 0) {
        throw KXArchiveOpenError(EINVAL, path + " is empty");
    }
    KXCentralDirectory directory;
    std::string why;
    errno = 0;
    failOpening(path, findCentralDirectory(file.descriptor(), file.size(), directory, why), why);
    zip_error_t error;
    zip_error_init(&error);
    std::unique_ptr<zip_error_t, ErrorFinisher> finish(&error);
    archive_ = openArchiveView(file.descriptor(), directory.base, file.size() - directory.base, error);
    if (archive_ == nullptr) {
        // The reader's own walk names the entry at fault where it can.
        errno = 0;
        failOpening(path, checkEntryHeaders(file.descriptor(), directory, nullptr, why), why);
        throw KXArchiveOpenError(openFailureErrno(error), path + ": " + zip_error_strerror(&error));
    }
    try {
        errno = 0;
        failOpening(path, checkEntryHeaders(file.descriptor(), directory, archive_, why), why);
        entryCount_ = std::max<zip_int64_t>(zip_get_num_entries(archive_, 0), 0);
        indexByName_.reserve(static_cast<std::size_t>(entryCount_));
        for (std::int64_t i = 0; i < entryCount_; ++i) {
            const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(i), ZIP_FL_ENC_RAW);
            // Two entries of one name would let the walk and a lookup read different data.
            if (name != nullptr && !indexByName_.emplace(name, i).second) {
                failOpening(path, KXHeaderCheck::Damaged,
                            "two entries are named " + quotedEntryName(name, std::strlen(name)));
            }
        }
    } catch (...) {
        zip_discard(archive_);
        throw;
    }
}

KXArchiveReader::Totals KXArchiveReader::totalsOf(const std::string& marker) const {
    Totals totals;
    for (const auto& entry : indexByName_) {
        if (entry.first.find(marker) == std::string::npos) {
            continue;
        }
        zip_stat_t stat;
        zip_stat_init(&stat);
        if (zip_stat_index(archive_, static_cast<zip_uint64_t>(entry.second), 0, &stat) != 0 ||
            (stat.valid & ZIP_STAT_SIZE) == 0) {
            continue;
        }
        ++totals.count;
        totals.bytes += std::min<zip_uint64_t>(stat.size, kMaxEntrySize);
    }
    return totals;
}

KXArchiveReader::~KXArchiveReader() {
    zip_discard(archive_); // read-only: nothing to write back
}

std::string KXArchiveReader::currentEntryName() const {
    if (position_ < 0 || position_ >= entryCount_) {
        return std::string();
    }
    const char* name = zip_get_name(archive_, static_cast<zip_uint64_t>(position_), ZIP_FL_ENC_RAW);
    return name != nullptr ? std::string(name) : std::string();
}

bool KXArchiveReader::locate(const std::string& name) {
    if (name.size() >= kMaxNameLength) {
        throwArchiveFault(kArchiveLocateFile, KXArchiveFault::InvalidParameter);
    }
    auto found = indexByName_.find(name);
    if (found == indexByName_.end()) {
        return false;
    }
    position_ = found->second;
    return true;
}

std::string KXArchiveReader::walkFrom(std::int64_t index) {
    for (; index < entryCount_; ++index) {
        position_ = index;
        const char* raw = zip_get_name(archive_, static_cast<zip_uint64_t>(index), ZIP_FL_ENC_RAW);
        if (raw == nullptr) {
            throwArchiveError(index == 0 ? kArchiveLocateFirst : kArchiveLocateNext, zip_get_error(archive_));
        }
        std::string name(raw);
        // Directories, and nameless entries that would read as the end of the walk, are passed over.
        if (!name.empty() && !isDirectoryName(name)) {
            return name;
        }
    }
    position_ = entryCount_;
    return std::string();
}

std::string KXArchiveReader::firstEntryName() {
    return walkFrom(0);
}

std::string KXArchiveReader::nextEntryName() {
    if (position_ >= entryCount_ - 1) {
        position_ = entryCount_;
        return std::string();
    }
    return walkFrom(position_ + 1);
}

bool KXArchiveReader::readFile(const std::string& name, unsigned char*& buffer, std::uint32_t& size,
                               const std::string& password) {
    buffer = nullptr;
    size = 0;
    // The entry the walk stands on is read where it is, without a lookup.
    if (currentEntryName() != name && !locate(name)) {
        return false;
    }
    std::size_t length = 0;
    buffer = readEntry(position_, length, password);
    size = static_cast<std::uint32_t>(length);
    return true;
}

unsigned char* KXArchiveReader::readEntry(std::int64_t index, std::size_t& length,
                                          const std::string& password) {
    const zip_uint64_t at = static_cast<zip_uint64_t>(index);
    zip_stat_t stat;
    zip_stat_init(&stat);
    if (zip_stat_index(archive_, at, 0, &stat) != 0 || (stat.valid & ZIP_STAT_SIZE) == 0) {
        throwArchiveError(kArchiveOpenFile, zip_get_error(archive_));
    }
    if (stat.size > kMaxEntrySize) {
        // The reader's own bound, not a fault libzip found: the line says which entry and why.
        const char* name = zip_get_name(archive_, at, ZIP_FL_ENC_RAW);
        throw std::runtime_error(
            std::string(kArchiveReadFile) + " Bad archive (" + path_ + ": the entry " +
            quotedEntryName(name != nullptr ? name : "", name != nullptr ? std::strlen(name) : 0) +
            " declares " + std::to_string(stat.size) + " bytes, above the " + std::to_string(kMaxEntrySize) +
            " an entry may hold)");
    }
    const std::size_t declared = static_cast<std::size_t>(stat.size);
    // Bounded by kMaxEntrySize, so the declared size can be taken at its word; a read that does not
    // fill it fails.
    std::unique_ptr<unsigned char, BufferFreer> data(
        declared > 0 ? static_cast<unsigned char*>(std::malloc(declared)) : nullptr);
    if (declared > 0 && !data) {
        throw std::bad_alloc();
    }
    if (isWinZipAesEntry(archive_, at)) {
        readWinZipAesEntry(archive_, at, password, data.get(), declared);
        length = declared;
        return data.release();
    }

    const char* secret = password.empty() ? nullptr : password.c_str();
    std::unique_ptr<zip_file_t, FileCloser> file(zip_fopen_index_encrypted(archive_, at, 0, secret));
    if (!file) {
        throwArchiveError(kArchiveOpenFile, zip_get_error(archive_));
    }
    std::size_t filled = 0;
    unsigned char probe[1];
    for (;;) {
        // Once the declared size is in, one more read must report the end: that is where libzip
        // verifies the checksum, and more data than declared means a broken entry.
        unsigned char* target = filled < declared ? data.get() + filled : probe;
        const std::size_t want = filled < declared ? std::min(kReadChunk, declared - filled) : sizeof probe;
        const zip_int64_t n = zip_fread(file.get(), target, want);
        if (n < 0) {
            throwArchiveError(kArchiveReadFile, zip_file_get_error(file.get()));
        }
        if (n == 0) {
            break;
        }
        if (target == probe) {
            throwArchiveFault(kArchiveReadFile, KXArchiveFault::BadArchive);
        }
        filled += static_cast<std::size_t>(n);
    }
    if (filled != declared) {
        throwArchiveFault(kArchiveReadFile, KXArchiveFault::BadArchive);
    }
    length = declared;
    return data.release();
}
