// A model's links: its children (owned, in order), its parents (noted weakly) and the attributes of
// other models that refer to it, each side kept in step with the other. A list is searched while it
// is short; once one is long, an index of all three answers instead, so that a load that links a
// model thousands of times stays linear.
#include <algorithm>
#include <iterator>
#include <memory>
#include <vector>

#include "model/KXModel.h"
#include "model/KXModelLinkIndex.h"

namespace {

// The general settings are never anyone's child (compared by class name, so that the
// base needs no link to that class).
constexpr uint32_t kGeneralSettingsType = kxTypeIdForName("KXModelGeneralSettings");

// Whether the entry notes that very model. Compared by owner: a parent that has gone never matches
// a model made later at its address.
bool notes(const std::weak_ptr<KXModel>& entry, const std::shared_ptr<KXModel>& model) {
    return !entry.owner_before(model) && !model.owner_before(entry);
}

} // namespace

// --- referrers ---

bool KXModel::hasReferrer(const KXBaseAttribute* attribute) const {
    if (m_linkIndex != nullptr) {
        return m_linkIndex->referrers.count(attribute) > 0;
    }
    return std::find(m_referrers.begin(), m_referrers.end(), attribute) != m_referrers.end();
}

void KXModel::addReferrer(KXBaseAttribute* attribute) {
    if (hasReferrer(attribute)) {
        return;
    }
    m_referrers.push_back(attribute);
    if (m_linkIndex != nullptr) {
        m_linkIndex->referrers.insert(attribute);
    } else {
        indexLongLinks();
    }
}

void KXModel::removeReferrer(KXBaseAttribute* attribute) {
    if (m_linkIndex != nullptr && m_linkIndex->referrers.erase(attribute) == 0) {
        return;
    }
    // The latest first: a model's referrers usually go in the order they came.
    const auto found = std::find(m_referrers.rbegin(), m_referrers.rend(), attribute);
    if (found != m_referrers.rend()) {
        m_referrers.erase(std::next(found).base());
    }
}

// --- children and parents ---

