// The loading sequence of the model controller: the initial load of the key table and of the
// models the loading screen needs, then one pack file per step, from the data archive or the
// data folder.
//
// Exported data is untrusted: every exception of the archive reader or of MessagePack decoding
// is caught where a file is read, reported through the last error, and ends that file's turn.

#include "model/KXModelController.h"

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <exception>
#include <filesystem>
#include <memory>
#include <stdexcept>

#include <msgpack.hpp>

#include "cocos2d.h"
#include "model/KXDebugLog.h"
#include "model/KXMessagePackMap.h"
#include "model/KXMessagePackReader.h"
#include "model/KXModel.h"
#include "model/KXSecrets.h"
#include "model/KXStoredKeys.h"
#include "model/KXStoredShape.h"
#include "model/archive/KXArchiveReader.h"
#include "model/archive/KXEntryHeaders.h"
#include "model/archive/KXKeyFile.h"
#include "model/classes/KXModelGeneralSettings.h"

namespace {

constexpr int32_t kAttributesFile = 0;
constexpr int32_t kConnectionsFile = 1;
constexpr int32_t kPassDone = 2;

constexpr const char* kKeyFileName = "Keys.pack";
constexpr const char* kGeneralSettingsClass = "KXModelGeneralSettings";
constexpr const char* kGeneralSettingsFile = "KXModelGeneralSettings.0.attributes.pack";
constexpr const char* kUnableToLoad = "Unable to load data";
constexpr const char* kNoArchive = "No data archive";
constexpr const char* kFailedToLoadKeys = "Failed to load keys";

// The files of the initial load after the general settings, with their types.
const std::pair<const char*, int32_t> kInitialFiles[] = {
    {"KXModelGeneralSettings.0.attributes.pack", kAttributesFile},
    {"KXModelFont.0.attributes.pack", kAttributesFile},
    {"KXModelScreen.0.attributes.pack", kAttributesFile},
    {"KXModelObjectLabel.0.attributes.pack", kAttributesFile},
    {"KXModelObjectLoadingBar.0.attributes.pack", kAttributesFile},
    {"KXModelScreen.0.connections.pack", kConnectionsFile},
};

// Containers claim their element count before the elements are read, and the unpacker reserves
// room for all of them at once: no count may exceed what the remaining bytes could hold, nor a
// fixed ceiling, and nesting stays shallow (stored maps are a handful of levels deep).
constexpr size_t kMaxContainerElements = size_t(1) << 20;
constexpr size_t kMaxNesting = 16;
// Larger than one model's objects, so that the reused zone never takes another chunk.
constexpr size_t kZoneChunk = size_t(64) << 10;

msgpack::unpack_limit limitsFor(size_t remaining) {
    const size_t elements = std::min(remaining, kMaxContainerElements);
    return msgpack::unpack_limit(elements, elements / 2 + 1, remaining, remaining, remaining, kMaxNesting);
}

// Exported pack files are kilobytes; a top-level object that loads no model costs work for nothing,
// so a file may pass over only this many of them (a file of empty maps is not a game).
constexpr size_t kMaxObjectsPassedOver = size_t(1) << 16;

enum class LooseRead { Read, Missing, TooLarge, Failed };

// A loose pack or key file, opened once: its size is checked against `limit` on the opened file,
// and nothing of a larger one is read.
LooseRead readLooseFile(const std::string& path, uintmax_t limit, std::vector<unsigned char>& data) {
    data.clear();
    cocos2d::CCFileUtils* files = cocos2d::CCFileUtils::sharedFileUtils();
    const cocos2d::CCOpenedFile file = files->openFile(files->fullPathForFilename(path.c_str()));
    if (!file) {
        return file.error() == ENOENT ? LooseRead::Missing : LooseRead::Failed;
    }
    if (file.size() > limit) {
        return LooseRead::TooLarge;
    }
    return file.readAll(data) ? LooseRead::Read : LooseRead::Failed;
}

// Stored models take 150 to 250 bytes each in a game, but a bare one (id, class name, name) about
// 30: the estimate of a load's models takes them at their smallest, so that it is never short, at
// the price of a table a few times larger than needed (8 bytes a slot). The ceiling bounds what
// declared sizes can make it reserve, and the folder walk stops after as many files.
constexpr uintmax_t kBytesPerModelAtLeast = 24;
constexpr size_t kMaxExpectedModels = size_t(1) << 20;
constexpr const char* kAttributesMarker = ".attributes.";

void failLoad(KXModelController& controller, const std::string& error) {
    controller.setLastError(error);
    controller.loadState().failed = true;
}

// A key file that cannot be this game's: nothing can be read with it.
void failKeys(KXModelController& controller, const std::string& file, const std::string& reason) {
    debugLog("Failed to load keys: %s: %s", file.c_str(), reason.c_str());
    failLoad(controller, std::string(kFailedToLoadKeys) + ": " + file + ": " + reason);
}

// A pack file that did not decode: the line names it and what the decoder said.
int32_t reportUnreadable(KXModelController& controller, const std::string& file,
                         const std::exception& error) {
    debugLog("[KXModelController] load data - fail: %s: %s", file.c_str(), error.what());
    controller.setLastError(std::string(kUnableToLoad) + ": " + file + ": " + error.what());
    controller.noteLoadProblem(file, error.what());
    return 2;
}

// An entry the archive reader could not read. Its lines say the operation and the kind of fault
// ("Unable to read the file: Bad archive"), the archive and the entry only where the reader itself
// found the fault: those are added when missing.
int32_t reportArchiveFault(KXModelController& controller, const KXArchiveReader& archive,
                           const std::string& entry, const std::exception& error) {
    std::string line = error.what();
    const std::string named = "the entry " + quotedEntryName(entry.data(), entry.size());
    if (line.find(named) == std::string::npos) {
        line += " (" + archive.path() + ": " + named + ")";
    }
    debugLog("[KXModelController] load data - fail: %s", line.c_str());
    controller.setLastError(std::string(kUnableToLoad) + ": " + line);
    controller.noteLoadProblem(entry, error.what());
    return 2;
}

// The class a pack file's name gives ("data/KXNodeUI.0.connections.pack": KXNodeUI).
std::string classOfFile(const std::string& file) {
    const size_t slash = file.find_last_of('/');
    const std::string base = slash == std::string::npos ? file : file.substr(slash + 1);
    return base.substr(0, base.find('.'));
}

// What a pack file gave, for the files that read without an error yet load nothing, or only models
// of another class than their name gives: a swapped or replaced file, or keys that name nothing
// the file holds. `expected` is empty when the name gives no registered class.
struct FileYield {
    std::string expected;
    size_t loaded = 0;
    bool expectedSeen = false;
    std::string otherClass;
    std::string firstPassedOver;

