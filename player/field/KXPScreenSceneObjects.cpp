// What the game objects ask of the field beyond the level itself: teleported objects coming out
// of their destination (with the objects linked to them), mirrors, and the hooks of powerups
// (placing a used powerup, the active one of a type, killing every enemy, ending the game).

#include "player/field/KXPScreenScene.h"

#include "model/KXDebugLog.h"
#include "model/classes/KXModelAssetPowerup.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObjectAsset.h"
#include "model/classes/KXModelObjectAssetPowerup.h"
#include "model/classes/KXModelObjectLabel.h"
#include "model/classes/KXModelObjectTeleport.h"
#include "model/classes/KXModelQueries.h"
#include "player/app/KXPScreensController.h"
#include "player/base/KXPCaptureTarget.h"
#include "player/base/KXPWrapping.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/input/KXPControlledCharacter.h"
#include "player/input/KXPInputController.h"
#include "player/objects/KXPObject.h"
#include "player/objects/KXPObjectText.h"
#include "player/objects/assets/KXPObjectAsset.h"
#include "player/physics/KXPBodyMotion.h"
#include "player/services/KXServices.h"

#include <algorithm>
#include <map>

using namespace cocos2d;

namespace {

bool overlaps(KXPObject* a, KXPObject* b) {
    if (a->getBody() != nullptr && b->getBody() != nullptr) {
        return b2TestOverlap(a->getAABB(), b->getAABB());
    }
    return a->boundingRect().intersectsRect(b->boundingRect());
}

// Depth first: the node, then its children.
void killEnemiesUnder(CCNode* node) {
    KXPObjectAsset* asset = ccNodeAs<KXPObjectAsset>(node);
    if (asset != nullptr && (asset->getType() & KXPObject::kTypeUnit) != 0 &&
        asset->getDestroyType() == KXPObjectAsset::kDestroyCollision && asset->isAwake() &&
        asset->isVisible() && asset->getObjectKind() == KXPObjectAsset::kKindEnemy) {
        asset->setState(KXPObject::kStateDead);
    }
    CCArray* children = node->getChildren();
    for (unsigned int index = 0; children != nullptr && index < children->count(); ++index) {
        killEnemiesUnder(static_cast<CCNode*>(children->objectAtIndex(index)));
    }
}

} // namespace

// --- teleports ---

void KXPScreenScene::addTeleport(KXPObjectAsset* object, KXPObjectAsset* destination) {
    if (object == nullptr || destination == nullptr) {
        return;
    }
    // Both held: the destination may leave the field (and the exits their hold on it) before
    // the object comes out of it.
    object->retain();
    destination->retain();
    KXPTeleportRecord record;
    record.object = object;
    if (b2Body* body = object->getBody()) {
        record.linearDamping = body->GetLinearDamping();
        record.linearVelocity = body->GetLinearVelocity();
    }
    record.destination = destination;
    m_teleportQueue.push_back(record);
}

void KXPScreenScene::collectTeleports(std::vector<KXPObjectAsset*>& teleports, float groupId) {
    teleports.clear();
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_objectLayer->getChildren(), item) {
        KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item);
        // Exactly a teleport: one carried along a path is no partner while it rides.
        if (object == nullptr || object->getType() != KXPObject::kTypeTeleport) {
            continue;
        }
        const auto teleport = modelCast<KXModelObjectTeleport>(object->getModel());
        if (teleport && teleport->groupId() == groupId) {
            teleports.push_back(object);
        }
    }
}

void KXPScreenScene::collectTeleportsNear(std::vector<KXPObjectAsset*>& teleports, float groupId,
                                          const CCPoint& center, float radius) {
    if (m_objectLayer == nullptr) {
        teleports.clear();
        return;
    }
    m_teleportIndex.collectNear(m_objectLayer, *m_objectLayer, teleports, groupId, center, radius);
}

void KXPScreenScene::reopenTeleportExits() {
    // A teleport that let an object out takes nothing in until that object has left it.
    std::vector<TeleportExit> waiting;
    for (const TeleportExit& exit : m_teleportExits) {
        const bool destinationGone = exit.destination->getParent() == nullptr ||
                                     exit.destination->getState() == KXPObject::kStateRemoved;
        const bool copyGone = exit.copy->getParent() == nullptr ||
                              exit.copy->getState() == KXPObject::kStateDead ||
                              exit.copy->getState() == KXPObject::kStateRemoved;
        if (!destinationGone && !copyGone && overlaps(exit.copy, exit.destination)) {
            waiting.push_back(exit);
            continue;
        }
        if (!destinationGone) {
            exit.destination->setMovementEnabled(true);
        }
        exit.destination->release();
        exit.copy->release();
    }
    m_teleportExits.swap(waiting);
}

