#include "model/KXModelController.h"

#include <algorithm>
#include <iterator>
#include <sys/stat.h>

#include "cocos2d.h"
#include "model/KXBaseAttribute.h"
#include "model/KXDebugLog.h"
#include "model/KXModel.h"

namespace {

KXModelController* g_controller = nullptr;

// The store follows these model-reference attributes to the models they name; it
// compares type ids by class name so that it needs no link to the reference classes.
constexpr uint32_t kAnimationAttributeType = kxTypeIdForName("KXAttributeAnimation");
constexpr uint32_t kShapeAttributeType = kxTypeIdForName("KXAttributeShape");
constexpr uint32_t kSpriteAttributeType = kxTypeIdForName("KXAttributeSprite");

// Clears a flag when a cascade ends, also by an exception.
class CascadeGuard {
public:
    explicit CascadeGuard(bool& flag) : m_flag(flag) { m_flag = true; }
    ~CascadeGuard() { m_flag = false; }
    CascadeGuard(const CascadeGuard&) = delete;
    CascadeGuard& operator=(const CascadeGuard&) = delete;

private:
    bool& m_flag;
};

} // namespace

KXModelController* KXModelController::shared() {
    if (g_controller == nullptr) {
        new KXModelController();
    }
    return g_controller;
}

KXModelController* KXModelController::existing() {
    return g_controller;
}

KXModelController::KXModelController() {
    // Set before the registry is filled, so that code run from registration finds it.
    g_controller = this;
    m_dataDirectory = "data";
    registerClasses();
}

KXModelController::~KXModelController() {
    m_archiveReader.reset();
    clear();
    if (g_controller == this) {
        g_controller = nullptr;
    }
}

void KXModelController::registerClass(const std::string& className, Creator creator) {
    if (m_creators.emplace(className, std::move(creator)).second) {
        m_classOrder.push_back(className);
    }
}

void KXModelController::unregisterClass(const std::string& className) {
    if (m_creators.erase(className) != 0) {
        m_classOrder.erase(std::remove(m_classOrder.begin(), m_classOrder.end(), className),
                           m_classOrder.end());
    }
}

std::shared_ptr<KXModel> KXModelController::createModel(const std::string& className) const {
    auto found = m_creators.find(className);
    if (found == m_creators.end() || !found->second) {
        return {};
    }
    return found->second();
}

const KXModelController::Creator* KXModelController::findCreator(const std::string& className) const {
    auto found = m_creators.find(className);
    return found == m_creators.end() ? nullptr : &found->second;
}

bool KXModelController::hasClass(const std::string& className) const {
    return m_creators.count(className) != 0;
}

const uint32_t* KXModelController::storeKeyOf(const KXModel* model) const {
    if (model == nullptr) {
        return nullptr;
    }
    auto entry = m_modelsById.find(model->id());
    if (entry != m_modelsById.end() && entry->second.get() == model) {
        return &entry->first;
    }
    auto displaced = m_displacedKeys.find(model);
    return displaced == m_displacedKeys.end() ? nullptr : &displaced->second;
}

bool KXModelController::isRegistered(const KXModel* model) const {
    return storeKeyOf(model) != nullptr;
}

void KXModelController::reserveModels(size_t count) {
    if (count > m_modelsById.size()) {
        m_modelsById.reserve(count);
    }
}

bool KXModelController::insertIntoStore(const std::shared_ptr<KXModel>& model, uint32_t index) {
    if (!m_modelsById.emplace(model->id(), model).second) {
        return false;
    }
    ClassList& sameClass = m_modelsByType[model->typeId()];
    if (index < sameClass.models.size() - sameClass.empty) {
        // Among the models: the slots after it move on by one.
        closeUp(sameClass);
        sameClass.models.insert(sameClass.models.begin() + index, model);
        for (size_t slot = index; slot < sameClass.models.size(); ++slot) {
            sameClass.models[slot]->m_classSlot = slot;
        }
    } else {
        model->m_classSlot = sameClass.models.size();
        sameClass.models.push_back(model);
    }
    return true;
}

void KXModelController::closeUp(ClassList& list) {
    if (list.empty == 0) {
        return;
    }
    size_t kept = 0;
    for (size_t slot = 0; slot < list.models.size(); ++slot) {
        if (list.models[slot]) {
            list.models[slot]->m_classSlot = kept;
            list.models[kept++] = std::move(list.models[slot]);
        }
    }
    list.models.resize(kept);
    list.empty = 0;
}

