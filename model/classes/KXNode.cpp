#include "model/classes/KXNode.h"

KXNode::KXNode(const std::string& name) : KXBaseNode(name) {}

KXNode::KXNode(const KXNode& source) : KXBaseNode(source) {}

std::shared_ptr<KXModel> KXNode::clone(bool deep, bool registerClone) const {
    return finishClone(KXModel::makeShared<KXNode>(*this), deep, registerClone);
}
