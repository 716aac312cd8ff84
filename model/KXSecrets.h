// The secrets that belong with the game data: the table that enters the key-file mask, and the
// archive password, kept as scrambled text and turned into its bytes only when it is used.
// The game writer uses the same values, so reader and writer always agree.
#pragma once

#include <array>
#include <string>

extern const std::array<unsigned char, 64> kKeyFileMaskTable;
extern const std::array<unsigned char, 8> kArchivePasswordTable;

// The password of "data/data.pkg" as stored: base64 of the password XOR the table above.
extern const char* const kStoredArchivePassword;

// base64-decodes the text and XORs decoded byte i with kArchivePasswordTable[i % 8]. Empty when the
// text decodes to nothing; entries are then opened without a password.
std::string decodePassword(const char* storedText);

// The writer's direction: the stored text for a password.
std::string encodePassword(const std::string& password);