bool KXModelController::eraseFromStore(const std::shared_ptr<KXModel>& model) {
    const uint32_t* key = storeKeyOf(model.get());
    if (key == nullptr) {
        return false;
    }
    m_modelsById.erase(*key);
    m_displacedKeys.erase(model.get());
    auto sameClass = m_modelsByType.find(model->typeId());
    if (sameClass == m_modelsByType.end()) {
        return true;
    }
    ClassList& list = sameClass->second;
    const size_t slot = model->m_classSlot;
    if (slot < list.models.size() && list.models[slot] == model) {
        list.models[slot].reset();
        if (++list.empty * 2 > list.models.size()) {
            closeUp(list);
        }
    }
    return true;
}

void KXModelController::addModel(const std::shared_ptr<KXModel>& model, uint32_t index) {
    if (!model) {
        return;
    }
    if (m_addingCascade) {
        m_pendingAdds.emplace_back(model, index);
        return;
    }
    // Depth-first in the order the recursive definition gives: a model, then each
    // model its modelAdded asks for with everything below it, in the order asked.
    CascadeGuard guard(m_addingCascade);
    std::vector<std::pair<std::shared_ptr<KXModel>, uint32_t>>& work = m_addWork;
    work.clear();
    work.emplace_back(model, index);
    while (!work.empty()) {
        auto [next, position] = std::move(work.back());
        work.pop_back();
        if (!insertIntoStore(next, position)) {
            continue;
        }
        m_pendingAdds.clear();
        modelAdded(next);
        work.insert(work.end(), std::make_move_iterator(m_pendingAdds.rbegin()),
                    std::make_move_iterator(m_pendingAdds.rend()));
        m_pendingAdds.clear();
    }
}

void KXModelController::modelAdded(const std::shared_ptr<KXModel>& model) {
    m_changed = true;
    for (const std::shared_ptr<KXModel>& child : model->children()) {
        addModel(child, UINT32_MAX);
    }
    for (KXBaseAttribute* attribute : model->attributes()) {
        const uint32_t type = attribute->typeId();
        if (type == kAnimationAttributeType || type == kShapeAttributeType || type == kSpriteAttributeType) {
            addModel(attribute->referencedModel(), UINT32_MAX);
        }
    }
}

void KXModelController::removeModel(const std::shared_ptr<KXModel>& model) {
    if (!model) {
        return;
    }
    if (m_removingCascade) {
        m_pendingRemoves.push_back(model);
        return;
    }
    CascadeGuard guard(m_removingCascade);
    std::vector<std::shared_ptr<KXModel>> work{model};
    while (!work.empty()) {
        std::shared_ptr<KXModel> next = std::move(work.back());
        work.pop_back();
        if (!eraseFromStore(next)) {
            continue;
        }
        m_pendingRemoves.clear();
        modelRemoved(next);
        work.insert(work.end(), std::make_move_iterator(m_pendingRemoves.rbegin()),
                    std::make_move_iterator(m_pendingRemoves.rend()));
        m_pendingRemoves.clear();
    }
}

void KXModelController::modelRemoved(const std::shared_ptr<KXModel>& model) {
    m_changed = true;
    for (const std::shared_ptr<KXModel>& child : model->children()) {
        bool heldElsewhere = false;
        for (const std::shared_ptr<KXModel>& parent : child->getParents()) {
            if (parent != model && isRegistered(parent.get())) {
                heldElsewhere = true;
                break;
            }
        }
        if (!heldElsewhere) {
            removeModel(child);
        }
    }
    // Animation and shape models belong to the model that names them; sprite containers
    // are shared and stay.
    for (KXBaseAttribute* attribute : model->attributes()) {
        const uint32_t type = attribute->typeId();
        if (type == kAnimationAttributeType || type == kShapeAttributeType) {
            removeModel(attribute->referencedModel());
        }
    }
}

std::shared_ptr<KXModel> KXModelController::getModel(uint32_t id) const {
    auto found = m_modelsById.find(id);
    return found == m_modelsById.end() ? nullptr : found->second;
}

KXModelController::ModelList KXModelController::getModelsByType(uint32_t typeId) const {
    auto found = m_modelsByType.find(typeId);
    if (found == m_modelsByType.end()) {
        return ModelList();
    }
    const ClassList& list = found->second;
    if (list.empty == 0) {
        return list.models;
    }
    ModelList models;
    models.reserve(list.models.size() - list.empty);
    std::copy_if(list.models.begin(), list.models.end(), std::back_inserter(models),
                 [](const std::shared_ptr<KXModel>& model) { return model != nullptr; });
    return models;
}

