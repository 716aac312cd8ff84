// The objects of laid level sections, made a few per frame so that a large section costs several
// short frames, and the section's linkers once all of its objects exist: two objects joined by a
// motorised revolute joint, or one attached under the other so that it follows it.

#include "player/field/KXPScreenScene.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLevelSection.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectButton.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelObjectLabel.h"
#include "player/base/KXPKinds.h"
#include "player/base/KXPTouchPriority.h"
#include "player/base/KXPTrace.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPObject.h"
#include "player/objects/KXPObjectGroup.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/objects/buttons/KXPObjectButton.h"
#include "player/physics/KXPPhysicsLimits.h"

using namespace cocos2d;

namespace {

constexpr float kMetresPerPoint = 0.05f;

// The last node made (in creation order) whose tag is the model's id.
CCNode* lastCreatedWithTag(CCArray* created, uint32_t id) {
    for (unsigned int index = created->count(); index > 0; --index) {
        CCNode* node = static_cast<CCNode*>(created->objectAtIndex(index - 1));
        if (static_cast<uint32_t>(node->getTag()) == id) {
            return node;
        }
    }
    return nullptr;
}

constexpr const char* kLevelFactory = "level";

} // namespace

// A laid section's objects that are not asset objects, one row per model class, found by the
// model's exact class; any other model goes to the asset factory. Each maker returns the node
// made (in the object layer), or null.
struct KXPLevelKinds {
    struct Row {
        uint32_t modelType;
        const char* name;
        CCNode* (*make)(KXPScreenScene& scene, const std::shared_ptr<KXModelObject>& model,
                        const CCPoint& origin);
    };

    static CCNode* text(KXPScreenScene& scene, const std::shared_ptr<KXModelObject>& model,
                        const CCPoint& origin) {
        return scene.createText(std::static_pointer_cast<KXModelObjectLabel>(model), origin);
    }

    static CCNode* button(KXPScreenScene& scene, const std::shared_ptr<KXModelObject>& model,
                          const CCPoint&) {
        return scene.createButtonMenu(std::static_pointer_cast<KXModelObjectButton>(model));
    }

    static CCNode* group(KXPScreenScene& scene, const std::shared_ptr<KXModelObject>& model, const CCPoint&) {
        KXPObjectGroup* group = KXPObjectGroup::create(modelCast<KXModelObjectGroup>(model));
        if (group != nullptr) {
            group->setTag(static_cast<int>(model->id()));
            scene.m_objectLayer->addChild(group, model->zDepth());
            group->setObjectLayer(scene.m_objectLayer);
        }
        return group;
    }

    static const std::vector<Row>& rows() {
        static const std::vector<Row> table = {
            {KXModelObjectLabel::staticType(), "text", &text},
            {KXModelObjectButton::staticType(), "button", &button},
            {KXModelObjectGroup::staticType(), "group", &group},
        };
        return table;
    }

    static const Row* rowOf(uint32_t type) {
        for (const Row& row : rows()) {
            if (row.modelType == type) {
                return &row;
            }
        }
        return nullptr;
    }
};

KXPKindTable KXPScreenScene::levelKindTable() {
    KXPKindTable table{kLevelFactory, {}};
    for (const KXPLevelKinds::Row& row : KXPLevelKinds::rows()) {
        table.rows.push_back(row.name);
    }
    return table;
}