    void load(const std::string& className) {
        ++loaded;
        if (className == expected) {
            expectedSeen = true;
        } else if (otherClass.empty()) {
            otherClass = className;
        }
    }
    void passOver(const std::string& why) {
        if (firstPassedOver.empty()) {
            firstPassedOver = why;
        }
    }
    // Empty when the file gave what its name promises, or nothing to judge by.
    std::string problem() const {
        if (loaded == 0) {
            return firstPassedOver.empty() ? std::string() : "nothing in it loads: " + firstPassedOver;
        }
        if (!expected.empty() && !expectedSeen) {
            return "its records are of class " + otherClass + ", not " + expected;
        }
        return std::string();
    }
};

// Links stored under a key id that the key table lacks are not read (the file was written with
// other keys): the load goes on, but the first such id of a file is named, as the likely reason
// for a screen that leads nowhere.
void noteUnknownKey(KXModelController& controller, const KXMessagePackMap& map, uint32_t modelId,
                    const std::string& file) {
    KXMessagePackMap::KeyId unknown = KXMessagePackMap::kNoKey;
    map.forEachPair([&unknown](KXMessagePackMap::KeyId key, const msgpack::object&) {
        if (unknown == KXMessagePackMap::kNoKey && !KXMessagePackMap::isKnownKeyId(key)) {
            unknown = key;
        }
    });
    if (unknown == KXMessagePackMap::kNoKey) {
        return;
    }
    const std::string why = "unknown key id " + std::to_string(unknown) + " in the connections of model " +
                            std::to_string(modelId);
    debugLog("[KXModelController] load data - %s", why.c_str());
    controller.noteLoadProblem(file, why);
}

// Which model a value of the wrong kind is in, for the reason: its id and, where known, its class.
std::string describeModel(const KXModelController& controller, uint32_t id, int32_t type,
                          const KXMessagePackMap& map) {
    std::string className;
    if (type == kConnectionsFile) {
        if (std::shared_ptr<KXModel> model = controller.getModel(id)) {
            className = model->className();
        }
    } else {
        try {
            map.get(kxkey::className, className);
        } catch (const KXStoredShapeError&) {
            className.clear();
        }
    }
    return "model " + std::to_string(id) + (className.empty() ? "" : " (" + className + ")");
}

// A pack file's object as the map of a model.
KXMessagePackMap objectMap(const msgpack::object& object, size_t at) {
    try {
        return KXMessagePackMap::fromObject(object);
    } catch (const KXStoredShapeError&) {
        throw KXStoredShapeError("the object at byte " + std::to_string(at), "a map keyed by key ids");
    }
}

int32_t fileType(int32_t pass) {
    return pass != 0 ? kConnectionsFile : kAttributesFile;
}

// In archive mode the finished set counts entries, which may outnumber the classes: each pass is
// held to its half, and the bar never moves back within a load.
void updateProgress(KXModelLoadState& state, size_t classCount) {
    const double classes = static_cast<double>(classCount);
    double share = classes > 0.0 ? static_cast<double>(state.finished.size()) / classes : 1.0;
    share = std::min(share, 1.0);
    const double percent = std::min(share * 50.0 + static_cast<double>(state.pass) * 50.0, 100.0);
    state.progress = std::max(state.progress, static_cast<int32_t>(percent));
}

} // namespace

