// WinZip AES entries, decrypted here rather than by libzip.
//
// The key derivation (PBKDF2, about a millisecond) is the cost of an AES entry. libzip derives the
// keys when it opens an entry, and its AE-2 handling needs a second derivation to check the
// authentication code (libzip 1.7 compares AE-2 entries with the CRC of 0 that AE-2 writers store,
// so a sound entry and a damaged one fail alike). Reading the raw entry here derives the keys once,
// checks the password verifier, the authentication code over the encrypted data and, for AE-1, the
// CRC, and inflates.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

typedef struct zip zip_t;

bool isWinZipAesEntry(zip_t* archive, std::uint64_t index);

// Reads the whole AES entry `index` into `target`, which holds its `size` bytes (the size the
// archive declares, checked by the caller against its bound). Throws as the archive reader does:
// no or a wrong password "Unable to open a file: Error P17"; damaged data, a failed code or CRC,
// a size other than declared "Unable to read the file: Bad archive".
void readWinZipAesEntry(zip_t* archive, std::uint64_t index, const std::string& password,
                        unsigned char* target, std::size_t size);

// Key derivations made by this process so far.
std::uint64_t winZipAesKeyDerivations();
