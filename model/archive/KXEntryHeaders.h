// The archive's structure as the reader checks it when it opens an archive: where its central
// directory lies, how many entries it declares, and whether each entry's local header names it as
// its central record does. Writers that put a data descriptor after each entry (a zip written to a
// pipe) leave the local header's CRC and sizes to that descriptor, so only names are compared: a
// damaged name in either header would otherwise hide an entry without any checksum noticing.
//
// An archive may have bytes in front of it (a stub: `cat stub game.zip`). Its offsets then count
// from where it begins, which is told by where its central directory really lies against where
// its end record says it lies.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

typedef struct zip zip_t;

// Far above what a game's archive holds (a few hundred pack files), and low enough that reading
// the central directory costs little memory.
constexpr std::uint64_t kMaxArchiveEntries = std::uint64_t(1) << 16;

struct KXCentralDirectory {
    std::uint64_t base = 0;   // bytes in front of the archive; the offsets below count from there
    std::uint64_t offset = 0; // of the central directory, as the end record gives it
    std::uint64_t size = 0;
    std::uint64_t entries = 0;
};

enum class KXHeaderCheck {
    Sound,
    Damaged,    // not a zip archive as the reader reads it, or its headers disagree
    TooMany,    // an end record declares more than kMaxArchiveEntries entries
    Unreadable, // the file could not be read (errno says why)
};

// Finds the central directory of the archive in `fd` (`size` bytes) from its end records (Zip64
// ones too), and how many bytes lie in front of the archive. Any end record in the archive's tail
// declaring more than kMaxArchiveEntries entries makes it TooMany, before anything sized by that
// number is allocated. `why` says what is wrong when the archive is Damaged or TooMany.
KXHeaderCheck findCentralDirectory(int fd, std::uint64_t size, KXCentralDirectory& directory,
                                   std::string& why);

// An entry's name as messages give it: quoted, control bytes as '?', a long name cut short.
std::string quotedEntryName(const char* name, std::size_t length);

// Walks the central directory: each entry's local header names it exactly as its central record
// does, and every header and its data lie before the central directory. With an `archive`, also
// checks it against what libzip read from the same file: the same entries in the same order under
// the same names and packed sizes. `why` names the entry and its bad value when Damaged.
KXHeaderCheck checkEntryHeaders(int fd, const KXCentralDirectory& directory, zip_t* archive,
                                std::string& why);
