#include "model/classes/KXBaseModelScreenScene.h"

#include "model/KXModelController.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributePoint.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelComponentDeletionThreshold.h"
#include "model/classes/KXModelComponentForcedMovement.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelObjectAssetCharacter.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelQueries.h"
#include "model/classes/KXModelScreenScene.h"

#include <algorithm>

using namespace cocos2d;

namespace {

const char* const kFrameStateNames[4] = {"Object Frame State 1", "Object Frame State 2",
                                         "Object Frame State 3", "Object Frame State 4"};

float floatOf(const KXAttributeFloat* attribute, float fallback) {
    return attribute != nullptr ? attribute->value() : fallback;
}

// A value of a component child that stands in for the scene's own one; the scene's value when
// the child is absent or lacks that attribute.
float overridden(const std::shared_ptr<KXModel>& child, const char* name, const KXAttributeFloat* own,
                 float fallback) {
    if (child) {
        if (const KXAttributeFloat* attribute = attributeOfClass<KXAttributeFloat>(*child, name)) {
            return attribute->value();
        }
    }
    return floatOf(own, fallback);
}

} // namespace

KXBaseModelScreenScene::KXBaseModelScreenScene(const std::string& name) : KXModelScreen(name) {
    m_gravity = new KXAttributePoint("Gravity", this);
    m_timeWarp = new KXAttributeFloat("Time Warp", this);
    m_gameSpeedMin = new KXAttributeFloat("Game Speed Min", this);
    m_gameSpeedMax = new KXAttributeFloat("Game Speed Max", this);
    m_speedIncrease = new KXAttributeFloat("Speed Increase", this);
    m_friction = new KXAttributeFloat("Friction", this);
    m_velocityDrag = new KXAttributeFloat("Velocity Drag", this);
    m_bounce = new KXAttributeFloat("Bounce", this);
    m_scoreMultiplier = new KXAttributeFloat("Score Multiplier", this);
    m_gameDirection = new KXAttributeFloat("Game Direction", this);
    m_cameraSmooth = new KXAttributeFloat("Camera Smooth", this);
    m_alignCameraBorders = new KXAttributeBool("Align Camera Borders", this);
    m_backDeletionThreshold = new KXAttributeFloat("Back Deletion Threshold", this);
    m_sidesDeletionThreshold = new KXAttributeFloat("Sides Deletion Threshold", this);
    m_objectFrameRect = new KXAttributeRect("Object Frame Rect", this);
    for (int edge = 0; edge < 4; ++edge) {
        m_objectFrameStates[edge] = new KXAttributeFrameEdgeState(kFrameStateNames[edge], this);
    }

    m_gravity->setValue(CCPoint(0.0f, -50.0f), true);
    m_timeWarp->setValue(1.0f, true);
    m_velocityDrag->setValue(1.0f, true);
    m_scoreMultiplier->setValue(1.0f, true);
    m_cameraSmooth->setValue(0.2f, true);
    m_backDeletionThreshold->setValue(300.0f, true);
    m_sidesDeletionThreshold->setValue(550.0f, true);
    m_objectFrameRect->setValue(CCRect(0.0f, 0.0f, 1.0f, 1.0f), true);
}

KXBaseModelScreenScene::KXBaseModelScreenScene(const KXBaseModelScreenScene& source)
    : KXModelScreen(source), m_gravity(boundAttribute<KXAttributePoint>(*this, "Gravity")),
      m_timeWarp(boundAttribute<KXAttributeFloat>(*this, "Time Warp")),
      m_gameSpeedMin(boundAttribute<KXAttributeFloat>(*this, "Game Speed Min")),
      m_gameSpeedMax(boundAttribute<KXAttributeFloat>(*this, "Game Speed Max")),
      m_speedIncrease(boundAttribute<KXAttributeFloat>(*this, "Speed Increase")),
      m_friction(boundAttribute<KXAttributeFloat>(*this, "Friction")),
      m_velocityDrag(boundAttribute<KXAttributeFloat>(*this, "Velocity Drag")),
      m_bounce(boundAttribute<KXAttributeFloat>(*this, "Bounce")),
      m_scoreMultiplier(boundAttribute<KXAttributeFloat>(*this, "Score Multiplier")),
      m_gameDirection(boundAttribute<KXAttributeFloat>(*this, "Game Direction")),
      m_cameraSmooth(boundAttribute<KXAttributeFloat>(*this, "Camera Smooth")),
      m_alignCameraBorders(boundAttribute<KXAttributeBool>(*this, "Align Camera Borders")),
      m_backDeletionThreshold(boundAttribute<KXAttributeFloat>(*this, "Back Deletion Threshold")),
      m_sidesDeletionThreshold(boundAttribute<KXAttributeFloat>(*this, "Sides Deletion Threshold")),
      m_objectFrameRect(boundAttribute<KXAttributeRect>(*this, "Object Frame Rect")) {
    for (int edge = 0; edge < 4; ++edge) {
        m_objectFrameStates[edge] = boundAttribute<KXAttributeFrameEdgeState>(*this, kFrameStateNames[edge]);
    }
}

