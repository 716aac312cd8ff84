#include "player/objects/KXPObject.h"

#include "model/classes/KXBaseModelObject.h"
#include "player/base/KXPGameplaySettings.h"
#include "player/base/KXPNodeKinds.h"
#include "player/components/KXComponent.h"
#include "player/components/KXComponentHealth.h"
#include "player/components/KXComponentMove.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/objects/KXPAnimationObject.h"

#include <algorithm>
#include <array>
#include <vector>

using namespace cocos2d;

namespace {
constexpr float kDefaultExtent = 100.0f;

// The children of one update's walk, each retained: most objects have a few, held without the heap.
class ChildWalk {
public:
    ChildWalk() = default;
    ChildWalk(const ChildWalk&) = delete;
    ChildWalk& operator=(const ChildWalk&) = delete;
    size_t size() const { return m_size; }
    CCNode* operator[](size_t index) const {
        return index < kInline ? m_inline[index] : m_more[index - kInline];
    }
    void push(CCNode* child) {
        child->retain();
        if (m_size < kInline) {
            m_inline[m_size] = child;
        } else {
            m_more.push_back(child);
        }
        ++m_size;
    }
    ~ChildWalk() {
        for (size_t index = 0; index < m_size; ++index) {
            (*this)[index]->release();
        }
    }

private:
    static constexpr size_t kInline = 8;
    std::array<CCNode*, kInline> m_inline{};
    std::vector<CCNode*> m_more;
    size_t m_size = 0;
};

// Appends to the walk the parent's children not in it yet: all of them at first, later those
// added while the walk went on.
void takeUpChildren(CCNode& parent, ChildWalk& walk) {
    const unsigned int count = parent.getChildrenCount();
    CCObject* item = nullptr;
    if (walk.size() == 0) {
        CCARRAY_FOREACH(parent.getChildren(), item) {
            walk.push(static_cast<CCNode*>(item));
        }
        return;
    }
    // Each child is in the array once: more children than walked ones still here means some are new.
    size_t staying = 0;
    for (size_t index = 0; index < walk.size(); ++index) {
        staying += walk[index]->getParent() == &parent ? 1 : 0;
    }
    if (count <= staying) {
        return;
    }
    std::vector<CCNode*> walked;
    walked.reserve(walk.size());
    for (size_t index = 0; index < walk.size(); ++index) {
        walked.push_back(walk[index]);
    }
    std::sort(walked.begin(), walked.end());
    CCARRAY_FOREACH(parent.getChildren(), item) {
        CCNode* child = static_cast<CCNode*>(item);
        if (!std::binary_search(walked.begin(), walked.end(), child)) {
            walk.push(child);
        }
    }
}
} // namespace

KXPObject::KXPObject(const std::shared_ptr<KXBaseModelObject>& model) : m_model(model) {
    addNodeKinds(kNodeKind);
    static uint32_t made = 0;
    m_traceId = ++made;
}

KXPObject::~KXPObject() {
    for (KXComponent* component : m_components) {
        delete component;
    }
    m_components.clear();
}

void KXPObject::attachComponent(KXComponent* component) {
    if (component == nullptr) {
        return;
    }
    component->setOwner(this);
    m_components.push_back(component);
}

void KXPObject::update(float dt) {
    if (m_pendingState != kNoPendingState) {
        const int32_t pending = m_pendingState;
        m_pendingState = kNoPendingState;
        setState(pending);
    }

    // Components may not add or remove components, but they may be handed work that does: walk
    // a copy.
    if (!m_components.empty()) {
        const std::vector<KXComponent*> components = m_components;
        for (KXComponent* component : components) {
            component->update(dt);
        }
    }

    // A child may take itself or any sibling out while it updates (a look that ends, a rider that
    // dies), which would shift a walk by index past the next child, and it may add children. So
    // the walk goes over a retained copy, skips those that left and then takes up the children
    // added meanwhile. The whole copy stays retained until the removed children are taken out,
    // so that a sibling deleting one cannot leave a dangling pointer here.
    if (getChildrenCount() > 0) {
        ChildWalk walk;
        std::vector<CCNode*> removed;
        takeUpChildren(*this, walk);
        for (size_t next = 0; next < walk.size(); ++next) {
            CCNode* child = walk[next];
            if (child->getParent() == this) {
                child->update(dt);
                KXPObject* object = ccNodeAs<KXPObject>(child);
                if (object != nullptr && object->getState() == kStateRemoved) {
                    removed.push_back(child);
                }
            }
            if (next + 1 == walk.size()) {
                takeUpChildren(*this, walk);
            }
        }
        for (CCNode* child : removed) {
            if (child->getParent() == this) {
                removeChild(child, true);
            }
        }
    }

    setVisible(isOnScreen());
}

void KXPObject::resetComponents() {
    for (KXComponent* component : components()) {
        component->reset();
    }
}

void KXPObject::restoreInitialState() {}

