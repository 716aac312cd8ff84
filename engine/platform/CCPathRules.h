// Lexical path rules used to keep a game's reads inside its folder.
#pragma once

#include <string>

namespace cocos2d {

// Removes "." parts, empty parts and each ".." with the part before it: "a/./b/../c" is "a/c".
// A relative path keeps the ".." that climb above its start ("../x"); "/.." is "/".
std::string ccNormalizePath(const std::string& path);
// True when the normalised path is the folder or lies below it. Both absolute, or both relative
// (a relative folder "" or "." is the working folder: any path that does not climb out of it).
bool ccPathWithin(const std::string& path, const std::string& folder);
// Everything up to and with the last "/", or "" for a bare name.
std::string ccDirectoryOf(const std::string& path);

} // namespace cocos2d
