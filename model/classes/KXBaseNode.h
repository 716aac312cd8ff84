#pragma once

#include "model/KXModel.h"

#include <memory>
#include <string>

class KXAttributePoint;
class KXModelScreen;

// A node of the screen graph: where it sits in the editor's graph, the "Load" input that the
// output ports of other nodes link to, and its screen model as a child. Output ports added in
// the editor are not declared by any class: they are created on load from the connections map,
// whose "attributesCount" says how many attributes the node had when saved.
class KXBaseNode : public KXModel {
public:
    explicit KXBaseNode(const std::string& name);
    // Every attribute is copied, ports created on load included.
    KXBaseNode(const KXBaseNode& source);

    void registerKeys() const override;
    void packConnections(KXMessagePackMap& map) const override;
    void unpackConnections(const KXMessagePackMap& map) override;
    void loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary) override;
    cocos2d::CCDictionary* saveConnectionsToDictionary() const override;

    // Whether the attribute is one of the node's ordinary attributes rather than an output port
    // leading elsewhere.
    virtual bool filterAttribute(const KXBaseAttribute* attribute) const;

    // The first child that is a kind of screen (a screen or a scene), or empty.
    std::shared_ptr<KXModelScreen> screen() const;

    KXAttributePoint* positionAttribute() const { return m_position; }
    KXBaseAttribute* loadPort() const { return m_load; }

    // The node that an output port of this node leads to, or empty when it is not linked.
    std::shared_ptr<KXBaseNode> nodeLinkedFrom(const KXBaseAttribute* port) const;

    static constexpr const char* kAttributesCountKey = "attributesCount";
    static constexpr const char* kLoadPortName = "Load";

private:
    // A plain output port of that name, appended to the attribute list.
    KXBaseAttribute* addOutputPort(const std::string& name);

    KXAttributePoint* m_position = nullptr;
    KXBaseAttribute* m_load = nullptr;
};
