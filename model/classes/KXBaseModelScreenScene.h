#pragma once

#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/classes/KXModelScreen.h"

#include "base/CCDictionary.h"
#include "base/CCGeometry.h"

#include <memory>
#include <string>
#include <vector>

class KXAttributePoint;
class KXAttributeRect;
class KXModelComponentForcedMovement;
class KXModelComponentDeletionThreshold;
class KXModelLevelSection;
class KXModelScreenScene;

// The screen of a game scene: physics and camera settings, game speed, deletion distances, the
// frame that bounds the objects, and the level sections of the world. A forced-movement or
// deletion-threshold component among the children overrides the matching own values.
class KXBaseModelScreenScene : public KXModelScreen {
public:
    using SectionList = std::vector<std::shared_ptr<KXModelLevelSection>>;

    explicit KXBaseModelScreenScene(const std::string& name);
    // Attributes as copied; the kept children fill again as the copy's children are added.
    KXBaseModelScreenScene(const KXBaseModelScreenScene& source);
    ~KXBaseModelScreenScene() override;

    void unpackConnections(const KXMessagePackMap& map) override;
    void loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary) override;
    // Deep copies then share the init section's placed characters with the other sections'
    // groups (matched by "Z Depth").
    void copyChildrenFrom(const std::shared_ptr<KXModel>& source, bool deep, bool registerClones,
                          bool silent) override;
    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;
    // Also true for a direct child of one of the level sections.
    bool containsModel(const std::shared_ptr<KXModel>& model) const override;
    // The scene's own objects, then each level section's, in section order.
    ObjectList getObjects() const override;

    const cocos2d::CCPoint& gravity() const;
    float timeWarp() const;
    float gameSpeedMin() const;
    float gameSpeedMax() const;
    float speedIncrease() const;
    float friction() const;
    float velocityDrag() const;
    float bounce() const;
    float scoreMultiplier() const;
    float gameDirection() const;
    float sidesDeletionThreshold() const;
    float backDeletionThreshold() const;
    float cameraSmooth() const;
    bool alignCameraBorders() const;
    const cocos2d::CCRect& objectFrameRect() const;
    // Edges 0 to 3; 0 for any other edge.
    KXObjectFrameEdgeState objectFrameState(unsigned int edge) const;
    // The first level section marked "Init Section", or empty.
    std::shared_ptr<KXModelLevelSection> initSection() const;

    const SectionList& levelSections() const { return m_levelSections; }
    const std::shared_ptr<KXModelComponentForcedMovement>& forcedMovement() const { return m_forcedMovement; }
    const std::shared_ptr<KXModelComponentDeletionThreshold>& deletionThreshold() const {
        return m_deletionThreshold;
    }

    // The stored scene with that key, created and stored when none has it; never empty.
    static std::shared_ptr<KXModelScreenScene> findOrCreateByKey(const std::string& key);

    KXAttributePoint* gravityAttribute() const { return m_gravity; }
    KXAttributeFloat* timeWarpAttribute() const { return m_timeWarp; }
    KXAttributeFloat* gameSpeedMinAttribute() const { return m_gameSpeedMin; }
    KXAttributeFloat* gameSpeedMaxAttribute() const { return m_gameSpeedMax; }
    KXAttributeFloat* speedIncreaseAttribute() const { return m_speedIncrease; }
    KXAttributeFloat* frictionAttribute() const { return m_friction; }
    KXAttributeFloat* velocityDragAttribute() const { return m_velocityDrag; }
    KXAttributeFloat* bounceAttribute() const { return m_bounce; }
    KXAttributeFloat* scoreMultiplierAttribute() const { return m_scoreMultiplier; }
    KXAttributeFloat* gameDirectionAttribute() const { return m_gameDirection; }
    KXAttributeFloat* cameraSmoothAttribute() const { return m_cameraSmooth; }
    KXAttributeBool* alignCameraBordersAttribute() const { return m_alignCameraBorders; }
    KXAttributeFloat* backDeletionThresholdAttribute() const { return m_backDeletionThreshold; }
    KXAttributeFloat* sidesDeletionThresholdAttribute() const { return m_sidesDeletionThreshold; }
    KXAttributeRect* objectFrameRectAttribute() const { return m_objectFrameRect; }
    KXAttributeFrameEdgeState* objectFrameStateAttribute(unsigned int edge) const {
        return edge < 4 ? m_objectFrameStates[edge] : nullptr;
    }

private:
    // The forced-movement and deletion-threshold children found again among the children.
    void refreshKeptComponents();
    void shareInitSectionCharacters();

    KXAttributePoint* m_gravity = nullptr;
    KXAttributeFloat* m_timeWarp = nullptr;
    KXAttributeFloat* m_gameSpeedMin = nullptr;
    KXAttributeFloat* m_gameSpeedMax = nullptr;
    KXAttributeFloat* m_speedIncrease = nullptr;
    KXAttributeFloat* m_friction = nullptr;
    KXAttributeFloat* m_velocityDrag = nullptr;
    KXAttributeFloat* m_bounce = nullptr;
    KXAttributeFloat* m_scoreMultiplier = nullptr;
    KXAttributeFloat* m_gameDirection = nullptr;
    KXAttributeFloat* m_cameraSmooth = nullptr;
    KXAttributeBool* m_alignCameraBorders = nullptr;
    KXAttributeFloat* m_backDeletionThreshold = nullptr;
    KXAttributeFloat* m_sidesDeletionThreshold = nullptr;
    KXAttributeRect* m_objectFrameRect = nullptr;
    KXAttributeFrameEdgeState* m_objectFrameStates[4] = {nullptr, nullptr, nullptr, nullptr};

    std::shared_ptr<KXModelComponentForcedMovement> m_forcedMovement;
    std::shared_ptr<KXModelComponentDeletionThreshold> m_deletionThreshold;
    SectionList m_levelSections;
};