KXBaseModelScreenScene::~KXBaseModelScreenScene() = default;

void KXBaseModelScreenScene::refreshKeptComponents() {
    m_forcedMovement = getFirstChild<KXModelComponentForcedMovement>(*this);
    m_deletionThreshold = getFirstChild<KXModelComponentDeletionThreshold>(*this);
}

void KXBaseModelScreenScene::unpackConnections(const KXMessagePackMap& map) {
    KXModelScreen::unpackConnections(map);
    refreshKeptComponents();
}

void KXBaseModelScreenScene::loadConnectionsFromDictionary(CCDictionary* dictionary) {
    KXModelScreen::loadConnectionsFromDictionary(dictionary);
    refreshKeptComponents();
}

void KXBaseModelScreenScene::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModelScreen::childAdded(child);
    if (std::shared_ptr<KXModelLevelSection> section = modelCast<KXModelLevelSection>(child)) {
        m_levelSections.push_back(section);
    } else if (std::shared_ptr<KXModelComponentForcedMovement> movement =
                   modelCast<KXModelComponentForcedMovement>(child)) {
        m_forcedMovement = movement;
    } else if (std::shared_ptr<KXModelComponentDeletionThreshold> threshold =
                   modelCast<KXModelComponentDeletionThreshold>(child)) {
        m_deletionThreshold = threshold;
    }
}

void KXBaseModelScreenScene::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModelScreen::childRemoved(child);
    if (std::shared_ptr<KXModelLevelSection> section = modelCast<KXModelLevelSection>(child)) {
        auto found = std::find(m_levelSections.begin(), m_levelSections.end(), section);
        if (found != m_levelSections.end()) {
            m_levelSections.erase(found);
        }
    } else if (child && child == m_forcedMovement) {
        m_forcedMovement.reset();
    } else if (child && child == m_deletionThreshold) {
        m_deletionThreshold.reset();
    }
}

void KXBaseModelScreenScene::allChildrenRemoved() {
    KXModelScreen::allChildrenRemoved();
    m_levelSections.clear();
    m_forcedMovement.reset();
    m_deletionThreshold.reset();
}

bool KXBaseModelScreenScene::containsModel(const std::shared_ptr<KXModel>& model) const {
    if (KXModelScreen::containsModel(model)) {
        return true;
    }
    for (const std::shared_ptr<KXModelLevelSection>& section : m_levelSections) {
        if (section->hasChild(model)) {
            return true;
        }
    }
    return false;
}

KXBaseModelScreen::ObjectList KXBaseModelScreenScene::getObjects() const {
    ObjectList objects = KXModelScreen::getObjects();
    for (const std::shared_ptr<KXModelLevelSection>& section : m_levelSections) {
        objects.insert(objects.end(), section->objects().begin(), section->objects().end());
    }
    return objects;
}

void KXBaseModelScreenScene::copyChildrenFrom(const std::shared_ptr<KXModel>& source, bool deep,
                                              bool registerClones, bool silent) {
    KXModelScreen::copyChildrenFrom(source, deep, registerClones, silent);
    if (deep) {
        shareInitSectionCharacters();
    }
}

