#pragma once

#include "model/classes/KXNode.h"

#include <memory>
#include <string>

// A UI screen's node in the screen graph.
class KXNodeUI : public KXNode {
    KX_MODEL_IDENTITY(KXNodeUI, KXNode)

public:
    static constexpr const char* kDefaultObjectName = "";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXNodeUI& source);

    // An empty name is replaced by defaultName().
    explicit KXNodeUI(const std::string& name);
    KXNodeUI(const KXNodeUI& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

    // "New UI n" with the smallest n that no stored node of exactly this class is named.
    static std::string defaultName();
};