size_t KXModelController::expectedModelCount() const {
    uintmax_t bytes = 0;
    if (m_archiveMode) {
        if (m_archiveReader) {
            bytes = m_archiveReader->totalsOf(kAttributesMarker).bytes;
        }
    } else {
        std::error_code error;
        const std::string folder =
            cocos2d::CCFileUtils::sharedFileUtils()->fullPathForFilename(m_dataDirectory.c_str());
        size_t files = 0;
        for (std::filesystem::directory_iterator entry(folder, error), end; !error && entry != end;
             entry.increment(error)) {
            if (++files > kMaxExpectedModels) {
                break;
            }
            if (entry->path().filename().string().find(kAttributesMarker) == std::string::npos) {
                continue;
            }
            const uintmax_t size = entry->file_size(error);
            bytes += error ? 0 : std::min<uintmax_t>(size, KXArchiveReader::kMaxEntrySize);
            error.clear();
        }
    }
    return static_cast<size_t>(std::min<uintmax_t>(bytes / kBytesPerModelAtLeast, kMaxExpectedModels));
}

void KXModelController::loadInitialData(const std::string& archivePath, const char* storedPassword) {
    // What the loading screen reads now, the walk reads again later.
    struct KeepEntries {
        explicit KeepEntries(bool& keep) : m_keep(keep) { m_keep = true; }
        ~KeepEntries() { m_keep = false; }
        bool& m_keep;
    } keepEntries(m_keepArchiveEntries);
    m_keptEntries.clear();
    const std::string folder = m_dataDirectory + "/";
    std::vector<unsigned char> keys;
    bool haveKeys = false;
    const std::string keysFile = packFileLabel(kKeyFileName);
    std::string keysMissing = "the archive holds no such entry";
    if (m_archiveMode) {
        openArchive(archivePath);
        if (!m_archiveReader) {
            failLoad(*this, lastError());
            return;
        }
        reserveModels(expectedModelCount());
        haveKeys = readFileArchive(kKeyFileName, keys, storedPassword);
    } else {
        reserveModels(expectedModelCount());
        const LooseRead read = readLooseFile(folder + kKeyFileName, kMaxKeyFileSize, keys);
        if (read == LooseRead::TooLarge) {
            failKeys(*this, keysFile, "the key file is too large");
            return;
        }
        haveKeys = read == LooseRead::Read;
        if (read == LooseRead::Missing) {
            keysMissing = "the file is missing";
        } else if (read == LooseRead::Failed) {
            keysMissing = "the file could not be read";
        }
    }
    if (!haveKeys || keys.empty()) {
        debugLog("Failed to load keys");
        // A reason found on the way (a wrong password, a bad archive) says more.
        if (!lastError().empty()) {
            failLoad(*this, lastError());
        } else {
            failKeys(*this, keysFile, haveKeys ? "the file is empty" : keysMissing);
        }
        return;
    }
    if (keys.size() > kMaxKeyFileSize) {
        failKeys(*this, keysFile, "the key file is too large");
        return;
    }

    // Readable before any key table through the fall-back ids; the key file needs its User ID.
    const int32_t settingsRead =
        m_archiveMode ? loadDataFromArchive(kGeneralSettingsFile, kAttributesFile, storedPassword)
                      : loadDataFromFile(folder + kGeneralSettingsFile, kAttributesFile);
    if (settingsRead == 2) {
        failLoad(*this, lastError());
        return;
    }
    if (settingsRead != 0 || getModelsByType(KXModelGeneralSettings::staticType()).empty()) {
        debugLog("[KXModelController] load data - fail: no general settings");
        failLoad(*this, noGeneralSettingsError(settingsRead == 1));
        return;
    }

    const std::string userId = KXModelGeneralSettings::shared()->userId();
    KXMessagePackMap::KeyTable table;
    try {
        table = parseKeyList(keys.data(), static_cast<uint32_t>(keys.size()), userId);
        requireGameKeys(table);
    } catch (const std::exception& error) {
        // The names come out of the mask only with the right User ID: a damaged one spoils them too.
        failKeys(*this, keysFile,
                 std::string(error.what()) + " (unscrambled with the User ID in " +
                     packFileLabel(kGeneralSettingsFile) + ")");
        return;
    }
    keys.clear();
    KXMessagePackMap::installKeyTable(table);

    for (const auto& file : kInitialFiles) {
        if (m_archiveMode) {
            loadDataFromArchive(file.first, file.second, storedPassword);
        } else {
            loadDataFromFile(folder + file.first, file.second);
        }
    }
}

