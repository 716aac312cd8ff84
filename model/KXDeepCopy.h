// The children step of deep clones, for child graphs of any depth and with cycles.
//
// A deep clone copies a model, then has the copy copy the source's children, each child by its
// own clone, and so on down. Exported data may nest without bound or loop (a model below itself),
// so every such step goes through kxCopyChildrenDeeply: a model that is already having its
// children copied further up is a cycle, and its copy gets no children; past a few dozen levels
// the step waits in a work list that the outermost clone works off, so the stack stays shallow
// however deep the data goes. Within that depth the steps run at once, in the order the classes
// give, as plain recursion would.
#pragma once

#include <functional>
#include <memory>

class KXModel;

// Runs `copyChildren` (which fills a copy of `source` with copies of its children) as the
// children step of a deep clone of `source`; returns without running it when `source` is
// already having its children copied further up.
void kxCopyChildrenDeeply(const std::shared_ptr<const KXModel>& source, std::function<void()> copyChildren);
