#include "model/KXDeepCopy.h"

#include <unordered_map>
#include <utility>
#include <vector>

namespace {

// Children steps this deep on the stack at once; deeper ones wait in the work list. Exported
// games nest a handful of levels, so their clones never wait.
constexpr size_t kMaxNestedSteps = 48;

// A model having its children copied, linked to the one above it: the chain of a step up to the
// outermost clone. A waiting step keeps the chain it was met under.
struct Ancestor {
    const KXModel* model;
    mutable std::shared_ptr<const Ancestor> above;
    size_t depth;

    // Letting go of a long chain link by link would recurse once a level: unlink it in a loop,
    // as far as nobody else holds the rest.
    ~Ancestor() {
        std::shared_ptr<const Ancestor> next = std::move(above);
        while (next && next.use_count() == 1) {
            std::shared_ptr<const Ancestor> after = std::move(next->above);
            next = std::move(after);
        }
    }
};

struct WaitingStep {
    std::shared_ptr<const KXModel> source;
    std::function<void()> copyChildren;
    std::shared_ptr<const Ancestor> chain;
};

struct Walk {
    // The chain of the running step, and how often each model occurs on it (a model met while
    // it is on the chain is below itself).
    std::shared_ptr<const Ancestor> chain;
    std::unordered_map<const KXModel*, size_t> onChain;
    // Steps on the stack since the outermost clone, or since the waiting step being worked began.
    size_t nested = 0;
    // The outermost clone is working off the waiting steps.
    bool working = false;
    std::vector<WaitingStep> waiting;
};

Walk& walk() {
    // Never destroyed: models may still be cloned during static destruction.
    static Walk* state = new Walk();
    return *state;
}

size_t depthOf(const std::shared_ptr<const Ancestor>& link) {
    return link ? link->depth : 0;
}

void enter(Walk& state, const KXModel* model) {
    ++state.onChain[model];
}

void leave(Walk& state, const KXModel* model) {
    auto found = state.onChain.find(model);
    if (found != state.onChain.end() && --found->second == 0) {
        state.onChain.erase(found);
    }
}

// Makes `target` the walk's chain: leaves the models below the point where the two chains meet,
// enters the target's. Consecutive waiting steps lie close together, so this stays cheap.
void moveChain(Walk& state, const std::shared_ptr<const Ancestor>& target) {
    std::shared_ptr<const Ancestor> from = state.chain;
    std::shared_ptr<const Ancestor> to = target;
    std::vector<const KXModel*> entering;
    while (from != to) {
        if (depthOf(from) >= depthOf(to)) {
            leave(state, from->model);
            from = from->above;
        } else {
            entering.push_back(to->model);
            to = to->above;
        }
    }
    for (const KXModel* model : entering) {
        enter(state, model);
    }
    state.chain = target;
}

// Runs one step with `source` on the chain; the chain is as before when it ends, however it ends.
void runStep(Walk& state, const KXModel* source, const std::function<void()>& copyChildren) {
    struct Restore {
        Walk& state;
        const KXModel* source;
        std::shared_ptr<const Ancestor> previous;
        ~Restore() {
            --state.nested;
            leave(state, source);
            state.chain = std::move(previous);
        }
    } restore{state, source, state.chain};
    state.chain = std::make_shared<const Ancestor>(Ancestor{source, state.chain, depthOf(state.chain) + 1});
    enter(state, source);
    ++state.nested;
    copyChildren();
}

} // namespace

void kxCopyChildrenDeeply(const std::shared_ptr<const KXModel>& source, std::function<void()> copyChildren) {
    Walk& state = walk();
    const KXModel* model = source.get();
    if (state.onChain.count(model) != 0) {
        return; // a cycle: its copy stays without children
    }
    if (state.nested >= kMaxNestedSteps) {
        state.waiting.push_back({source, std::move(copyChildren), state.chain});
        return;
    }
    if (state.nested > 0 || state.working) {
        runStep(state, model, copyChildren);
        return;
    }
    // The outermost clone: its own step, then the waiting ones, the latest first (depth first).
    try {
        runStep(state, model, copyChildren);
        state.working = true;
        while (!state.waiting.empty()) {
            WaitingStep step = std::move(state.waiting.back());
            state.waiting.pop_back();
            moveChain(state, step.chain);
            runStep(state, step.source.get(), step.copyChildren);
        }
        moveChain(state, nullptr);
        state.working = false;
    } catch (...) {
        state.waiting.clear();
        state = Walk();
        throw;
    }
}
