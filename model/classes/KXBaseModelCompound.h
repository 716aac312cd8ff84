#pragma once

#include "model/KXModel.h"
#include "model/classes/KXChildSubset.h"

#include <memory>
#include <string>

// A model that carries behaviour components: besides its children it lists those that are
// components (kind KXModelComponent), in the order they were added.
class KXBaseModelCompound : public KXModel {
public:
    explicit KXBaseModelCompound(const std::string& name);
    // The copy's component list starts empty and fills as its children are copied.
    KXBaseModelCompound(const KXBaseModelCompound& source);

    // Subclasses with lists of their own call these first.
    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    const KXChildSubset::List& components() const { return m_components.models(); }

private:
    KXChildSubset m_components;
};
