#include "model/classes/KXNode.h"

KXNode::KXNode(const std::string& name) : KXBaseNode(name) {}

KXNode::KXNode(const KXNode& source) : KXBaseNode(source) {}
