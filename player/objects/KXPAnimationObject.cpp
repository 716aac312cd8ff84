#include "player/objects/KXPAnimationObject.h"

#include "model/KXDebugLog.h"
#include "model/KXNumeric.h"
#include "model/classes/KXModelAnimation.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectAssetUnit.h"
#include "model/classes/KXModelObjectFlag.h"
#include "model/classes/KXModelObjectImage.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectLight.h"
#include "model/classes/KXModelObjectParticles.h"
#include "model/classes/KXModelObjectTrail.h"
#include "model/classes/KXModelScreenScene.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPKinds.h"
#include "player/base/KXPLevelField.h"
#include "player/objects/KXPAnimationNesting.h"
#include "player/objects/KXPObject.h"
#include "player/objects/KXPObjectImage.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/effects/KXPObjectAssetParticles.h"

#include <cmath>

using namespace cocos2d;

namespace {

constexpr float kFramesPerSecond = 30.0f;

// The asset kinds an animation may show; every other asset class is not built here.
bool isAnimatedAssetKind(const std::shared_ptr<KXModel>& model) {
    return modelCast<KXModelObjectAssetUnit>(model) || modelCast<KXModelObjectParticles>(model) ||
           modelCast<KXModelObjectLight>(model) || modelCast<KXModelObjectTrail>(model) ||
           modelCast<KXModelObjectFlag>(model) || modelCast<KXModelObjectAssetPowerup>(model);
}

// The first parent model that is an object: the model whose node this one's node hangs under.
std::shared_ptr<KXModel> objectParentOf(const KXModel& model) {
    for (const std::shared_ptr<KXModel>& parent : model.getParents()) {
        if (modelKindCast<KXModelObject>(parent)) {
            return parent;
        }
    }
    return nullptr;
}

// The object layer and the world of the running game field; none outside a game field.
struct GameField {
    CCNode* layer = nullptr;
    b2World* world = nullptr;
};

// While a game scene is current, its screen is the running scene's child with tag 0.
GameField currentGameField() {
    if (KXPScreensController::shared()->currentSceneKey().empty()) {
        return GameField{};
    }
    CCScene* running = CCDirector::sharedDirector()->getRunningScene();
    auto* field = running != nullptr ? dynamic_cast<KXPLevelField*>(running->getChildByTag(0)) : nullptr;
    if (field == nullptr ||
        !modelCast<KXModelScreenScene>(std::shared_ptr<KXModel>(field->getSceneModel()))) {
        return GameField{};
    }
    return GameField{field->objectLayerNode(), field->getWorld()};
}

} // namespace

KXPAnimationObject::KXPAnimationObject(const std::shared_ptr<KXModelAnimation>& model, KXPObject* /*owner*/,
                                       bool applySpawner)
    : m_model(model) {
    addNodeKinds(kNodeKind);
    if (!m_model) {
        return;
    }
    KXPAnimationBuildScope scope(m_model.get());
    const KXChildSubset::List& frames = m_model->frames();
    const size_t shown = !frames.empty() && scope.loops(m_model->name().c_str()) ? 0 : frames.size();
    for (size_t index = 0; index < shown; ++index) {
        const std::shared_ptr<KXModel>& child = frames[index];
        // A model listed twice gets one node.
        if (!child || m_nodeByModel.count(child.get()) != 0) {
            continue;
        }
        if (!scope.admitNode(m_model->name().c_str())) {
            break;
        }
        if (CCNode* node = buildNode(child, applySpawner)) {
            node->retain();
            m_nodes.push_back(Entry{child, node, modelCast<KXModelObjectParticles>(child) != nullptr});
            m_nodeByModel[child.get()] = node;
        }
    }
    nestNodes();
    updateBounds();
}

KXPAnimationObject::~KXPAnimationObject() {
    for (Entry& entry : m_nodes) {
        CC_SAFE_RELEASE(entry.node);
    }
    m_nodes.clear();
    m_nodeByModel.clear();
}

// One row per kind of node an animation shows, the first that takes the model decides: a few
// asset kinds (made by the asset factory), pictures (images and their subclasses), labels.
struct KXPAnimationFrameKinds {
    struct Row {
        const char* name;
        bool (*takes)(const std::shared_ptr<KXModel>& model);
        CCNode* (KXPAnimationObject::*build)(const std::shared_ptr<KXModel>& child, bool applySpawner);
    };