bool KXPScreenScene::firstTeleportCopyRefused() {
    return m_teleportCopies.firstRefusal();
}

void KXPScreenScene::clearTeleports() {
    for (KXPTeleportRecord& record : m_teleportQueue) {
        CC_SAFE_RELEASE(record.object);
        CC_SAFE_RELEASE(record.destination);
    }
    m_teleportQueue.clear();
    for (const TeleportExit& exit : m_teleportExits) {
        exit.destination->release();
        exit.copy->release();
    }
    m_teleportExits.clear();
    m_teleportCopies.clear();
}

void KXPScreenScene::processTeleportQueue() {
    reopenTeleportExits();
    // Records queued while this runs (a new object's update) wait for the next frame, and so do
    // those past a frame's share: a portal among many partners sends a copy to each.
    std::vector<KXPTeleportRecord> queue;
    queue.swap(m_teleportQueue);
    if (queue.size() > kTeleportsPerFrame) {
        m_teleportQueue.assign(queue.begin() + kTeleportsPerFrame, queue.end());
        queue.erase(queue.begin() + kTeleportsPerFrame, queue.end());
    }
    for (KXPTeleportRecord& record : queue) {
        KXPObjectAsset* object = record.object;
        KXPObjectAsset* copy = createObjectAtNode(object->getModel(), record.destination);
        if (copy != nullptr) {
            if (b2Body* body = copy->getBody()) {
                body->SetLinearDamping(record.linearDamping);
                if (body->GetType() != b2_staticBody) {
                    KXPBodyMotion::setLinearVelocity(body, record.linearVelocity);
                    if (record.linearVelocity.x != 0.0f || record.linearVelocity.y != 0.0f) {
                        body->SetAwake(true);
                    }
                }
            }
            copy->setTag(object->getTag());
            copy->copyComponentStates(object);
            recreateLinkedObjects(copy);
            // The object went through: the original leaves (its teleport stops sending it), and
            // the destination takes nothing in until the copy has left it.
            object->setState(KXPObject::kStateRemoved);
            record.destination->retain();
            copy->retain();
            m_teleportExits.push_back(TeleportExit{record.destination, copy});
            m_teleportCopies.add(copy);
        }
        object->release();
        record.destination->release();
    }
}

void KXPScreenScene::recreateLinkedObjects(KXPObjectAsset* copy) {
    const auto model = getModelOfKind<KXModelObjectAsset>(static_cast<uint32_t>(copy->getTag()));
    if (!model) {
        return;
    }
    const std::vector<std::shared_ptr<KXModelLinker>> linkers = KXBaseModelLinker::findLinkers(model, true);
    if (linkers.empty()) {
        return;
    }
    const CCPoint offset = copy->getPosition() - model->animatedPosition(0.0f, 0);
    std::map<const KXModel*, KXPObject*> made{{model.get(), copy}};
    auto objectFor = [&](const std::shared_ptr<KXModelObject>& end) -> KXPObject* {
        auto found = made.find(end.get());
        if (found != made.end()) {
            return found->second;
        }
        KXPObject* object = nullptr;
        if (const auto label = modelCast<KXModelObjectLabel>(end)) {
            // The text goes where the copy's offset puts the label's own place.
            object = createText(label, offset);
        } else if (KXPObjectAsset* asset = createObject(end, 0, offset.x, offset.y, true)) {
            asset->setControlActive(false);
            object = asset;
        }
        made[end.get()] = object;
        return object;
    };
    struct Link {
        std::shared_ptr<KXModelLinker> linker;
        KXPObject* objectA;
        KXPObject* objectB;
    };
    std::vector<Link> links;
    for (const std::shared_ptr<KXModelLinker>& linker : linkers) {
        if (!linker->objectA() || !linker->objectB()) {
            continue;
        }
        KXPObject* objectA = objectFor(linker->objectA());
        KXPObject* objectB = objectFor(linker->objectB());
        links.push_back(Link{linker, objectA, objectB});
    }
    for (const Link& link : links) {
        if (link.objectA != nullptr && link.objectB != nullptr) {
            linkObjects(link.linker, link.objectA, link.objectB);
        }
    }
    for (const Link& link : links) {
        for (KXPObject* end : {link.objectA, link.objectB}) {
            if (end != nullptr) {
                end->setControlActive(true);
            }
        }
    }
}

// --- mirrors ---

void KXPScreenScene::addMirror(KXPObject* mirror) {
    if (mirror != nullptr) {
        mirror->retain();
        m_mirrors.push_back(mirror);
        // Asked once here, not in every frame's drawing.
        m_captureTargets.push_back(dynamic_cast<KXPCaptureTarget*>(mirror));
    }
}

