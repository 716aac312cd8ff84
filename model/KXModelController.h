// The one store of live models (by id and by class), the registry that creates a model
// from its stored class name, the change flag, and the state of the data loader.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <string>
#include <unordered_map>
#include <utility>
#include <vector>

#include "model/KXModelLoadState.h"

class KXModel;
class KXBaseAttribute;
class KXArchiveReader;

class KXModelController {
public:
    using Creator = std::function<std::shared_ptr<KXModel>()>;
    using ModelList = std::vector<std::shared_ptr<KXModel>>;

    // The controller, created (with its class registry) on first use.
    static KXModelController* shared();
    // The controller if it exists, else null; never creates it.
    static KXModelController* existing();

    virtual ~KXModelController();

    // --- class registry (filled by registerClasses, in registration order) ---

    // First registration of a name wins.
    void registerClass(const std::string& className, Creator creator);
    // Takes a class out of the registry again (a test's own class).
    void unregisterClass(const std::string& className);
    template <class T> void registerClass() {
        registerClass(T::staticClassName(), [] { return T::create(); });
    }
    // A new model of the named class, or empty for an unknown name.
    std::shared_ptr<KXModel> createModel(const std::string& className) const;
    bool hasClass(const std::string& className) const;
    // The creator of the named class, or null; valid while no class is registered.
    const Creator* findCreator(const std::string& className) const;
    // Registered class names in registration order.
    const std::vector<std::string>& classNames() const { return m_classOrder; }
    size_t classCount() const { return m_classOrder.size(); }

    // --- store ---

    // Registers the model under its id and its class (at `index` in the class list, or
    // appended), then its children and the models of its animation, shape and sprite
    // attributes. Nothing when the id is already taken.
    void addModel(const std::shared_ptr<KXModel>& model, uint32_t index = UINT32_MAX);
    // Unregisters the model, its children that no other registered parent holds, and the
    // models of its animation and shape attributes. Nothing when not registered.
    void removeModel(const std::shared_ptr<KXModel>& model);
    std::shared_ptr<KXModel> getModel(uint32_t id) const;
    // Registered models of exactly that class, in registration order.
    ModelList getModelsByType(uint32_t typeId) const;
    // Registered models of every class that is `kind` or derives from it, grouped by class in
    // ascending order of type id, each group in registration order. It walks the classes and the
    // models it returns, not the whole store.
    ModelList getModelsByKind(uint32_t kind) const;
    const std::unordered_map<uint32_t, std::shared_ptr<KXModel>>& modelsById() const { return m_modelsById; }
    bool isRegistered(const KXModel* model) const;
    // Makes room for this many models in the id table at once, so that filling it never pays
    // a rehash of the whole table in one step. Never shrinks it.
    void reserveModels(size_t count);

    // From KXModel: reach the virtual hooks below only for registered models (and never
    // for attribute flag 2).
    void notifyAttributeChanged(KXBaseAttribute* attribute, int flag);
    void notifyModelChanged(const std::shared_ptr<KXModel>& model);
    // From KXModel::setId: moves the entry when `oldId` holds this very model.
    void updateModelId(const std::shared_ptr<KXModel>& model, uint32_t oldId);

    // Empties the store, runs the clear hooks (the shared general settings let go of
    // their instance), resets error, changed flag, id counter and load state, and drains
    // the autorelease pool. Registry, archive mode and archive reader stay.
    void clear();
    // Runs at step 3 of every clear(), in the order added, until removed by the number returned.
    unsigned int addClearHook(std::function<void()> hook);
    void removeClearHook(unsigned int hook);

    bool isChanged() const { return m_changed; }
    void setChanged(bool changed) { m_changed = changed; }

    // Id counter: every model constructor takes nextModelId(); the general settings set
    // it to their stored last id.
    uint32_t nextModelId() { return ++m_idCounter; }
    uint32_t idCounter() const { return m_idCounter; }
    void setIdCounter(uint32_t value) { m_idCounter = value; }

    const std::string& lastError() const { return m_lastError; }
    void setLastError(const std::string& error) { m_lastError = error; }
    // Files of this load that did not read whole although the load went on (a read that failed,
    // links stored under keys the key table lacks, a file that loaded nothing or only another
    // class's models): each "<file>: <why>", the first problem of a file, the first
    // kMaxLoadProblems files; emptied by clear().
    static constexpr size_t kMaxLoadProblems = 8;
    void noteLoadProblem(const std::string& file, const std::string& why);
    const std::vector<std::string>& loadProblems() const { return m_loadProblems; }
    // The problems in one line, "<file>: <why>; ..." and how many more files had one; empty
    // without any.
    std::string loadProblemsText() const;

    std::string dataDirectory() const { return m_dataDirectory; }
    bool isArchiveMode() const { return m_archiveMode; }
    void setArchiveMode(bool archiveMode) { m_archiveMode = archiveMode; }
    // Whether a game with its data archive at `path` loads in archive mode: something is there
    // (the archive reader then opens it, or says why it does not: a pipe, a folder, empty).
    static bool archivePresent(const std::string& path);
    KXModelLoadState& loadState() { return m_loadState; }
    const KXModelLoadState& loadState() const { return m_loadState; }