bool KXPScreenScene::instantiateQueuedObjects() {
    if (m_creationQueue.empty()) {
        return true;
    }
    // The entry is worked on as a copy; its array is shared with the queued one, and held here
    // too: a rebuild of the level meanwhile would let go of the queue and everything in it.
    KXPCreationQueueEntry entry = m_creationQueue.front();
    entry.objects->retain();
    const unsigned long rebuilds = m_rebuilds;
    const auto rebuilt = [this, rebuilds, &entry] {
        if (m_rebuilds == rebuilds) {
            return false;
        }
        // The rebuild laid its own sections; this one is no longer queued.
        entry.objects->release();
        return true;
    };
    const KXModelLevelSection& section = *entry.section;
    // Nothing steers the characters while the section's objects are made.
    KXPInputController::AdditionBatch characters(m_inputController);
    const int32_t end = entry.nextObjectIndex + kModelsPerCall;
    for (int32_t index = entry.nextObjectIndex; index < end; ++index) {
        if (index < 0 || static_cast<size_t>(index) >= section.objects().size()) {
            m_creationQueue.erase(m_creationQueue.begin());
            CCObject* item = nullptr;
            CCARRAY_FOREACH(entry.objects, item) {
                if (KXPObject* object = dynamic_cast<KXPObject*>(item)) {
                    object->setControlActive(true);
                }
            }
            applySectionLinkers(section, entry.objects);
            m_inputController->charactersMoved();
            kxTrace("objects", "objects built section=%u made=%u layer=%u", section.id(),
                    entry.objects->count(), m_objectLayer->getChildrenCount());
            // The queue's share and this call's.
            entry.objects->release();
            entry.objects->release();
            return true;
        }
        const std::shared_ptr<KXModelObject> model = section.objectAt(static_cast<size_t>(index));
        if (!model || model->isHidden()) {
            continue;
        }
        if (const KXPLevelKinds::Row* row = KXPLevelKinds::rowOf(model->typeId())) {
            CCNode* node = row->make(*this, model, entry.origin);
            if (rebuilt()) {
                return true;
            }
            if (node != nullptr) {
                kxKindMade(kLevelFactory, row->name);
                entry.objects->addObject(node);
            }
        } else {
            KXPObjectAsset* object = createObject(model, section.id(), entry.origin.x, entry.origin.y, true);
            if (rebuilt()) {
                return true;
            }
            if (object != nullptr) {
                object->setControlActive(false);
                entry.objects->addObject(object);
            }
        }
    }
    // Not complete: the section waits behind the others, which are filled in turn.
    m_creationQueue.erase(m_creationQueue.begin());
    entry.nextObjectIndex = end;
    m_creationQueue.push_back(entry);
    entry.objects->release();
    return false;
}

KXPObjectText* KXPScreenScene::createText(const std::shared_ptr<KXModelObjectLabel>& model,
                                          const CCPoint& position) {
    KXPObjectText* text = KXPObjectText::create(model);
    if (text == nullptr) {
        return nullptr;
    }
    text->setPosition(position + text->getPosition());
    text->setTag(static_cast<int>(model->id()));
    m_objectLayer->addChild(text, model->zDepth());
    text->setObjectLayer(m_objectLayer);
    text->update(0.0f);
    return text;
}

CCMenu* KXPScreenScene::createButtonMenu(const std::shared_ptr<KXModelObjectButton>& model) {
    KXPObjectButton* button = KXPObjectButton::createForLevel(model);
    if (button == nullptr) {
        return nullptr;
    }
    // A level's button sits where the model puts it, not where the section was laid.
    button->setMenuTarget(this, menu_selector(KXPScreen::buttonPressed));
    button->update(0.0f);
    CCMenu* menu = CCMenu::create(model->blockTouch());
    menu->setAnchorPoint(CCPointZero);
    menu->setPosition(CCPointZero);
    menu->setTag(kButtonMenuTag);
    menu->addChild(button, 0);
    menu->setTouchPriority(touchPriorityForDepth(model->zDepth()));
    m_objectLayer->addChild(menu, model->zDepth());
    return menu;
}