void KXPScreenScene::removeMirror(KXPObject* object) {
    if (object == nullptr || object->getType() != KXPObject::kTypeMirror) {
        return;
    }
    for (size_t index = m_mirrors.size(); index-- > 0;) {
        if (m_mirrors[index] == object) {
            m_mirrors.erase(m_mirrors.begin() + static_cast<std::ptrdiff_t>(index));
            m_captureTargets.erase(m_captureTargets.begin() + static_cast<std::ptrdiff_t>(index));
            object->release();
        }
    }
}

std::vector<KXPCaptureTarget*> KXPScreenScene::mirrorCaptures(const std::vector<KXPCaptureTarget*>& targets) {
    m_mirrorBudget->beginFrame();
    // The screen and as much again on every side: where the camera can go before the next frame,
    // so that a reflection coming into view was captured in the frames before.
    const CCSize window = CCDirector::sharedDirector()->getWinSize();
    const CCRect near(-window.width, -window.height, window.width * 3.0f, window.height * 3.0f);
    std::vector<KXPCaptureTarget*> captures;
    for (KXPCaptureTarget* target : targets) {
        if (target != nullptr && target->capturesInFrame(m_mirrorBudget, near)) {
            captures.push_back(target);
        }
    }
    return captures;
}

// --- powerup hooks ---

KXPObjectAsset* KXPScreenScene::findActivePowerup(const std::string& powerupType, KXPObject* excluded) {
    CCObject* item = nullptr;
    CCARRAY_FOREACH(m_objectLayer->getChildren(), item) {
        KXPObjectAsset* object = ccNodeAs<KXPObjectAsset>(item);
        if (object == nullptr || object == excluded || (object->getType() & KXPObject::kTypePowerup) == 0 ||
            object->getState() != 1) {
            continue;
        }
        const auto powerup = modelCast<KXModelObjectAssetPowerup>(object->getModel());
        if (powerup && powerup->powerupType() == powerupType) {
            return object;
        }
    }
    return nullptr;
}

void KXPScreenScene::applyPowerup(const std::shared_ptr<KXModelAssetPowerup>& asset, bool aboveCharacter) {
    if (!asset) {
        return;
    }
    const auto placed =
        std::static_pointer_cast<KXModelObjectAssetPowerup>(KXModelObjectAssetPowerup::create());
    placed->setAsset(asset, true);
    KXPObjectAsset* powerup = KXPObjectAsset::createUsedPowerup(placed);
    if (powerup == nullptr) {
        // No powerup objects in this build: the coins and points still count.
        KXPScreen::usePowerup(asset, aboveCharacter);
        return;
    }
    powerup->setPosition(m_inputController->charactersPosition());
    const int zOrder = wrappingAdd(m_inputController->firstCharacterZOrder(), aboveCharacter ? 1 : -1);
    m_objectLayer->addChild(powerup, zOrder);
    powerup->setObjectLayer(m_objectLayer);
    const std::vector<KXPControlledCharacter*>& characters = m_inputController->characters();
    if (!characters.empty()) {
        if (KXPObjectAsset* first = dynamic_cast<KXPObjectAsset*>(characters.front()->characterObject())) {
            powerup->beginContact(first, nullptr, true);
        }
    }
    // What the powerup does (a rebuild, another scene) waits for the next update: it would
    // otherwise take this very powerup off the field between these calls.
    RequestHold hold(*this);
    powerup->setState(1);
    powerup->addToWorld(m_world, true);
    powerup->update(0.0f);
}

void KXPScreenScene::usePowerup(const std::shared_ptr<KXModelAssetPowerup>& asset, bool aboveCharacter) {
    applyPowerup(asset, aboveCharacter);
}

void KXPScreenScene::killAllEnemies() {
    CCArray* children = m_objectLayer->getChildren();
    for (unsigned int index = 0; children != nullptr && index < children->count(); ++index) {
        killEnemiesUnder(static_cast<CCNode*>(children->objectAtIndex(index)));
    }
}

void KXPScreenScene::finishGame() {
    changeScene([this] {
        if (KXServices::shared()->isGameServicesAvailable()) {
            KXServices::shared()->submitScore();
        }
        KXPScreensController* screens = KXPScreensController::shared();
        if (!screens->openScene("End", true, 0)) {
            return false;
        }
        CCScene* scene = screens->currentScene();
        replaceRunningScene(scene);
        return scene != nullptr;
    });
}

void KXPScreenScene::changeScene(std::function<bool()> change) {
    // The next scene's field takes the shared controller, the gameplay values and the screens
    // controller's keys as it is built: objects of this field still running would go on against
    // it. The last change asked for wins, as it would have run last.
    if (requestsWait()) {
        m_parkedSceneChange = std::move(change);
        return;
    }
    change();
}
