// Our own check of a WinZip AES entry's authentication code.
//
// libzip 1.7 compares AES entries with the CRC of the central directory as well, but AE-2 writers
// (7-Zip, WinZip) store 0 there, so a sound AE-2 entry fails that comparison with the same error as
// a damaged one. When that happens, this check tells the two apart.
#pragma once

#include <cstdint>
#include <string>

typedef struct zip zip_t;

bool isWinZipAesEntry(zip_t* archive, std::uint64_t index);

// True when the entry's stored authentication code matches its encrypted data under the password.
bool winZipAesCodeMatches(zip_t* archive, std::uint64_t index, const std::string& password);

// Key derivations made by this process so far (each costs about a millisecond).
std::uint64_t winZipAesKeyDerivations();