    static bool image(const std::shared_ptr<KXModel>& model) {
        return static_cast<bool>(modelKindCast<KXModelObjectImage>(model));
    }

    static bool label(const std::shared_ptr<KXModel>& model) {
        return static_cast<bool>(modelCast<KXModelObjectLabel>(model));
    }

    static const std::vector<Row>& rows() {
        static const std::vector<Row> table = {
            {"asset", &isAnimatedAssetKind, &KXPAnimationObject::buildAsset},
            {"image", &image, &KXPAnimationObject::buildImage},
            {"text", &label, &KXPAnimationObject::buildText},
        };
        return table;
    }
};

namespace {
constexpr const char* kFactory = "animation";
} // namespace

KXPKindTable KXPAnimationObject::kindTable() {
    KXPKindTable table{kFactory, {}};
    for (const KXPAnimationFrameKinds::Row& row : KXPAnimationFrameKinds::rows()) {
        table.rows.push_back(row.name);
    }
    return table;
}

CCNode* KXPAnimationObject::buildNode(const std::shared_ptr<KXModel>& child, bool applySpawner) {
    for (const KXPAnimationFrameKinds::Row& row : KXPAnimationFrameKinds::rows()) {
        if (!row.takes(child)) {
            continue;
        }
        CCNode* node = (this->*row.build)(child, applySpawner);
        if (node != nullptr) {
            kxKindMade(kFactory, row.name);
        }
        return node;
    }
    debugLog("Warning uknown object type");
    return nullptr;
}

CCNode* KXPAnimationObject::buildAsset(const std::shared_ptr<KXModel>& child, bool applySpawner) {
    KXPObjectAsset* object = KXPObjectAsset::create(child);
    if (object == nullptr) {
        return nullptr;
    }
    auto placed = std::static_pointer_cast<KXModelObject>(child);
    if (applySpawner) {
        object->setSpawner(placed->isSpawner());
    }
    if (placed->isSpawner() && placed->zDepth() == 0) {
        placed->setZDepth(-1);
    }
    const GameField field = currentGameField();
    if (field.layer != nullptr) {
        object->setObjectLayer(field.layer);
        object->addToWorld(field.world, true);
    } else {
        object->setObjectLayer(nullptr);
    }
    if ((object->getType() & KXPObject::kTypePowerup) != 0) {
        object->setAttached(true);
    }
    return object;
}

CCNode* KXPAnimationObject::buildImage(const std::shared_ptr<KXModel>& child, bool) {
    auto image = modelKindCast<KXModelObjectImage>(child);
    image->setStickToEdge(false);
    return KXPObjectImage::create(image, m_model->speed(), m_model->loop());
}

CCNode* KXPAnimationObject::buildText(const std::shared_ptr<KXModel>& child, bool) {
    KXPObjectText* text = KXPObjectText::create(modelCast<KXModelObjectLabel>(child));
    if (text == nullptr) {
        return nullptr;
    }
    text->setTag(static_cast<int>(child->id()));
    text->setObjectLayer(currentGameField().layer);
    return text;
}

void KXPAnimationObject::nestNodes() {
    std::unordered_map<const KXModel*, size_t> entryOf;
    for (size_t index = 0; index < m_nodes.size(); ++index) {
        entryOf.emplace(m_nodes[index].model.get(), index);
    }
    // A parent that got no node, nesting that would close a loop in the node tree (models that are
    // each other's parents), or nesting too deep leaves the node at the top.
    std::vector<size_t> wanted(m_nodes.size(), kNestTop);
    for (size_t index = 0; index < m_nodes.size(); ++index) {
        if (const std::shared_ptr<KXModel> parentModel = objectParentOf(*m_nodes[index].model)) {
            const auto found = entryOf.find(parentModel.get());
            if (found != entryOf.end()) {
                wanted[index] = found->second;
            }
        }
    }
    bool cut = false;
    const std::vector<size_t> parents = kxpNestEntries(wanted, &cut);
    if (cut) {
        debugLog("[KXPAnimationObject] %s: objects nested more than %zu levels down hang at the top",
                 m_model->name().c_str(), kMaxNestDepth);
    }
    for (size_t index = 0; index < m_nodes.size(); ++index) {
        const Entry& entry = m_nodes[index];
        auto placed = std::static_pointer_cast<KXModelObject>(entry.model);
        CCNode* parent =
            parents[index] == kNestTop ? static_cast<CCNode*>(this) : m_nodes[parents[index]].node;
        parent->addChild(entry.node, placed->zDepth());
        if (modelCast<KXModelObjectLabel>(entry.model)) {
            continue; // the text places itself
        }
        const CCSize& parentSize = parent->getContentSize();
        const CCPoint position = placed->animatedPosition(0.0f, 0);
        entry.node->setPosition(
            CCPoint(parentSize.width * 0.5f + position.x, parentSize.height * 0.5f + position.y));
        entry.node->setRotation(placed->animatedRotation(0.0f, 0));
        const CCPoint scale = placed->animatedScale(0.0f, 0);
        entry.node->setScaleX(scale.x);
        entry.node->setScaleY(scale.y);
    }
}

