#pragma once

// What game objects ask of the running level: its object layer and world, the camera effects,
// the teleport, spawn and screen-jump requests, checkpoints, the magnet and the end of the game.
// The game-field scene implements it beside KXPGameField, so that objects reach the level
// without knowing the scene's class. With no level running, the callers find none and do
// nothing.

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace cocos2d {
class CCNode;
class CCPoint;
} // namespace cocos2d

class b2World;
class KXModelScreenScene;
class KXPLightBudget;
class KXPParticleBudget;
class KXPObject;
class KXPObjectAsset;

class KXPLevelField {
public:
    // Request bits of setPendingRequest.
    static constexpr int kRequestFullRestart = 2;
    static constexpr int kRequestResumeFromUi = 4;

    virtual ~KXPLevelField() = default;

    // The node every game object hangs below, and the level's world; null before set-up.
    virtual cocos2d::CCNode* objectLayerNode() const = 0;
    virtual b2World* getWorld() const = 0;
    virtual const std::shared_ptr<KXModelScreenScene>& getSceneModel() const = 0;

    // A white flash fading out over `duration` seconds; a shake for `time` seconds.
    virtual void flash(float duration) = 0;
    virtual void shake(float time) = 0;

    // Run at the start of the next update, never inside the world step.
    virtual void setPendingRequest(int request) = 0;
    // Opens the screen of that key from inside the game.
    virtual void switchScreen(const std::string& key, bool pauseAfter, bool restart, int openMode) = 0;
    // Ends the game through the "End" link.
    virtual void finishGame() = 0;

    // The teleports of the object layer with that "Group ID", in child order.
    virtual void collectTeleports(std::vector<KXPObjectAsset*>& teleports, float groupId) = 0;
    // Those of them strictly closer than `radius` to `center`, in child order.
    virtual void collectTeleportsNear(std::vector<KXPObjectAsset*>& teleports, float groupId,
                                      const cocos2d::CCPoint& center, float radius) = 0;
    // Queues an object that entered a teleport; it comes out of `destination` next frame.
    virtual void addTeleport(KXPObjectAsset* object, KXPObjectAsset* destination) = 0;
    // Copies of teleported objects on the field (until they are removed) and queued to come out.
    // Exits that send on what comes out of them copy without end: a portal makes no copy while
    // the field holds kMaxTeleportCopies. A character sent to dozens of exits makes dozens; a grid
    // of 48 default portals that all send to one another, each once, holds some 1,300 at most, one
    // of 96 some 5,200 (past the bound, which it meets late in the run).
    static constexpr size_t kMaxTeleportCopies = 4096;
    virtual size_t teleportCopies() const = 0;
    // True only the first time it is asked in a level: the first portal refused says so.
    virtual bool firstTeleportCopyRefused() = 0;
    // Puts an object a spawner emitted on the object layer at the spawner's transform.
    virtual void addSpawnedObject(KXPObjectAsset* object, KXPObjectAsset* spawner) = 0;

    // The first powerup of that type in state 1 other than `excluded`; null when none.
    virtual KXPObjectAsset* findActivePowerup(const std::string& powerupType, KXPObject* excluded) = 0;
    virtual void setMagnetActive(bool active) = 0;
    // Kills every awake, visible enemy unit destroyed by collisions.
    virtual void killAllEnemies() = 0;
    // Stores a checkpoint at the position (object-layer coordinates) of that level section.
    virtual void activateCheckpoint(const cocos2d::CCPoint& position, uint32_t levelSectionId) = 0;
    // Finds or creates the next checkpoint powerup ahead and activates it.
    virtual void findCheckpointPowerup() = 0;
    // Takes a mirror (kind exactly 2048) off the list of mirrors the level draws itself into.
    virtual void removeMirror(KXPObject* object) = 0;
    // What the level's lights may still do in the running step; null: no bound.
    virtual KXPLightBudget* lightBudget() { return nullptr; }
    // What the level's particle emitters may hold together; null: no bound.
    virtual std::shared_ptr<KXPParticleBudget> particleBudget() { return nullptr; }
};
