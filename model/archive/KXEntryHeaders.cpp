#include "model/archive/KXEntryHeaders.h"

#include "platform/CCOpenedFile.h"

#include <algorithm>
#include <cstring>
#include <string>
#include <vector>
#include <zip.h>

namespace {

const std::uint32_t kEndSignature = 0x06054b50;
const std::uint32_t kLocatorSignature = 0x07064b50;
const std::uint32_t kEnd64Signature = 0x06064b50;
const std::uint32_t kCentralSignature = 0x02014b50;
const std::uint32_t kLocalSignature = 0x04034b50;
const std::size_t kEndLength = 22;
const std::size_t kLocatorLength = 20;
const std::size_t kEnd64Length = 56;
const std::size_t kCentralLength = 46;
const std::size_t kLocalLength = 30;
const std::size_t kMaxComment = 0xffff;
const std::uint32_t kOverflow32 = 0xffffffff;
const std::uint16_t kZip64Extra = 0x0001;
// How much of the central directory is read at a time.
const std::size_t kWindow = 64 * 1024;

std::uint64_t le(const unsigned char* bytes, int width) {
    std::uint64_t value = 0;
    for (int b = width - 1; b >= 0; --b) {
        value = (value << 8) | bytes[b];
    }
    return value;
}

// The outcome of a read: complete, past the end of the file, or failed.
enum class Read { Done, Short, Failed };

Read readAt(int fd, std::uint64_t offset, unsigned char* target, std::size_t length) {
    std::size_t read = 0;
    if (!cocos2d::ccReadAt(fd, offset, target, length, &read)) {
        return Read::Failed;
    }
    return read == length ? Read::Done : Read::Short;
}

KXHeaderCheck failureOf(Read read) {
    return read == Read::Failed ? KXHeaderCheck::Unreadable : KXHeaderCheck::Damaged;
}

// Bytes of the archive from `offset` (counted from `base` in the file), read a window at a time,
// never past `end`.
class Window {
public:
    Window(int fd, std::uint64_t base, std::uint64_t end) : m_fd(fd), m_base(base), m_end(end) {}

    // Null when the bytes reach past the end or cannot be read (then `failure` says which).
    const unsigned char* at(std::uint64_t offset, std::size_t length) {
        if (offset > m_end || length > m_end - offset) {
            m_failure = KXHeaderCheck::Damaged;
            return nullptr;
        }
        if (offset < m_start || offset + length > m_start + m_bytes.size()) {
            const std::size_t wanted =
                static_cast<std::size_t>(std::min<std::uint64_t>(std::max(length, kWindow), m_end - offset));
            m_bytes.resize(wanted);
            const Read read = readAt(m_fd, m_base + offset, m_bytes.data(), wanted);
            if (read != Read::Done) {
                m_bytes.clear();
                m_failure = failureOf(read);
                return nullptr;
            }
            m_start = offset;
        }
        return m_bytes.data() + (offset - m_start);
    }

