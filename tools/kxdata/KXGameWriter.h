// Writes a game's data the way the player reads it: the scrambled key file, the pack files of
// each class (attributes and connections), as loose files in a data folder or as a zip archive.
// Header-only, so that tests and benchmarks can write games without linking the tool.
#pragma once

#include <algorithm>
#include <cerrno>
#include <cstdint>
#include <fstream>
#include <map>
#include <memory>
#include <set>
#include <stdexcept>
#include <string>
#include <vector>

#include <sys/stat.h>
#include <zip.h>

#include "model/KXMessagePackMap.h"
#include "model/KXModel.h"
#include "model/archive/KXKeyFile.h"

namespace kxdata {

enum class ArchiveCipher { None, ZipCrypto, Aes256 };

struct PackFile {
    std::string name;
    std::string bytes;
};

using ModelList = std::vector<std::shared_ptr<KXModel>>;

// The key names every model and attribute of the game stores, gathered in key-collection mode.
inline std::set<std::string> collectKeyNames(const ModelList& models) {
    KXMessagePackMap::resetKeyState();
    KXMessagePackMap::setCollectingKeys(true);
    msgpack::zone zone;
    for (const std::shared_ptr<KXModel>& model : models) {
        model->registerKeys();
        KXMessagePackMap values(zone);
        model->packValues(values);
        KXMessagePackMap connections(zone);
        model->packConnections(connections);
    }
    KXMessagePackMap::setCollectingKeys(false);
    return KXMessagePackMap::registeredKeyNames();
}

// The key file's lines: the names the player reads before any key table exists sit at their
// fall-back ids, the others fill the free positions in name order.
inline std::vector<std::string> keyFileLines(const std::set<std::string>& names) {
    static const std::map<size_t, std::string> fixed = {
        {10, "value"}, {33, "Class Name"}, {42, "id"}, {50, "User ID"}};
    std::vector<std::string> rest;
    for (const std::string& name : names) {
        if (name.empty() || name.find('\n') != std::string::npos) {
            throw std::runtime_error("key name cannot be stored in the key file: \"" + name + "\"");
        }
        bool isFixed = false;
        for (const auto& entry : fixed) {
            isFixed = isFixed || entry.second == name;
        }
        if (!isFixed) {
            rest.push_back(name);
        }
    }
    std::vector<std::string> lines;
    size_t next = 0;
    for (size_t id = 0; next < rest.size() || id <= fixed.rbegin()->first; ++id) {
        auto pinned = fixed.find(id);
        if (pinned != fixed.end()) {
            lines.push_back(pinned->second);
        } else if (next < rest.size()) {
            lines.push_back(rest[next++]);
        } else {
            lines.push_back("#unused " + std::to_string(id)); // keeps the pinned ids in place
        }
    }
    return lines;
}

inline KXMessagePackMap::KeyTable keyTableFor(const std::vector<std::string>& lines) {
    KXMessagePackMap::KeyTable table;
    for (size_t id = 0; id < lines.size(); ++id) {
        table.emplace(lines[id], static_cast<KXMessagePackMap::KeyId>(id));
    }
    return table;
}

// Concatenated attributes maps (or connections maps) of the models, in the order given.
inline std::string packModels(const ModelList& models, bool connections) {
    std::string bytes;
    for (const std::shared_ptr<KXModel>& model : models) {
        msgpack::zone zone;
        KXMessagePackMap map(zone);
        if (connections) {
            model->packConnections(map);
        } else {
            model->packValues(map);
        }
        bytes += map.packToBytes();
    }
    return bytes;
}

inline std::string packFileName(const std::string& className, size_t number, bool connections) {
    return className + "." + std::to_string(number) +
           (connections ? ".connections.pack" : ".attributes.pack");
}

// The whole game: "Keys.pack" first, then per class (by name) its attributes files and, for the
// models that have links or children, its connections files; at most `perFile` models per file.
// Installs the game's key table in this process.
inline std::vector<PackFile> packGame(const ModelList& models, const std::string& userId, size_t perFile) {
    perFile = std::max<size_t>(perFile, 1);
    const std::vector<std::string> lines = keyFileLines(collectKeyNames(models));
    KXMessagePackMap::installKeyTable(keyTableFor(lines));

    std::map<std::string, ModelList> byClass;
    for (const std::shared_ptr<KXModel>& model : models) {
        byClass[model->className()].push_back(model);
    }
    std::vector<PackFile> files;
    files.push_back({"Keys.pack", scrambleKeyList(lines, userId)});
    for (auto& entry : byClass) {
        ModelList& list = entry.second;
        std::stable_sort(list.begin(), list.end(),
                         [](const auto& a, const auto& b) { return a->id() < b->id(); });
        ModelList linked;
        for (const std::shared_ptr<KXModel>& model : list) {
            msgpack::zone zone;
            KXMessagePackMap map(zone);
            model->packConnections(map);
            if (map.size() > 1) { // more than its "id"
                linked.push_back(model);
            }
        }
        for (bool connections : {false, true}) {
            const ModelList& source = connections ? linked : list;
            for (size_t first = 0, number = 0; first < source.size(); first += perFile, ++number) {
                const ModelList chunk(
                    source.begin() + static_cast<std::ptrdiff_t>(first),
                    source.begin() + static_cast<std::ptrdiff_t>(std::min(first + perFile, source.size())));
                files.push_back(
                    {packFileName(entry.first, number, connections), packModels(chunk, connections)});
            }
        }
    }
    return files;
}

inline void makeFolder(const std::string& path) {
    if (::mkdir(path.c_str(), 0755) != 0 && errno != EEXIST) {
        throw std::runtime_error("cannot make folder " + path);
    }
}

inline void writeBytes(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
    if (!out) {
        throw std::runtime_error("cannot write " + path);
    }
}

// DIR/data/<name> for every file.
inline void writeFolder(const std::string& dir, const std::vector<PackFile>& files) {
    makeFolder(dir);
    makeFolder(dir + "/data");
    for (const PackFile& file : files) {
        writeBytes(dir + "/data/" + file.name, file.bytes);
    }
}

// One zip archive of the files, deflated, every entry encrypted with `password` unless the cipher
// is None.
inline void writeArchive(const std::string& path, const std::vector<PackFile>& files, ArchiveCipher cipher,
                         const std::string& password) {
    int error = 0;
    zip_t* archive = zip_open(path.c_str(), ZIP_CREATE | ZIP_TRUNCATE, &error);
    if (archive == nullptr) {
        throw std::runtime_error("cannot create archive " + path);
    }
    const zip_uint16_t method = cipher == ArchiveCipher::Aes256 ? ZIP_EM_AES_256 : ZIP_EM_TRAD_PKWARE;
    for (const PackFile& file : files) {
        zip_source_t* source = zip_source_buffer(archive, file.bytes.data(), file.bytes.size(), 0);
        const zip_int64_t index =
            source ? zip_file_add(archive, file.name.c_str(), source, ZIP_FL_ENC_UTF_8 | ZIP_FL_OVERWRITE)
                   : -1;
        if (index < 0) {
            if (source) {
                zip_source_free(source);
            }
            zip_discard(archive);
            throw std::runtime_error("cannot add " + file.name + " to the archive");
        }
        if (cipher != ArchiveCipher::None &&
            zip_file_set_encryption(archive, static_cast<zip_uint64_t>(index), method, password.c_str()) !=
                0) {
            const std::string reason = zip_strerror(archive);
            zip_discard(archive);
            throw std::runtime_error("cannot encrypt " + file.name + ": " + reason);
        }
    }
    // The sources point into `files`, which outlive this call.
    if (zip_close(archive) != 0) {
        const std::string reason = zip_strerror(archive);
        zip_discard(archive);
        throw std::runtime_error("cannot write archive " + path + ": " + reason);
    }
}

} // namespace kxdata