bool KXModelController::loadNextArchiveFile(const char* storedPassword) {
    KXModelLoadState& state = m_loadState;
    if (state.failed) {
        return true;
    }
    if (!m_archiveReader) {
        return false;
    }
    if (m_packReading) {
        // A large entry goes on; the walk to the next one waits for its end.
        continuePackReading(kPackSliceBytes);
        if (m_packReading) {
            return false;
        }
    } else {
        if (state.pass == kPassDone) {
            clear();
        }
        updateProgress(state, m_classOrder.size());

        const int32_t type = fileType(state.pass);
        const std::string name = state.firstFile ? packFileName(state) : state.currentName;
        m_slicedLoading = true;
        loadDataFromArchive(name, type, storedPassword);
        m_slicedLoading = false;
        state.finished.insert(name);
        if (m_packReading) {
            return false;
        }
    }

    try {
        std::string entry;
        if (state.firstFile) {
            state.firstFile = false;
            entry = m_archiveReader->firstEntryName();
        } else {
            entry = m_archiveReader->nextEntryName();
        }
        const char* marker = state.pass == 0 ? ".attributes." : ".connections.";
        for (;;) {
            if (entry.empty()) {
                return finishLoadPass(state);
            }
            if (entry.find(marker) != std::string::npos && state.finished.count(entry) == 0) {
                state.currentName = entry;
                return false;
            }
            entry = m_archiveReader->nextEntryName();
        }
    } catch (const std::exception& error) {
        // Without the walk the rest of the archive cannot be found.
        debugLog("[KXModelController] load data - fail: %s", error.what());
        failLoad(*this,
                 std::string(kUnableToLoad) + ": " + error.what() + " (" + m_archiveReader->path() + ")");
        return true;
    }
}

bool KXModelController::loadNextFile() {
    KXModelLoadState& state = m_loadState;
    if (state.failed) {
        return true;
    }
    int32_t read = 0;
    if (m_packReading) {
        // A large file goes on.
        read = continuePackReading(kPackSliceBytes);
    } else {
        if (state.pass == kPassDone) {
            clear();
        }
        updateProgress(state, m_classOrder.size());
        const std::string path = m_dataDirectory + "/" + packFileName(state);
        m_slicedLoading = true;
        read = loadDataFromFile(path, fileType(state.pass));
        m_slicedLoading = false;
    }
    if (read == 0) {
        if (!m_packReading) {
            ++state.fileNumber;
        }
        return false;
    }
    state.finished.insert(state.currentName);
    for (const std::string& className : m_classOrder) {
        if (state.finished.count(className) == 0) {
            state.currentName = className;
            state.fileNumber = 0;
            return false;
        }
    }
    return finishLoadPass(state);
}