KXModelController::ModelList KXModelController::getModelsByKind(uint32_t kind) const {
    const auto live = [](const std::shared_ptr<KXModel>& model) { return model != nullptr; };
    ModelList models;
    for (const auto& entry : m_modelsByType) {
        const ModelList& list = entry.second.models;
        // One list holds one class, so its first model decides for all of them.
        const auto first = std::find_if(list.begin(), list.end(), live);
        if (first == list.end() || !(*first)->isKindOf(kind)) {
            continue;
        }
        std::copy_if(first, list.end(), std::back_inserter(models), live);
    }
    return models;
}

void KXModelController::notifyAttributeChanged(KXBaseAttribute* attribute, int flag) {
    if (attribute == nullptr || flag == 2 || !isRegistered(attribute->owner())) {
        return;
    }
    attributeChanged(attribute, flag);
}

void KXModelController::notifyModelChanged(const std::shared_ptr<KXModel>& model) {
    if (model && isRegistered(model.get())) {
        modelChanged(model);
    }
}

void KXModelController::updateModelId(const std::shared_ptr<KXModel>& model, uint32_t oldId) {
    if (!model) {
        return;
    }
    uint32_t key = oldId;
    auto displaced = m_displacedKeys.find(model.get());
    if (displaced != m_displacedKeys.end()) {
        key = displaced->second;
    }
    auto entry = m_modelsById.find(key);
    if (entry == m_modelsById.end() || entry->second != model) {
        return; // not registered: only re-numbered
    }
    const uint32_t newId = model->id();
    if (newId == key) {
        m_displacedKeys.erase(model.get());
        return;
    }
    if (m_modelsById.count(newId) != 0) {
        // Dropping the entry would lose the model; it stays under its old key.
        m_displacedKeys[model.get()] = key;
        debugLog("[KXModelController] id %u is taken; model stays registered under id %u", newId, key);
        return;
    }
    m_modelsById.erase(entry);
    m_displacedKeys.erase(model.get());
    m_modelsById.emplace(newId, model);
    modelChanged(model);
}

void KXModelController::modelChanged(const std::shared_ptr<KXModel>& /*model*/) {
    m_changed = true;
}

void KXModelController::attributeChanged(KXBaseAttribute* /*attribute*/, int /*flag*/) {
    m_changed = true;
}

unsigned int KXModelController::addClearHook(std::function<void()> hook) {
    m_clearHooks.emplace_back(++m_lastClearHook, std::move(hook));
    return m_lastClearHook;
}

void KXModelController::removeClearHook(unsigned int hook) {
    m_clearHooks.erase(std::remove_if(m_clearHooks.begin(), m_clearHooks.end(),
                                      [hook](const auto& entry) { return entry.first == hook; }),
                       m_clearHooks.end());
}

void KXModelController::clear() {
    m_modelsByType.clear();
    {
        // Emptied before the models go, so that their destructors find an empty store. They go
        // in the order of their memory rather than the hash order: tens of thousands of models
        // are released without jumping across the whole heap for each.
        std::vector<std::shared_ptr<KXModel>> released;
        released.reserve(m_modelsById.size());
        for (auto& entry : m_modelsById) {
            released.push_back(std::move(entry.second));
        }
        m_modelsById.clear();
        m_displacedKeys.clear();
        std::sort(released.begin(), released.end(), std::owner_less<std::shared_ptr<KXModel>>());
        released.clear();
    }
    // A copy: a hook may add or remove hooks.
    const auto hooks = m_clearHooks;
    for (const auto& hook : hooks) {
        hook.second();
    }
    // Models that damaged links left holding each other, now that the store holds none.
    KXModel::releaseUnreachableLoops();
    m_lastError.clear();
    m_loadProblems.clear();
    m_loadProblemFiles = 0;
    m_lastProblemFile.clear();
    m_changed = false;
    m_idCounter = 0;
    m_loadState.reset();
    m_packReading.reset();
    cocos2d::CCPoolManager::sharedPoolManager()->finalize();
}

bool KXModelController::archivePresent(const std::string& path) {
    const std::string full = cocos2d::CCFileUtils::sharedFileUtils()->fullPathForFilename(path.c_str());
    // Whatever is there: the reader refuses a pipe, a folder or an empty file, saying which.
    struct stat info;
    return ::stat(full.c_str(), &info) == 0;
}
