// "Keys.pack": the list of key names whose positions are the key ids of every stored map. The file
// is scrambled with a 64-byte mask derived from the game's "User ID".
#pragma once

#include "model/KXMessagePackMap.h"

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

using KXKeyMask = std::array<unsigned char, 64>;

// The mask for a game: the CRC-32 of its User ID seeds std::mt19937, whose outputs are mixed with
// kKeyFileMaskTable (KXSecrets.h).
KXKeyMask buildKeyMask(const std::string& userId);

// XORs byte i with mask[i % 64]; scrambles and unscrambles alike.
void applyKeyMask(unsigned char* bytes, std::size_t length, const KXKeyMask& mask);

// Unscrambles the file's bytes and parses the name list: one name per line ending in a line feed
// (a carriage return stays in the name), empty lines take no id, a repeated name keeps its first id
// while still using up an id, and text after the last line feed is a last line.
KXMessagePackMap::KeyTable parseKeyList(const unsigned char* bytes, std::uint32_t length,
                                        const std::string& userId);

// The writer's direction: the names, each followed by a line feed, scrambled for the User ID.
std::string scrambleKeyList(const std::vector<std::string>& names, const std::string& userId);
