#pragma once

#include "model/classes/KXNode.h"

#include <memory>
#include <string>

// The node of a game scene; its "UI" output leads to the node of the interface shown over it.
class KXNodeScene : public KXNode {
    KX_MODEL_IDENTITY(KXNodeScene, KXNode)
    KX_MODEL_CREATE(KXNodeScene)
    KX_MODEL_CLONE(KXNodeScene)

public:
    static constexpr const char* kDefaultObjectName = "";
    static constexpr const char* kUIPortName = "UI";

    // An empty name becomes the first free "New World <n>".
    explicit KXNodeScene(const std::string& name);
    KXNodeScene(const KXNodeScene& source);

    // The "UI" port counts as an ordinary attribute although it is an output.
    bool filterAttribute(const KXBaseAttribute* attribute) const override;

    // "New World " and the smallest n from 1 up that no stored scene node is named after.
    static std::string defaultSceneNodeName();
};
