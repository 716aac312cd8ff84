// Replacing a small file so that a reader (or a crash at any moment) sees the old or the new
// contents, never a mix.
#pragma once

#include <mutex>
#include <string>

#include "base/ccMacros.h"

NS_CC_BEGIN

// Writes `contents` to a temporary file beside `path` ("<path>.tmp"), syncs it, renames it over
// `path` and syncs the folder. A stale temporary file (left by a writer killed mid-write) is
// replaced; a folder in its place is removed when empty, else another name is used
// ("<path>.tmp.1", ...). An empty folder in the place of `path` itself is removed; one with
// content is kept, and the write fails. False with `error` set when nothing was replaced (the old
// file is then untouched); `notes` gets one line per obstacle worked around.
bool replaceFileAtomically(const std::string& path, const std::string& contents, std::string& error,
                           std::string& notes);

// Held by replaceFileAtomically from its temporary file to the rename or the removal. A process
// that must end at once takes it first and never gives it back: a write under way finishes and
// none begins after. Never destroyed, so it stays usable while the process exits around it.
std::mutex& storeWriteLock();
// How many writes have replaced their file so far; read under storeWriteLock for a figure no write
// is about to change.
unsigned long storeWritesCompleted();

NS_CC_END