// The copies of the placed characters in the other sections' groups are replaced by the init
// section's character of the same depth, so that one character model serves every section.
void KXBaseModelScreenScene::shareInitSectionCharacters() {
    std::shared_ptr<KXModelLevelSection> init = initSection();
    if (!init) {
        return;
    }
    const std::vector<std::shared_ptr<KXModelObjectAssetCharacter>> initCharacters =
        getChildren<KXModelObjectAssetCharacter>(*init);
    if (initCharacters.empty()) {
        return;
    }
    const SectionList sections = m_levelSections;
    for (const std::shared_ptr<KXModelLevelSection>& section : sections) {
        if (section == init) {
            continue;
        }
        for (const std::shared_ptr<KXModelObjectGroup>& group : getChildren<KXModelObjectGroup>(*section)) {
            for (const std::shared_ptr<KXModelObjectAssetCharacter>& own :
                 getChildren<KXModelObjectAssetCharacter>(*group)) {
                auto shared =
                    std::find_if(initCharacters.begin(), initCharacters.end(),
                                 [&own](const std::shared_ptr<KXModelObjectAssetCharacter>& candidate) {
                                     return candidate->zDepth() == own->zDepth();
                                 });
                if (shared == initCharacters.end()) {
                    continue;
                }
                const int index = static_cast<int>(group->indexOfChild(own));
                group->insertChild(*shared, index, true);
                group->removeChild(own, true);
            }
        }
    }
}

const CCPoint& KXBaseModelScreenScene::gravity() const {
    static const CCPoint fallback(0.0f, -50.0f);
    return m_gravity != nullptr ? m_gravity->value() : fallback;
}

float KXBaseModelScreenScene::timeWarp() const {
    return floatOf(m_timeWarp, 1.0f);
}

float KXBaseModelScreenScene::gameSpeedMin() const {
    return overridden(m_forcedMovement, "Froce Min", m_gameSpeedMin, 0.0f);
}

float KXBaseModelScreenScene::gameSpeedMax() const {
    return overridden(m_forcedMovement, "Force Max", m_gameSpeedMax, 0.0f);
}

float KXBaseModelScreenScene::speedIncrease() const {
    return overridden(m_forcedMovement, "Force Increase", m_speedIncrease, 0.0f);
}

float KXBaseModelScreenScene::friction() const {
    return floatOf(m_friction, 0.0f);
}

float KXBaseModelScreenScene::velocityDrag() const {
    return floatOf(m_velocityDrag, 1.0f);
}

float KXBaseModelScreenScene::bounce() const {
    return floatOf(m_bounce, 0.0f);
}

float KXBaseModelScreenScene::scoreMultiplier() const {
    return floatOf(m_scoreMultiplier, 1.0f);
}

float KXBaseModelScreenScene::gameDirection() const {
    return floatOf(m_gameDirection, 0.0f);
}

float KXBaseModelScreenScene::sidesDeletionThreshold() const {
    return overridden(m_deletionThreshold, "Sides Deletion Threshold", m_sidesDeletionThreshold, 550.0f);
}

float KXBaseModelScreenScene::backDeletionThreshold() const {
    return overridden(m_deletionThreshold, "Back Deletion Threshold", m_backDeletionThreshold, 300.0f);
}

float KXBaseModelScreenScene::cameraSmooth() const {
    return floatOf(m_cameraSmooth, 0.2f);
}

bool KXBaseModelScreenScene::alignCameraBorders() const {
    return m_alignCameraBorders != nullptr && m_alignCameraBorders->value();
}

const CCRect& KXBaseModelScreenScene::objectFrameRect() const {
    static const CCRect fallback(0.0f, 0.0f, 1.0f, 1.0f);
    return m_objectFrameRect != nullptr ? m_objectFrameRect->value() : fallback;
}

KXObjectFrameEdgeState KXBaseModelScreenScene::objectFrameState(unsigned int edge) const {
    if (edge >= 4 || m_objectFrameStates[edge] == nullptr) {
        return KXObjectFrameEdgeFollow;
    }
    return m_objectFrameStates[edge]->value();
}

std::shared_ptr<KXModelLevelSection> KXBaseModelScreenScene::initSection() const {
    for (const std::shared_ptr<KXModelLevelSection>& section : m_levelSections) {
        if (section->isInitSection()) {
            return section;
        }
    }
    return nullptr;
}

std::shared_ptr<KXModelScreenScene> KXBaseModelScreenScene::findOrCreateByKey(const std::string& key) {
    for (const std::shared_ptr<KXModelScreenScene>& scene : getModels<KXModelScreenScene>()) {
        if (scene->key() == key) {
            return scene;
        }
    }
    std::shared_ptr<KXModelScreenScene> scene =
        std::static_pointer_cast<KXModelScreenScene>(KXModelScreenScene::create());
    if (KXAttributeString* keyAttribute = scene->keyAttribute()) {
        keyAttribute->setValue(key, true);
    }
    KXModelController::shared()->addModel(scene);
    return scene;
}
