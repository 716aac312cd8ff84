#pragma once

#include "model/classes/KXNode.h"

#include <memory>
#include <string>

// The node of a game scene; its "UI" output leads to the node of the interface shown over it.
class KXNodeScene : public KXNode {
    KX_MODEL_IDENTITY(KXNodeScene, KXNode)

public:
    static constexpr const char* kDefaultObjectName = "";
    static constexpr const char* kUIPortName = "UI";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXNodeScene& source);

    // An empty name becomes the first free "New World <n>".
    explicit KXNodeScene(const std::string& name);
    KXNodeScene(const KXNodeScene& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

    // The "UI" port counts as an ordinary attribute although it is an output.
    bool filterAttribute(const KXBaseAttribute* attribute) const override;

    // "New World " and the smallest n from 1 up that no stored scene node is named after.
    static std::string defaultSceneNodeName();
};
