#include "tools/kxdata/graph_command.h"

#include <deque>
#include <memory>
#include <set>
#include <vector>

#include "model/KXBaseAttribute.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreen.h"
#include "model/classes/KXNode.h"
#include "model/classes/KXNodeUIStart.h"
#include "tools/kxdata/KXLoadRunner.h"

namespace kxdata {

namespace {

constexpr int kExitLoadFailed = 2;
constexpr int kExitNoStartNode = 3;

std::string nodeLabel(const KXNode& node) {
    if (!node.name().empty()) {
        return node.name();
    }
    return std::string(node.className()) + "#" + std::to_string(node.id());
}

// The node whose "Load" the output is linked to, or empty.
std::shared_ptr<KXNode> linkedNode(const KXBaseAttribute& output) {
    if (output.connectionKind() != KXAttributeConnectionOutput) {
        return nullptr;
    }
    KXBaseAttribute* input = output.connection();
    if (input == nullptr || input->owner() == nullptr || input->name() != KXBaseNode::kLoadPortName) {
        return nullptr;
    }
    return modelKindCast<KXNode>(input->owner()->sharedFromThis());
}

// Targets of the node's own ports, then of the objects on its screen, in attribute order.
std::vector<std::shared_ptr<KXNode>> linksOf(const KXNode& node) {
    std::vector<std::shared_ptr<KXNode>> targets;
    auto collect = [&targets](const KXModel& model) {
        for (const KXBaseAttribute* attribute : model.attributes()) {
            if (std::shared_ptr<KXNode> target = linkedNode(*attribute)) {
                targets.push_back(target);
            }
        }
    };
    collect(node);
    if (std::shared_ptr<KXModelScreen> screen = node.screen()) {
        for (const std::shared_ptr<KXModelObject>& object : screen->getObjects()) {
            collect(*object);
        }
    }
    return targets;
}

} // namespace

void printScreenGraph(std::FILE* out) {
    std::vector<std::shared_ptr<KXNodeUIStart>> starts = getModels<KXNodeUIStart>();
    if (starts.empty()) {
        return;
    }
    std::set<const KXModel*> seen{starts.front().get()};
    std::deque<std::shared_ptr<KXNode>> pending{starts.front()};
    while (!pending.empty()) {
        std::shared_ptr<KXNode> node = pending.front();
        pending.pop_front();
        for (const std::shared_ptr<KXNode>& target : linksOf(*node)) {
            std::shared_ptr<KXModelScreen> screen = target->screen();
            std::fprintf(out, "%s -> %s (%s)\n", nodeLabel(*node).c_str(), nodeLabel(*target).c_str(),
                         screen ? screen->key().c_str() : "");
            if (seen.insert(target.get()).second) {
                pending.push_back(target);
            }
        }
    }
}

int graphCommand(const std::string& dir) {
    const LoadOutcome outcome = runLoad(dir);
    if (!outcome.ok) {
        std::fprintf(stderr, "error: %s\n", outcome.error.empty() ? "load failed" : outcome.error.c_str());
        return kExitLoadFailed;
    }
    if (getModels<KXNodeUIStart>().empty()) {
        std::fprintf(stderr, "error: no start node\n");
        return kExitNoStartNode;
    }
    printScreenGraph(stdout);
    return 0;
}

} // namespace kxdata
