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

// Bounds far above what exported games hold (some hundreds of names of a few dozen bytes), so that
// a damaged or hostile key file costs little memory and time.
constexpr std::uint32_t kMaxKeyFileSize = 1u << 20;
constexpr std::size_t kMaxKeyNameLength = 1024;
constexpr std::int32_t kMaxKeyLines = 1 << 16;

// Unscrambles the file's bytes and parses the name list: one name per line ending in a line feed
// (a carriage return stays in the name), empty lines take no id, a repeated name keeps its first id
// while still using up an id, and text after the last line feed is a last line.
// Throws std::runtime_error when the file breaks a bound: "the key file is too large", "a key name
// is too long", "the key file has too many names".
KXMessagePackMap::KeyTable parseKeyList(const unsigned char* bytes, std::uint32_t length,
                                        const std::string& userId);

// Throws std::runtime_error "the key table lacks "<name>"" unless the table holds every name that
// each game stores ("id", "Class Name", "value", "User ID"): without them no model could be read, and
// the file is not this game's key file.
void requireGameKeys(const KXMessagePackMap::KeyTable& table);

// The writer's direction: the names, each followed by a line feed, scrambled for the User ID.
std::string scrambleKeyList(const std::vector<std::string>& names, const std::string& userId);