void KXPAnimationObject::updateBounds() {
    // Boxes have positive extents (a mirrored picture covers as much as its twin), and they are
    // united into a rect of no size at this node's position, which every box contains: measured
    // away from the owner's origin, the bounds are not stretched back to it.
    const CCPoint& centre = getPosition();
    m_contentRect = CCRect(centre.x, centre.y, 0.0f, 0.0f);
    CCObject* item = nullptr;
    CCARRAY_FOREACH(getChildren(), item) {
        CCNode* child = static_cast<CCNode*>(item);
        const float width = std::fabs(child->getContentSize().width * child->getScaleX());
        const float height = std::fabs(child->getContentSize().height * child->getScaleY());
        const CCRect box(centre.x - width * 0.5f, centre.y - height * 0.5f, width, height);
        m_contentRect = m_contentRect.unionWithRect(box);
    }
}

float KXPAnimationObject::effectiveSpeed() const {
    const float speed = m_model->speed();
    return std::isfinite(speed) ? speed : 0.0f;
}

void KXPAnimationObject::update(float dt) {
    if (!m_model) {
        return;
    }
    // The finish callback may make the owner let go of this animation.
    retain();
    const float speed = effectiveSpeed();
    if (isVisible()) {
        m_time += speed * dt;
    }
    // A negative or undefined duration wraps like 0: on every frame the clock moves.
    const float duration = m_model->duration();
    const float wrapAt = duration >= 0.0f ? duration : 0.0f;
    if (m_time > wrapAt) {
        m_time = 0.0f;
        if (m_finishCallback) {
            // A copy, as the callback may replace itself.
            const std::function<void()> callback = m_finishCallback;
            callback();
        }
        if (!m_model->loop()) {
            freezeChildren();
        }
    }
    if (isVisible()) {
        dropDetachedNodes();
        // The entries are fixed once built (only the node of one that left is cleared), and each
        // holds its node retained: a plain walk, with no copy of the list every frame.
        for (const Entry& entry : m_nodes) {
            if (entry.node != nullptr) {
                entry.node->update(entry.particles ? dt : speed * dt);
            }
        }
    }
    release();
}

void KXPAnimationObject::freezeChildren() {
    for (const Entry& entry : m_nodes) {
        if (auto* image = ccNodeAs<KXPObjectImage>(entry.node)) {
            image->pauseActions();
        } else if (auto* particles = ccNodeAs<KXPObjectAssetParticles>(entry.node)) {
            particles->stopEmitters();
        }
    }
}

void KXPAnimationObject::restart() {
    m_time = 0.0f;
    for (const Entry& entry : m_nodes) {
        if (auto* image = ccNodeAs<KXPObjectImage>(entry.node)) {
            image->restart();
        } else if (auto* particles = ccNodeAs<KXPObjectAssetParticles>(entry.node)) {
            particles->resetEmitters();
        }
    }
}

void KXPAnimationObject::stop() {
    m_time = 0.0f;
    for (const Entry& entry : m_nodes) {
        if (auto* image = ccNodeAs<KXPObjectImage>(entry.node)) {
            image->stopActions();
        } else if (auto* particles = ccNodeAs<KXPObjectAssetParticles>(entry.node)) {
            particles->stopEmitters();
        }
    }
}