void KXPObject::setState(int32_t state) {
    const int32_t previous = m_state;
    m_state = state;
    if (previous != state) {
        noteChangeToParentWatch();
    }
    for (KXComponent* component : components()) {
        component->ownerStateChanged();
    }
}

CCRect KXPObject::boundingRect() {
    CCPoint position = getPosition();
    CCNode* parent = getParent();
    if (parent != nullptr && parent != m_layer) {
        position = position + parent->getPosition();
    }
    return CCRect(position.x - kDefaultExtent * 0.5f, position.y - kDefaultExtent * 0.5f, kDefaultExtent,
                  kDefaultExtent);
}

void KXPObject::wakeUp() {
    m_awake = true;
}

b2AABB KXPObject::getAABB() {
    b2AABB box;
    box.lowerBound.SetZero();
    box.upperBound.SetZero();
    // A disabled body has no broad-phase proxies; asking its fixture for one would abort.
    if (m_body == nullptr || !m_body->IsEnabled() || m_body->GetFixtureList() == nullptr) {
        return box;
    }
    return m_body->GetFixtureList()->GetAABB(0);
}

void KXPObject::setSpawner(bool spawner) {
    m_spawner = spawner;
}

void KXPObject::setObjectLayer(CCNode* layer) {
    m_layer = layer;
}

b2BodyType KXPObject::bodyTypeInMotion() const {
    return m_body != nullptr ? m_body->GetType() : b2_staticBody;
}

void KXPObject::setType(uint32_t flags) {
    const uint32_t previous = m_type;
    m_type = flags;
    if (previous != flags) {
        noteChangeToParentWatch();
        // A character's group finds it by its type.
        if (auto* camera = ccNodeAs<KXPGameFieldCamera>(getParent())) {
            camera->childrenChanged();
        }
    }
}

void KXPObject::setOpacityFactor(float factor) {
    m_opacityFactor = factor;
}

bool KXPObject::isOnScreen() {
    // A marked child (tag above 0) that shows keeps its object on screen wherever it is.
    if (getChildrenCount() > 0) {
        bool childVisible = false;
        CCObject* item = nullptr;
        CCARRAY_FOREACH(getChildren(), item) {
            CCNode* child = static_cast<CCNode*>(item);
            if (child->getTag() > 0) {
                childVisible = child->isVisible();
            }
        }
        if (childVisible) {
            return true;
        }
    }
    if (m_layer == nullptr) {
        return true;
    }

    const KXPGameplaySettings* values = KXPGameplaySettings::shared();
    const float back = values->getBackDeletionThreshold();
    const float sides = values->getSidesDeletionThreshold();
    const CCPoint offset = visibleAreaOffset();
    const CCPoint layerPosition = m_layer->getPosition();
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    const CCRect visible(-layerPosition.x - back - offset.x, -layerPosition.y - sides - offset.y,
                         window.width + 2.0f * back, window.height + 2.0f * sides);
    return visible.intersectsRect(boundingRect());
}

bool KXPObject::blocksLight() {
    return false;
}

void KXPObject::setMovementEnabled(bool enabled) {
    m_movementEnabled = enabled;
}

std::string KXPObject::physicsName() const {
    return m_model ? m_model->name() : std::string();
}

unsigned int KXPObject::physicsModelId() const {
    return m_model ? m_model->id() : 0u;
}

void KXPObject::fixtureGoing(b2Fixture* fixture) {
    for (KXComponent* component : m_components) {
        component->fixtureGoing(fixture);
    }
}

KXComponentHealth* KXPObject::healthComponent() const {
    for (KXComponent* component : m_components) {
        if (KXComponentHealth* health = dynamic_cast<KXComponentHealth*>(component)) {
            return health;
        }
    }
    return nullptr;
}

void KXPObject::copyComponentStates(KXPObject* other) {
    if (other == nullptr) {
        return;
    }
    std::vector<bool> enabled;
    for (KXComponent* component : other->components()) {
        enabled.push_back(component->isEnabled());
    }
    const std::vector<KXComponent*> own = components();
    for (size_t index = 0; index < own.size() && index < enabled.size(); ++index) {
        if (KXComponentMove* move = dynamic_cast<KXComponentMove*>(own[index])) {
            move->setActive(enabled[index], true);
        } else {
            own[index]->setEnabled(enabled[index]);
        }
    }
}

int KXPObject::fieldZOrder() {
    return fieldZOrderOf(this);
}

int KXPObject::fieldZOrderOf(CCNode* node) {
    CCNode* current = node;
    while (current != nullptr) {
        CCNode* parent = current->getParent();
        if (parent == nullptr) {
            return 0;
        }
        // The field's object layer, known by its kind bit alone.
        if ((parent->getNodeKinds() & kKXPNodeGameFieldCamera) != 0) {
            return current->getZOrder();
        }
        if (ccNodeAs<KXPObject>(parent) == nullptr && ccNodeAs<KXPAnimationObject>(parent) == nullptr) {
            return 0;
        }
        current = parent;
    }
    return 0;
}