bool KXModelController::finishLoadPass(KXModelLoadState& state) {
    if (advanceLoadPass(state) != kPassDone) {
        return false;
    }
    // Every file is in: without its settings the game cannot run, whatever else loaded.
    if (getModelsByType(KXModelGeneralSettings::staticType()).empty()) {
        bool missing = true;
        if (m_archiveMode) {
            missing = !m_archiveReader || !m_archiveReader->locate(kGeneralSettingsFile);
        } else {
            missing =
                !cocos2d::CCFileUtils::sharedFileUtils()->isFileExist(packFileLabel(kGeneralSettingsFile));
        }
        debugLog("[KXModelController] load data - fail: no general settings");
        failLoad(*this, noGeneralSettingsError(missing));
    }
    return true;
}

std::string KXModelController::noGeneralSettingsError(bool missing) const {
    const std::string file = packFileLabel(kGeneralSettingsFile);
    std::string why = file + ": it holds no general settings";
    if (missing) {
        why = file + (m_archiveMode ? ": the archive holds no such entry" : ": the file is missing");
    }
    // What was noted while the file was read says more.
    for (const std::string& problem : m_loadProblems) {
        if (problem.rfind(file + ": ", 0) == 0) {
            why = problem;
            break;
        }
    }
    return std::string(kUnableToLoad) + ": no general settings (" + why + ")";
}

std::string KXModelController::packFileLabel(const std::string& name) const {
    return m_archiveMode ? name : m_dataDirectory + "/" + name;
}

int32_t KXModelController::advanceLoadPass(KXModelLoadState& state) {
    if (state.pass == kPassDone) {
        return state.pass;
    }
    state.currentName = kGeneralSettingsClass;
    state.fileNumber = 0;
    state.finished.clear();
    ++state.pass;
    state.firstFile = true;
    if (state.pass == kPassDone) {
        state.progress = 100;
    }
    return state.pass;
}

std::string KXModelController::packFileName(const KXModelLoadState& state) const {
    if (state.pass != 0 && state.pass != 1) {
        return std::string();
    }
    return state.currentName + "." + std::to_string(state.fileNumber) +
           (state.pass == 0 ? ".attributes.pack" : ".connections.pack");
}

int32_t KXModelController::loadDataFromArchive(const std::string& entryName, int32_t type,
                                               const char* storedPassword) {
    if (!m_archiveReader) {
        debugLog("[KXModelController] load data - fail");
        setLastError(kNoArchive);
        return 2;
    }
    debugLog("[KXModelController] load data(%d) for class from archive file: %s", type, entryName.c_str());
    std::vector<unsigned char> keptBytes;
    std::unique_ptr<unsigned char, decltype(&std::free)> owned(nullptr, &std::free);
    const unsigned char* bytes = nullptr;
    size_t size = 0;
    auto kept = m_keptEntries.find(entryName);
    if (kept != m_keptEntries.end()) {
        if (m_keepArchiveEntries) {
            keptBytes = kept->second;
        } else {
            keptBytes = std::move(kept->second);
            m_keptEntries.erase(kept);
        }
        bytes = keptBytes.data();
        size = keptBytes.size();
    } else {
        try {
            unsigned char* buffer = nullptr;
            uint32_t length = 0;
            if (!m_archiveReader->readFile(entryName, buffer, length, decodePassword(storedPassword))) {
                return 1;
            }
            owned.reset(buffer);
            if (m_keepArchiveEntries) {
                m_keptEntries[entryName].assign(buffer, buffer + length);
            }
            bytes = buffer;
            size = length;
        } catch (const std::exception& error) {
            return reportArchiveFault(*this, *m_archiveReader, entryName, error);
        }
    }
    return readPack(std::vector<unsigned char>(bytes, bytes + size), type, entryName);
}

int32_t KXModelController::loadDataFromFile(const std::string& path, int32_t type) {
    cocos2d::CCFileUtils* files = cocos2d::CCFileUtils::sharedFileUtils();
    if (!files->isFileExist(path)) {
        return 1;
    }
    debugLog("[KXModelController] load data(%d) for class from file: %s", type, path.c_str());
    std::vector<unsigned char> data;
    const LooseRead read = readLooseFile(path, KXArchiveReader::kMaxEntrySize, data);
    if (read == LooseRead::TooLarge) {
        debugLog("[KXModelController] load data - fail: the file is too large");
        setLastError(std::string(kUnableToLoad) + ": " + path + ": the file is too large");
        noteLoadProblem(path, "the file is too large");
        return 2;
    }
    // An empty file is read as a file without models.
    if (read != LooseRead::Read) {
        debugLog("[KXModelController] load data - fail");
        setLastError(std::string(kUnableToLoad) + ": " + path + ": the file could not be read");
        noteLoadProblem(path, "the file could not be read");
        return 2;
    }
    return readPack(std::move(data), type, path);
}