    KXHeaderCheck failure() const { return m_failure; }

private:
    int m_fd;
    std::uint64_t m_base;
    std::uint64_t m_end;
    std::uint64_t m_start = 0;
    std::vector<unsigned char> m_bytes;
    KXHeaderCheck m_failure = KXHeaderCheck::Damaged;
};

std::string quoted(const unsigned char* name, std::size_t length) {
    return quotedEntryName(reinterpret_cast<const char*>(name), length);
}

std::string number(std::uint64_t value) {
    return std::to_string(value);
}

// The Zip64 end record that a locator just before the end record at `end` points to, and the bytes
// in front of the archive: writers put the record right before the locator, so where it lies there
// against where the locator says it lies gives their count. A record followed by extensible data
// is looked for where the locator says. Absent (Sound, `found` false) when no locator is there.
KXHeaderCheck readZip64End(int fd, std::uint64_t end, bool& found, KXCentralDirectory& directory) {
    found = false;
    if (end < kLocatorLength) {
        return KXHeaderCheck::Sound;
    }
    unsigned char locator[kLocatorLength];
    const std::uint64_t locatorAt = end - kLocatorLength;
    Read read = readAt(fd, locatorAt, locator, sizeof locator);
    if (read != Read::Done) {
        return failureOf(read);
    }
    if (le(locator, 4) != kLocatorSignature) {
        return KXHeaderCheck::Sound;
    }
    found = true;
    const std::uint64_t declared = le(locator + 8, 8);
    const std::uint64_t besideLocator = locatorAt >= kEnd64Length ? locatorAt - kEnd64Length : declared;
    unsigned char record[kEnd64Length];
    bool placed = false;
    std::uint64_t at = 0;
    for (const std::uint64_t candidate : {besideLocator, declared}) {
        if (candidate < declared || candidate > locatorAt || locatorAt - candidate < kEnd64Length) {
            continue;
        }
        read = readAt(fd, candidate, record, sizeof record);
        if (read == Read::Failed) {
            return KXHeaderCheck::Unreadable;
        }
        // Beside the locator, a record that says it ends there.
        if (read == Read::Done && le(record, 4) == kEnd64Signature &&
            (candidate == declared || le(record + 4, 8) == kEnd64Length - 12)) {
            placed = true;
            at = candidate;
            break;
        }
    }
    if (!placed) {
        return KXHeaderCheck::Damaged;
    }
    directory.base = at - declared;
    directory.entries = le(record + 32, 8);
    directory.size = le(record + 40, 8);
    directory.offset = le(record + 48, 8);
    // The directory ends where the Zip64 end record begins.
    return directory.offset <= declared && directory.size <= declared - directory.offset
               ? KXHeaderCheck::Sound
               : KXHeaderCheck::Damaged;
}

// The packed size and local header offset of a central record, with their Zip64 values taken
// from its extra field where the record holds the overflow mark. Null when every marked value is
// there, else the first that is not: "size", "packed size" or "local header offset".
const char* zip64Values(const unsigned char* record, const unsigned char* extra, std::size_t extraLength,
                        std::uint64_t& packed, std::uint64_t& local) {
    const bool fullMarked = le(record + 24, 4) == kOverflow32;
    const bool packedMarked = packed == kOverflow32;
    const bool localMarked = local == kOverflow32;
    if (!fullMarked && !packedMarked && !localMarked) {
        return nullptr;
    }
    const char* missing = fullMarked ? "size" : packedMarked ? "packed size" : "local header offset";
    for (std::size_t at = 0; at + 4 <= extraLength;) {
        const std::uint64_t id = le(extra + at, 2);
        const std::size_t length = static_cast<std::size_t>(le(extra + at + 2, 2));
        at += 4;
        if (length > extraLength - at) {
            return missing;
        }
        if (id == kZip64Extra) {
            const std::size_t needed = 8 * (std::size_t(fullMarked) + packedMarked + localMarked);
            if (length < needed) {
                return missing;
            }
            const unsigned char* value = extra + at + (fullMarked ? 8 : 0);
            if (packedMarked) {
                packed = le(value, 8);
                value += 8;
            }
            if (localMarked) {
                local = le(value, 8);
            }
            return nullptr;
        }
        at += length;
    }
    return missing;
}

// The local header at `local` names the entry `name` (of `length` bytes), and it and the entry's
// `packed` bytes lie before the central directory.
KXHeaderCheck checkLocalHeader(int fd, std::uint64_t local, const unsigned char* name, std::size_t length,
                               std::uint64_t packed, const KXCentralDirectory& directory, std::string& why) {
    const std::string entry = "the entry " + quoted(name, length);
    if (local > directory.offset || directory.offset - local < kLocalLength + length) {
        why = entry + " has its local header at offset " + number(local) +
              ", not before the central directory at " + number(directory.offset);
        return KXHeaderCheck::Damaged;
    }
    std::vector<unsigned char> header(kLocalLength + length);
    const Read read = readAt(fd, directory.base + local, header.data(), header.size());
    if (read != Read::Done) {
        why = entry + " has its local header at offset " + number(local) + ", past the end of the file";
        return failureOf(read);
    }
    const std::uint64_t localNameLength = le(header.data() + 26, 2);
    const std::uint64_t extraLength = le(header.data() + 28, 2);
    if (le(header.data(), 4) != kLocalSignature) {
        why = entry + " has no local header at offset " + number(local);
        return KXHeaderCheck::Damaged;
    }
    if (localNameLength != length || std::memcmp(header.data() + kLocalLength, name, length) != 0) {
        why = entry + " is named differently in its local header";
        return KXHeaderCheck::Damaged;
    }
    const std::uint64_t room = directory.offset - local - kLocalLength - length;
    if (extraLength > room || packed > room - extraLength) {
        why = entry + " declares a packed size of " + number(packed) + " bytes, running from offset " +
              number(local) + " past the central directory at " + number(directory.offset);
        return KXHeaderCheck::Damaged;
    }
    return KXHeaderCheck::Sound;
}

} // namespace

std::string quotedEntryName(const char* name, std::size_t length) {
    const std::size_t kShown = 80;
    std::string text = "\"";
    for (std::size_t i = 0; i < std::min(length, kShown); ++i) {
        const unsigned char c = static_cast<unsigned char>(name[i]);
        text += c < 0x20 || c == 0x7f ? '?' : static_cast<char>(c);
    }
    return text + (length > kShown ? "...\"" : "\"");
}