void KXPAnimationObject::pauseImageActions() {
    for (const Entry& entry : m_nodes) {
        if (auto* image = ccNodeAs<KXPObjectImage>(entry.node)) {
            image->pauseActions();
        }
    }
}

void KXPAnimationObject::resumeImageActions() {
    for (const Entry& entry : m_nodes) {
        if (auto* image = ccNodeAs<KXPObjectImage>(entry.node)) {
            image->resumeActions();
        }
    }
}

void KXPAnimationObject::showImageFrame(int index) {
    // The container takes the index modulo its frame count; a negative one shows the first.
    const unsigned int frame = index > 0 ? static_cast<unsigned int>(index) : 0u;
    for (const Entry& entry : m_nodes) {
        if (auto* image = ccNodeAs<KXPObjectImage>(entry.node)) {
            image->showFrame(frame);
        }
    }
}

void KXPAnimationObject::setObjectLayer(CCNode* layer) {
    for (const Entry& entry : m_nodes) {
        if (auto* object = ccNodeAs<KXPObject>(entry.node)) {
            object->setObjectLayer(layer);
        }
    }
}

void KXPAnimationObject::setOpacityFactor(float factor) {
    m_opacityFactor = factor;
    // Pictures of any image model (buttons included) keep the factor for their own update;
    // runtime objects take it as their own.
    for (const Entry& entry : m_nodes) {
        if (auto* image = ccNodeAs<KXPObjectImage>(entry.node)) {
            image->setOpacityFactor(factor);
        } else if (auto* object = ccNodeAs<KXPObject>(entry.node)) {
            object->setOpacityFactor(factor);
        }
    }
}

int KXPAnimationObject::entryCount() const {
    return m_model ? static_cast<int>(m_model->frameCount()) : 0;
}

CCNode* KXPAnimationObject::childNodeAt(int index) const {
    if (!m_model || index < 0) {
        return nullptr;
    }
    const std::shared_ptr<KXModel> child = m_model->frame(static_cast<unsigned int>(index));
    return child ? nodeOf(child.get()) : nullptr;
}

int KXPAnimationObject::durationInFrames() const {
    return m_model ? kx::truncateToInt(m_model->duration() * kFramesPerSecond) : 0;
}

int KXPAnimationObject::fieldZOrder() {
    return KXPObject::fieldZOrderOf(this);
}

void KXPAnimationObject::setFinishCallback(SEL_CallFunc selector, CCObject* target) {
    if (selector == nullptr || target == nullptr) {
        m_finishCallback = nullptr;
        return;
    }
    m_finishCallback = [selector, target]() {
        // Through locals: the sanitizer build misreads member-pointer calls on captures.
        CCObject* receiver = target;
        SEL_CallFunc call = selector;
        (receiver->*call)();
    };
}

int KXPAnimationObject::getZOrder() {
    CCNode* parent = getParent();
    return parent != nullptr ? parent->getZOrder() : CCNode::getZOrder();
}

void KXPAnimationObject::setVisible(bool visible) {
    CCNode::setVisible(visible);
    for (const Entry& entry : m_nodes) {
        if (entry.node != nullptr) {
            entry.node->setVisible(visible);
        }
    }
}

void KXPAnimationObject::setParent(CCNode* parent) {
    CCNode::setParent(parent);
    if (parent == nullptr) {
        return;
    }
    const int tag = parent->getTag();
    setTag(tag);
    for (const Entry& entry : m_nodes) {
        if (entry.node != nullptr) {
            entry.node->setTag(tag);
        }
    }
}

void KXPAnimationObject::dropDetachedNodes() {
    for (Entry& entry : m_nodes) {
        if (entry.node != nullptr && !isInSubtree(entry.node)) {
            m_nodeByModel.erase(entry.model.get());
            entry.node->release();
            entry.node = nullptr;
        }
    }
}

bool KXPAnimationObject::isInSubtree(CCNode* node) const {
    for (CCNode* current = node->getParent(); current != nullptr; current = current->getParent()) {
        if (current == this) {
            return true;
        }
    }
    return false;
}

CCNode* KXPAnimationObject::nodeOf(const KXModel* model) const {
    const auto found = m_nodeByModel.find(model);
    return found != m_nodeByModel.end() ? found->second : nullptr;
}