bool KXModelController::readFileArchive(const std::string& entryName, std::vector<unsigned char>& data,
                                        const char* storedPassword) {
    data.clear();
    if (!m_archiveReader) {
        debugLog("[KXModelController] readFileArchive error - dataArchive is empty");
        return false;
    }
    try {
        unsigned char* buffer = nullptr;
        uint32_t size = 0;
        if (!m_archiveReader->readFile(entryName, buffer, size, decodePassword(storedPassword))) {
            return false;
        }
        std::unique_ptr<unsigned char, decltype(&std::free)> owned(buffer, &std::free);
        if (buffer != nullptr) {
            data.assign(buffer, buffer + size);
        }
        return true;
    } catch (const std::exception& error) {
        reportArchiveFault(*this, *m_archiveReader, entryName, error);
        return false;
    }
}

void KXModelController::noteLoadProblem(const std::string& file, const std::string& why) {
    // A file's problems are noted while it is read, one after another: the first says most.
    if (m_loadProblemFiles > 0 && file == m_lastProblemFile) {
        return;
    }
    m_lastProblemFile = file;
    ++m_loadProblemFiles;
    if (m_loadProblems.size() < kMaxLoadProblems) {
        m_loadProblems.push_back(file + ": " + why);
    }
}

std::string KXModelController::loadProblemsText() const {
    std::string text;
    for (const std::string& problem : m_loadProblems) {
        text += (text.empty() ? "" : "; ") + problem;
    }
    if (m_loadProblemFiles > m_loadProblems.size()) {
        text += "; and " + std::to_string(m_loadProblemFiles - m_loadProblems.size()) + " more files";
    }
    return text;
}

// One pack file being read, its models made a slice at a time: the loader spreads a large file
// over several steps, each of at most kPackSliceBytes and kPackSliceRecords, a quarter of that for a
// file of links (a record is never split).
class KXModelController::PackReading {
public:
    PackReading(KXModelController& controller, std::vector<unsigned char> bytes, int32_t type,
                std::string file)
        : m_controller(controller), m_bytes(std::move(bytes)), m_type(type), m_file(std::move(file)),
          m_zone(kZoneChunk) {
        if (m_controller.findCreator(classOfFile(m_file)) != nullptr) {
            m_yield.expected = classOfFile(m_file);
        }
    }

    const std::string& file() const { return m_file; }
    int32_t type() const { return m_type; }

    // Reads records until `budget` bytes are behind or the file ends; true when it has ended. A
    // value of the wrong kind throws KXStoredShapeError naming the model.
    bool readSlice(size_t budget) {
        const char* bytes = reinterpret_cast<const char*>(m_bytes.data());
        const size_t size = m_bytes.size();
        const bool links = m_type == kConnectionsFile;
        if (budget != SIZE_MAX && links) {
            budget = std::min(budget, kLinkSliceBytes);
        }
        const size_t stop = m_offset + std::min(budget, size - m_offset);
        const size_t maxRecords = budget == SIZE_MAX ? SIZE_MAX
                                  : links            ? kLinkSliceRecords
                                                     : kPackSliceRecords;
        for (size_t records = 0; m_offset < size && m_offset < stop && records < maxRecords; ++records) {
            m_zone.clear();
            const size_t at = m_offset;
            const msgpack::object object =
                kxmsgpack::unpackObject(m_zone, bytes, size, m_offset, limitsFor(size - m_offset));
            if (object.type == msgpack::type::NIL) {
                m_offset = size;
                break;
            }
            readRecord(objectMap(object, at), at);
        }
        if (m_offset < size) {
            return false;
        }
        const std::string problem = m_yield.problem();
        if (!problem.empty() && !m_file.empty()) {
            debugLog("[KXModelController] load data - %s: %s", m_file.c_str(), problem.c_str());
            m_controller.noteLoadProblem(m_file, problem);
        }
        return true;
    }

private:
    void passOver(const std::string& why) {
        if (++m_passedOver > kMaxObjectsPassedOver) {
            throw std::runtime_error("too many objects that are not models");
        }
        m_yield.passOver(why);
    }