    // --- loading sequence (defined with the loader) ---
    void loadInitialData(const std::string& archivePath, const char* storedPassword);
    bool loadNextArchiveFile(const char* storedPassword);
    bool loadNextFile();
    int32_t loadingProgress() const { return m_loadState.progress; }
    // True when the load stopped on an error that makes it meaningless (see lastError()).
    bool loadFailed() const { return m_loadState.failed; }
    int32_t loadDataFromArchive(const std::string& entryName, int32_t type, const char* storedPassword);
    int32_t loadDataFromFile(const std::string& path, int32_t type);
    // `file` names the data in the problems noted while reading it. A value of the wrong kind
    // throws KXStoredShapeError naming the model and what the value should have been.
    void parseData(const unsigned char* buffer, size_t size, int32_t type,
                   const std::string& file = std::string());
    // A loading step reads at most this many bytes, and this many records, of a pack file: a
    // larger file goes on in the next steps, so that no step holds a frame long. A slice reads in
    // some milliseconds; the packs of games as made are read whole, each in one step.
    static constexpr size_t kPackSliceBytes = size_t(1) << 20;
    static constexpr size_t kPackSliceRecords = 8192;
    // Links cost the most to read (20,000 sections sharing their objects: a megabyte of them, a
    // third of a second): a file of links is read a quarter as far a step.
    static constexpr size_t kLinkSliceBytes = kPackSliceBytes / 4;
    static constexpr size_t kLinkSliceRecords = kPackSliceRecords / 4;
    // Whether a pack file is part read (the next loading step goes on with it).
    bool isReadingPack() const { return m_packReading != nullptr; }
    // The entry's bytes; false when there is no archive or no such entry.
    bool readFileArchive(const std::string& entryName, std::vector<unsigned char>& data,
                         const char* storedPassword);
    void openArchive(const std::string& archivePath);
    void closeArchive();
    // The models the data's attributes files may hold, from the archive's or the data folder's
    // entries (their count and sizes): an estimate on the large side, bounded.
    size_t expectedModelCount() const;
    std::string packFileName(const KXModelLoadState& state) const;
    int32_t advanceLoadPass(KXModelLoadState& state);

protected:
    KXModelController();

    // Hooks of the store.
    virtual void modelAdded(const std::shared_ptr<KXModel>& model);
    virtual void modelRemoved(const std::shared_ptr<KXModel>& model);
    virtual void modelChanged(const std::shared_ptr<KXModel>& model);
    virtual void attributeChanged(KXBaseAttribute* attribute, int flag);

    // Registers every model class (registerClass<T>() in registration order). Defined with
    // the class registry in model/classes/, not here.
    void registerClasses();

    // The open data archive, if any (a shared pointer, so that this header and the store
    // need not see the reader's definition).
    std::shared_ptr<KXArchiveReader> m_archiveReader;

private:
    class PackReading;
    // Reads the pack: all of it, or in a loading step its first slice, leaving the rest to the
    // next steps. 0 when read so far, 2 when it did not decode (the error then noted).
    int32_t readPack(std::vector<unsigned char> bytes, int32_t type, const std::string& file);
    int32_t continuePackReading(size_t budget);

    // The id-map key that holds this model, or null when it is not registered.
    const uint32_t* storeKeyOf(const KXModel* model) const;
    bool insertIntoStore(const std::shared_ptr<KXModel>& model, uint32_t index);
    bool eraseFromStore(const std::shared_ptr<KXModel>& model);

    // The next pass of the walk; after the last one a game without general settings fails the load.
    bool finishLoadPass(KXModelLoadState& state);
    // The failure of a load without general settings: the settings file and why it gave none.
    std::string noGeneralSettingsError(bool missing) const;
    // How lines name a pack file of the current mode: its path in the data folder, or its entry.
    std::string packFileLabel(const std::string& name) const;

    std::unordered_map<std::string, Creator> m_creators;
    std::vector<std::string> m_classOrder;
    // The models of each class in the order they came, each knowing its slot. A model that goes
    // leaves its slot empty, and the list is closed up once half of it is empty: a file that gives
    // many ids again (each replacing a model) costs no walk of its class's list for each.
    struct ClassList {
        ModelList models;
        size_t empty = 0;
    };
    void closeUp(ClassList& list);
    std::map<uint32_t, ClassList> m_modelsByType;
    std::unordered_map<uint32_t, std::shared_ptr<KXModel>> m_modelsById;
    std::string m_lastError;
    std::vector<std::string> m_loadProblems;
    size_t m_loadProblemFiles = 0;
    std::string m_lastProblemFile;
    bool m_changed = false;
    uint32_t m_idCounter = 0;
    bool m_archiveMode = false;
    KXModelLoadState m_loadState;
    std::shared_ptr<PackReading> m_packReading;
    bool m_slicedLoading = false;
    std::string m_dataDirectory;
    std::vector<std::pair<unsigned int, std::function<void()>>> m_clearHooks;
    unsigned int m_lastClearHook = 0;
    // Registered models kept under a key other than their id, because the id they were
    // given was taken by another model.
    std::unordered_map<const KXModel*, uint32_t> m_displacedKeys;

    // Models waiting to be registered or unregistered: cascades run from a work list,
    // so that a deep chain of children cannot exhaust the stack.
    std::vector<std::pair<std::shared_ptr<KXModel>, uint32_t>> m_pendingAdds;
    // The outermost addModel's work list, kept for the next (a load adds models by the thousand).
    std::vector<std::pair<std::shared_ptr<KXModel>, uint32_t>> m_addWork;
    std::vector<std::shared_ptr<KXModel>> m_pendingRemoves;
    bool m_addingCascade = false;
    bool m_removingCascade = false;

    // Archive entries read for the loading screen, decrypted once: the walk parses these bytes
    // instead of deriving the entry's key a second time. Kept only while m_keepArchiveEntries.
    std::map<std::string, std::vector<unsigned char>> m_keptEntries;
    bool m_keepArchiveEntries = false;
};
