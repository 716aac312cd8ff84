// Turns a game's name into the name of its folder under the writable root.
#pragma once

#include <string>

#include "base/ccMacros.h"

NS_CC_BEGIN

// The longest folder name the file system takes (NAME_MAX).
constexpr size_t kMaxFolderNameBytes = 255;

// A name that is already a safe folder name comes back unchanged, so existing folders are found.
// Any other (empty, "." or "..", too long, holding '/', '\\' or control characters) becomes a
// cleaned prefix of it, '-', and 16 hex digits of a hash of the whole name: still one folder per
// game, and never a path.
std::string safeFolderName(const std::string& name);

NS_CC_END