void KXModel::insertChild(const std::shared_ptr<KXModel>& childRef, int index, bool silent) {
    // A copy: the argument may be an element of a list that changes below.
    const std::shared_ptr<KXModel> child = childRef;
    if (!child || child.get() == this || child->typeId() == kGeneralSettingsType || hasChild(child)) {
        return;
    }
    if (index >= 0 && static_cast<size_t>(index) < m_children.size()) {
        m_children.insert(m_children.begin() + index, child);
    } else {
        m_children.push_back(child);
    }
    if (m_linkIndex != nullptr) {
        m_linkIndex->children.insert(child.get());
    } else {
        indexLongLinks();
    }
    child->addParent(sharedFromThis(), silent);
    childAdded(child);
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModel::addChild(const std::shared_ptr<KXModel>& child, bool silent) {
    insertChild(child, -1, silent);
}

void KXModel::addParent(const std::shared_ptr<KXModel>& parentRef, bool silent) {
    const std::shared_ptr<KXModel> parent = parentRef;
    // The same refusals as insertChild, so that the two sides stay in step.
    if (!parent || parent.get() == this || typeId() == kGeneralSettingsType || hasParent(parent)) {
        return;
    }
    if (m_linkIndex != nullptr && m_parents.size() >= 2 * m_linkIndex->parentsPurgedAt + kIndexedLinks) {
        purgeExpiredParents();
    }
    m_parents.push_back(parent);
    if (m_linkIndex != nullptr) {
        m_linkIndex->parents[parent.get()] = parent;
    } else {
        indexLongLinks();
    }
    parent->addChild(sharedFromThis(), silent);
}

void KXModel::removeChild(const std::shared_ptr<KXModel>& childRef, bool silent) {
    const std::shared_ptr<KXModel> child = childRef;
    if (!child || (m_linkIndex != nullptr && m_linkIndex->children.erase(child.get()) == 0)) {
        return;
    }
    const auto found = std::find(m_children.begin(), m_children.end(), child);
    if (found == m_children.end()) {
        return;
    }
    m_children.erase(found);
    child->removeParent(sharedFromThis(), silent);
    childRemoved(child);
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModel::removeParent(const std::shared_ptr<KXModel>& parentRef, bool silent) {
    const std::shared_ptr<KXModel> parent = parentRef;
    if (!hasParent(parent)) {
        return;
    }
    if (m_linkIndex != nullptr) {
        m_linkIndex->parents.erase(parent.get());
    }
    m_parents.erase(std::find_if(m_parents.begin(), m_parents.end(),
                                 [&](const std::weak_ptr<KXModel>& entry) { return notes(entry, parent); }));
    parent->removeChild(sharedFromThis(), silent);
}

void KXModel::removeAllChildren(bool silent) {
    if (m_children.empty()) {
        return;
    }
    std::vector<std::shared_ptr<KXModel>> former;
    former.swap(m_children);
    forgetChildIndex();
    const std::shared_ptr<KXModel> self = sharedFromThis();
    for (const std::shared_ptr<KXModel>& child : former) {
        child->removeParent(self, silent);
    }
    allChildrenRemoved();
    if (!silent) {
        notifyModelChanged();
    }
}

bool KXModel::hasChild(const std::shared_ptr<KXModel>& child) const {
    if (!child) {
        return false;
    }
    if (m_linkIndex != nullptr) {
        return m_linkIndex->children.count(child.get()) > 0;
    }
    return std::find(m_children.begin(), m_children.end(), child) != m_children.end();
}

size_t KXModel::indexOfChild(const std::shared_ptr<KXModel>& child) const {
    return static_cast<size_t>(std::find(m_children.begin(), m_children.end(), child) - m_children.begin());
}

bool KXModel::hasParent(const std::shared_ptr<KXModel>& model) const {
    if (!model) {
        return false;
    }
    if (m_linkIndex != nullptr) {
        const auto found = m_linkIndex->parents.find(model.get());
        return found != m_linkIndex->parents.end() && notes(found->second, model);
    }
    return std::any_of(m_parents.begin(), m_parents.end(),
                       [&](const std::weak_ptr<KXModel>& entry) { return notes(entry, model); });
}

std::shared_ptr<KXModel> KXModel::getFirstParent() const {
    for (const std::weak_ptr<KXModel>& entry : m_parents) {
        if (std::shared_ptr<KXModel> parent = entry.lock()) {
            return parent;
        }
    }
    return {};
}

std::vector<std::shared_ptr<KXModel>> KXModel::getParents() const {
    std::vector<std::shared_ptr<KXModel>> parents;
    for (const std::weak_ptr<KXModel>& entry : m_parents) {
        if (std::shared_ptr<KXModel> parent = entry.lock()) {
            parents.push_back(std::move(parent));
        }
    }
    return parents;
}

// --- the index ---

void KXModel::indexLongLinks() {
    const auto longest = [this] {
        return std::max({m_parents.size(), m_children.size(), m_referrers.size()});
    };
    if (m_linkIndex != nullptr || longest() < kIndexedLinks) {
        return;
    }
    // Parents that have gone need no entry (nor have an address to give one).
    purgeExpiredParents();
    if (longest() < kIndexedLinks) {
        return;
    }
    auto index = std::make_unique<LinkIndex>();
    for (const std::weak_ptr<KXModel>& entry : m_parents) {
        index->parents.emplace(entry.lock().get(), entry);
    }
    for (const std::shared_ptr<KXModel>& child : m_children) {
        index->children.insert(child.get());
    }
    index->referrers.insert(m_referrers.begin(), m_referrers.end());
    index->parentsPurgedAt = m_parents.size();
    m_linkIndex = std::move(index);
}

void KXModel::forgetChildIndex() {
    if (m_linkIndex != nullptr) {
        m_linkIndex->children.clear();
    }
}

void KXModel::purgeExpiredParents() {
    m_parents.erase(std::remove_if(m_parents.begin(), m_parents.end(),
                                   [](const std::weak_ptr<KXModel>& entry) { return entry.expired(); }),
                    m_parents.end());
    if (m_linkIndex == nullptr) {
        return;
    }
    for (auto entry = m_linkIndex->parents.begin(); entry != m_linkIndex->parents.end();) {
        entry = entry->second.expired() ? m_linkIndex->parents.erase(entry) : std::next(entry);
    }
    m_linkIndex->parentsPurgedAt = m_parents.size();
}
