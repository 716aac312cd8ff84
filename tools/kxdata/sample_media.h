// The sample game's media: what the media models need to show something (sizes, speeds, the
// atlas's sprites), the generated files named after their ids, and a report of which media
// files a loaded game has.
#pragma once

#include <cstdio>
#include <string>

#include "tools/kxdata/KXGameWriter.h"

namespace kxdata {

struct SampleGame;

// Gives the sample's sprites their sizes, its animated containers a speed and duration, its
// atlas every sprite of the game, its collision shapes their points, and each asset the
// first shape among its children as "Collision Shape". Runs while the game is built, before
// it is packed.
void addSampleMedia(SampleGame& game);

// Writes the files of every media model under dir/data: sprite images (and an effect image for
// still sprites), atlas sheets with frame lists, bitmap fonts with their pages, MP3 tones.
// Prints "media files N"; returns how many files could not be made.
size_t writeSampleMedia(const std::string& dir, const ModelList& models);

// One line per media model, in the order given:
//   media <class> <id> present|missing <path>...
// (paths relative to the working folder, as the player resolves them), then
//   media present <n> missing <m>
void reportMediaFiles(const ModelList& models, std::FILE* out);

} // namespace kxdata