KXHeaderCheck findCentralDirectory(int fd, std::uint64_t size, KXCentralDirectory& directory,
                                   std::string& why) {
    why = "it is not a zip archive: no end of central directory record fits it";
    const std::size_t tailLength =
        static_cast<std::size_t>(std::min<std::uint64_t>(size, kEndLength + kMaxComment));
    if (tailLength < kEndLength) {
        return KXHeaderCheck::Damaged;
    }
    const std::uint64_t tailStart = size - tailLength;
    std::vector<unsigned char> tail(tailLength);
    const Read read = readAt(fd, tailStart, tail.data(), tail.size());
    if (read != Read::Done) {
        return failureOf(read);
    }
    // Every end record of the tail is looked at, so that none that libzip might prefer declares
    // more entries than the bound; the last sound one is the archive's.
    bool found = false;
    for (std::size_t at = tailLength - kEndLength + 1; at-- > 0;) {
        const unsigned char* record = tail.data() + at;
        if (le(record, 4) != kEndSignature) {
            continue;
        }
        const std::uint64_t end = tailStart + at;
        KXCentralDirectory candidate;
        candidate.entries = le(record + 10, 2);
        candidate.size = le(record + 12, 4);
        candidate.offset = le(record + 16, 4);
        bool zip64 = false;
        KXHeaderCheck check = readZip64End(fd, end, zip64, candidate);
        if (check == KXHeaderCheck::Unreadable) {
            return check;
        }
        if (candidate.entries > kMaxArchiveEntries) {
            why = "an end record declares " + number(candidate.entries) + " entries, above the " +
                  number(kMaxArchiveEntries) + " an archive may hold";
            return KXHeaderCheck::TooMany;
        }
        const bool commentFits = le(record + 20, 2) <= tailLength - at - kEndLength;
        // Without a Zip64 record the directory ends where the end record begins: the bytes between
        // where it lies and where the end record says it lies are in front of the archive.
        bool directoryFits = zip64;
        if (!zip64 && candidate.offset <= end && candidate.size <= end - candidate.offset) {
            candidate.base = end - candidate.offset - candidate.size;
            directoryFits = true;
        }
        if (!found && check == KXHeaderCheck::Sound && commentFits && directoryFits) {
            directory = candidate;
            found = true;
        }
    }
    if (!found) {
        return KXHeaderCheck::Damaged;
    }
    why.clear();
    return KXHeaderCheck::Sound;
}

KXHeaderCheck checkEntryHeaders(int fd, const KXCentralDirectory& directory, zip_t* archive,
                                std::string& why) {
    why.clear();
    if (archive != nullptr &&
        zip_get_num_entries(archive, 0) != static_cast<zip_int64_t>(directory.entries)) {
        why = "its end record declares " + number(directory.entries) + " entries, and " +
              number(static_cast<std::uint64_t>(std::max<zip_int64_t>(zip_get_num_entries(archive, 0), 0))) +
              " are read";
        return KXHeaderCheck::Damaged;
    }
    const std::uint64_t end = directory.offset + directory.size;
    Window window(fd, directory.base, end);
    std::uint64_t offset = directory.offset;
    for (std::uint64_t index = 0; index < directory.entries; ++index) {
        const std::string which = "entry " + number(index + 1) + " of " + number(directory.entries);
        const unsigned char* record = window.at(offset, kCentralLength);
        if (record == nullptr) {
            why = "its central directory ends before the record of " + which;
            return window.failure();
        }
        if (le(record, 4) != kCentralSignature) {
            why = "its central directory holds no record for " + which + " at offset " + number(offset);
            return KXHeaderCheck::Damaged;
        }
        std::uint64_t packed = le(record + 20, 4);
        std::uint64_t local = le(record + 42, 4);
        const std::size_t nameLength = static_cast<std::size_t>(le(record + 28, 2));
        const std::size_t extraLength = static_cast<std::size_t>(le(record + 30, 2));
        const std::size_t commentLength = static_cast<std::size_t>(le(record + 32, 2));
        // The record again with its name and extra field: the window may have moved.
        record = window.at(offset, kCentralLength + nameLength + extraLength);
        if (record == nullptr) {
            why = "its central directory ends within the record of " + which;
            return window.failure();
        }
        const unsigned char* name = record + kCentralLength;
        if (const char* missing = zip64Values(record, name + nameLength, extraLength, packed, local)) {
            why = "the entry " + quoted(name, nameLength) + " gives its " + missing + " as " +
                  number(kOverflow32) + ", the Zip64 mark, without a Zip64 value";
            return KXHeaderCheck::Damaged;
        }
        if (archive != nullptr) {
            // What libzip read from the same records: the entries the reader serves.
            const char* known = zip_get_name(archive, index, ZIP_FL_ENC_RAW);
            zip_stat_t stat;
            zip_stat_init(&stat);
            if (known == nullptr || std::strlen(known) != nameLength ||
                std::memcmp(known, name, nameLength) != 0 || zip_stat_index(archive, index, 0, &stat) != 0 ||
                (stat.valid & ZIP_STAT_COMP_SIZE) == 0 || stat.comp_size != packed) {
                why = "the entry " + quoted(name, nameLength) + " (" + which + ") is read differently";
                return KXHeaderCheck::Damaged;
            }
        }
        const KXHeaderCheck check = checkLocalHeader(fd, local, name, nameLength, packed, directory, why);
        if (check != KXHeaderCheck::Sound) {
            return check;
        }
        offset += kCentralLength + nameLength + extraLength + commentLength;
    }
    return KXHeaderCheck::Sound;
}
