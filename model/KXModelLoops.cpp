// Loops of ownership among models. Children and model references are shared pointers, so models
// that hold each other (a damaged connections file can make a child its parent's parent, or a
// reference point back at what owns it) would outlive everything else. The list of live models
// lets the store find them when it is cleared: a model whose holders are all models counted
// here, and which no model held from elsewhere reaches, can be reached by nobody.
#include <deque>
#include <memory>
#include <unordered_map>
#include <vector>

#include "model/KXBaseAttribute.h"
#include "model/KXModel.h"

namespace {

KXModel* g_liveModels = nullptr;

} // namespace

void KXModel::joinLiveList() {
    m_liveNext = g_liveModels;
    if (g_liveModels != nullptr) {
        g_liveModels->m_livePrevious = this;
    }
    g_liveModels = this;
}

void KXModel::leaveLiveList() {
    if (m_livePrevious != nullptr) {
        m_livePrevious->m_liveNext = m_liveNext;
    } else if (g_liveModels == this) {
        g_liveModels = m_liveNext;
    }
    if (m_liveNext != nullptr) {
        m_liveNext->m_livePrevious = m_livePrevious;
    }
    m_livePrevious = nullptr;
    m_liveNext = nullptr;
}

void KXModel::dismantle() {
    std::vector<std::shared_ptr<KXModel>> children;
    children.swap(m_children);
    forgetChildIndex();
    std::vector<KXBaseAttribute*> attributes;
    attributes.swap(m_attributes);
    m_nameAttribute = nullptr;
    for (KXBaseAttribute* attribute : attributes) {
        attribute->setOwner(nullptr);
    }
    for (KXBaseAttribute* attribute : attributes) {
        delete attribute;
    }
}

size_t KXModel::releaseUnreachableLoops() {
    // Every model owned by a shared pointer (one being made or destroyed has none to lock).
    std::vector<std::shared_ptr<KXModel>> models;
    std::unordered_map<const KXModel*, size_t> indexOf;
    for (KXModel* model = g_liveModels; model != nullptr; model = model->m_liveNext) {
        if (std::shared_ptr<KXModel> held = model->m_weakSelf.lock()) {
            indexOf.emplace(model, models.size());
            models.push_back(std::move(held));
        }
    }
    // Each model's strong links to live models: its children and the models its attributes name.
    std::vector<std::vector<size_t>> links(models.size());
    std::vector<long> heldByModels(models.size(), 0);
    for (size_t i = 0; i < models.size(); ++i) {
        auto link = [&](const KXModel* target) {
            auto found = indexOf.find(target);
            if (found != indexOf.end()) {
                links[i].push_back(found->second);
                ++heldByModels[found->second];
            }
        };
        for (const std::shared_ptr<KXModel>& child : models[i]->m_children) {
            link(child.get());
        }
        for (const KXBaseAttribute* attribute : models[i]->m_attributes) {
            link(attribute->referencedModel().get());
        }
    }
    // Held from elsewhere (beyond `models` itself and the links counted): kept, with all it reaches.
    std::vector<bool> kept(models.size(), false);
    std::deque<size_t> work;
    for (size_t i = 0; i < models.size(); ++i) {
        if (models[i].use_count() - 1 > heldByModels[i]) {
            kept[i] = true;
            work.push_back(i);
        }
    }
    while (!work.empty()) {
        const size_t next = work.front();
        work.pop_front();
        for (size_t target : links[next]) {
            if (!kept[target]) {
                kept[target] = true;
                work.push_back(target);
            }
        }
    }
    size_t released = 0;
    for (size_t i = 0; i < models.size(); ++i) {
        if (!kept[i]) {
            models[i]->dismantle();
            ++released;
        }
    }
    // The last holders go here: the loops are open, so the models are destroyed.
    models.clear();
    return released;
}