    void readRecord(const KXMessagePackMap& map, size_t at) {
        uint32_t id = 0;
        bool idRead = false;
        try {
            if (!map.get(kxkey::id, id)) {
                passOver("the object at byte " + std::to_string(at) + " has no id");
                return;
            }
            idRead = true;
            if (m_type == kConnectionsFile) {
                if (std::shared_ptr<KXModel> model = m_controller.getModel(id)) {
                    noteUnknownKey(m_controller, map, id, m_file);
                    model->unpackConnections(map);
                    m_yield.load(model->className());
                } else {
                    passOver("no model " + std::to_string(id) + " was loaded");
                }
                return;
            }
            if (!map.get(kxkey::className, m_className)) {
                passOver("model " + std::to_string(id) + " has no class name");
                return;
            }
            // A file holds models of one class: its creator is looked up once per run of the name.
            if (!m_lookedUp || m_className != m_lookedUpName) {
                m_creator = m_controller.findCreator(m_className);
                m_lookedUpName = m_className;
                m_lookedUp = true;
            }
            // An unknown class leaves the model that holds the id alone.
            if (m_creator == nullptr) {
                passOver("model " + std::to_string(id) + " is of the unknown class " +
                         quotedEntryName(m_className.data(), m_className.size()));
                return;
            }
            if (std::shared_ptr<KXModel> previous = m_controller.getModel(id)) {
                if (previous->typeId() == KXModelGeneralSettings::staticType()) {
                    KXModelGeneralSettings::resetShared();
                } else {
                    m_controller.removeModel(previous);
                }
            }
            std::shared_ptr<KXModel> model = *m_creator ? (*m_creator)() : nullptr;
            if (!model) {
                return;
            }
            model->unpackValues(map);
            m_controller.addModel(model, UINT32_MAX);
            m_yield.load(m_className);
        } catch (const msgpack::type_error& error) {
            // Before its id the model is known only by where it starts.
            const std::string where = idRead ? describeModel(m_controller, id, m_type, map)
                                             : "the object at byte " + std::to_string(at);
            if (const auto* named = dynamic_cast<const KXStoredShapeError*>(&error)) {
                throw named->inModel(where);
            }
            throw KXStoredShapeError("", "of a kind its class stores").inModel(where);
        }
    }

    KXModelController& m_controller;
    const std::vector<unsigned char> m_bytes;
    const int32_t m_type;
    const std::string m_file;
    size_t m_offset = 0;
    size_t m_passedOver = 0;
    // One zone for every object of the file, emptied (but not freed) before the next.
    msgpack::zone m_zone;
    std::string m_className;
    std::string m_lookedUpName;
    const Creator* m_creator = nullptr;
    bool m_lookedUp = false;
    FileYield m_yield;
};

void KXModelController::parseData(const unsigned char* buffer, size_t size, int32_t type,
                                  const std::string& file) {
    if (buffer == nullptr || size == 0) {
        return;
    }
    PackReading reading(*this, std::vector<unsigned char>(buffer, buffer + size), type, file);
    reading.readSlice(SIZE_MAX);
}

int32_t KXModelController::readPack(std::vector<unsigned char> bytes, int32_t type, const std::string& file) {
    if (bytes.empty()) {
        return 0;
    }
    m_packReading = std::make_shared<PackReading>(*this, std::move(bytes), type, file);
    return continuePackReading(m_slicedLoading ? kPackSliceBytes : SIZE_MAX);
}

int32_t KXModelController::continuePackReading(size_t budget) {
    try {
        if (m_packReading->readSlice(budget)) {
            m_packReading.reset();
        }
        return 0;
    } catch (const std::exception& error) {
        const std::string file = m_packReading->file();
        m_packReading.reset();
        return reportUnreadable(*this, file, error);
    }
}

void KXModelController::openArchive(const std::string& archivePath) {
    m_archiveReader.reset();
    m_keptEntries.clear();
    const std::string path =
        cocos2d::CCFileUtils::sharedFileUtils()->fullPathForFilename(archivePath.c_str());
    try {
        m_archiveReader = std::make_shared<KXArchiveReader>(path);
    } catch (const std::exception& error) {
        debugLog("[KXModelController] open archive - fail: %s", error.what());
        setLastError(std::string(kNoArchive) + ": " + error.what());
    }
}

void KXModelController::closeArchive() {
    m_archiveReader.reset();
    m_keptEntries.clear();
}
