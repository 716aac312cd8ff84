#pragma once

// Some of a model's children, in the order they were added, kept beside the children by
// the childAdded / childRemoved / allChildrenRemoved hooks of the model that owns it. Never
// stored: it is rebuilt as the children are attached on load or on clone.

#include "model/KXModel.h"

#include <algorithm>
#include <memory>
#include <vector>

class KXChildSubset {
public:
    using List = std::vector<std::shared_ptr<KXModel>>;

    void add(const std::shared_ptr<KXModel>& child) { m_models.push_back(child); }
    // Removes the first occurrence only; the rest keep their order.
    void removeFirst(const std::shared_ptr<KXModel>& child) {
        auto found = std::find(m_models.begin(), m_models.end(), child);
        if (found != m_models.end()) {
            m_models.erase(found);
        }
    }
    void clear() { m_models.clear(); }
    // Hands the whole list over and leaves this one empty.
    List take() {
        List taken;
        taken.swap(m_models);
        return taken;
    }

    const List& models() const { return m_models; }
    size_t size() const { return m_models.size(); }
    bool empty() const { return m_models.empty(); }

private:
    List m_models;
};