void KXPScreenScene::applySectionLinkers(const KXModelLevelSection& section, CCArray* created) {
    for (const std::shared_ptr<KXModel>& child : section.children()) {
        const std::shared_ptr<KXModelLinker> linker = modelCast<KXModelLinker>(child);
        if (!linker) {
            continue;
        }
        const std::shared_ptr<KXModelObject> modelA = linker->objectA();
        const std::shared_ptr<KXModelObject> modelB = linker->objectB();
        if (!modelA || !modelB) {
            continue;
        }
        CCNode* nodeA = lastCreatedWithTag(created, modelA->id());
        CCNode* nodeB = lastCreatedWithTag(created, modelB->id());
        KXPObject* objectA = dynamic_cast<KXPObject*>(nodeA);
        KXPObject* objectB = dynamic_cast<KXPObject*>(nodeB);
        if (objectA != nullptr && objectB != nullptr) {
            linkObjects(linker, objectA, objectB);
        } else if (nodeA == nullptr && nodeB != nullptr &&
                   modelA->typeId() == KXModelObjectAssetPowerup::staticType()) {
            // A powerup that did not appear takes what hangs on it along.
            if (objectB != nullptr) {
                removeMirror(objectB);
            }
            nodeB->removeFromParentAndCleanup(true);
        }
    }
}

void KXPScreenScene::linkObjects(const std::shared_ptr<KXBaseModelLinker>& linker, KXPObject* objectA,
                                 KXPObject* objectB) {
    // A damaged linker may name one object twice or close a loop: an object cannot ride under
    // itself or under what rides under it, nor be jointed to itself.
    for (CCNode* node = objectA; node != nullptr; node = node->getParent()) {
        if (node == objectB) {
            debugLog("[KXPScreenScene] linker %u would join an object to itself; left out", linker->id());
            return;
        }
    }
    KXPObjectAsset* assetA = dynamic_cast<KXPObjectAsset*>(objectA);
    KXPObjectAsset* assetB = dynamic_cast<KXPObjectAsset*>(objectB);
    const bool text = (objectB->getType() & KXPObject::kTypeText) != 0;
    if (text || (assetB != nullptr && assetB->isLinearMovement()) || objectB->isSpawner()) {
        // B rides under A where it stands now.
        const CCAffineTransform relative = CCAffineTransformConcat(
            objectB->nodeToWorldTransform(), CCAffineTransformInvert(objectA->nodeToWorldTransform()));
        objectB->retain();
        objectB->removeFromParentAndCleanup(false);
        objectB->setPosition(CCPointZero);
        objectB->setRotation(0.0f);
        objectB->setScale(1.0f);
        objectA->addChild(objectB);
        objectB->setAdditionalTransform(relative);
        if (!text && assetB != nullptr) {
            assetB->setAttached(true);
        }
        objectB->release();
        return;
    }
    if (objectA->getBody() == nullptr && assetA != nullptr) {
        assetA->addToWorld(m_world, false);
    }
    if (objectB->getBody() == nullptr && assetB != nullptr) {
        assetB->addToWorld(m_world, false);
    }
    if (objectA->getBody() == nullptr || objectB->getBody() == nullptr) {
        return;
    }
    const CCPoint anchor = objectB->getPosition();
    const b2Vec2 pivot(anchor.x * kMetresPerPoint, anchor.y * kMetresPerPoint);
    if (!KXPPhysicsLimits::holdsPlace(pivot)) {
        debugLog("[KXPScreenScene] linker %u would join at %g, %g m, which the physics cannot hold; left out",
                 linker->id(), static_cast<double>(pivot.x), static_cast<double>(pivot.y));
        return;
    }
    b2RevoluteJointDef definition;
    definition.Initialize(objectA->getBody(), objectB->getBody(), pivot);
    b2RevoluteJoint* joint = static_cast<b2RevoluteJoint*>(m_world->CreateJoint(&definition));
    joint->SetMaxMotorTorque(KXPPhysicsLimits::motorTorque(linker->torque()));
    if (linker->isButtonActivated()) {
        joint->EnableMotor(true);
        m_inputController->addMotor(joint, linker);
    } else {
        joint->EnableMotor(linker->speed() != 0.0f);
        joint->SetMotorSpeed(KXPPhysicsLimits::motorSpeed(-linker->speed()));
    }
    debugLog("Created motor at: %f %f", anchor.x, anchor.y);
}
