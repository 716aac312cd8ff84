#pragma once

#include "model/KXModel.h"

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

class KXAttributeBool;
class KXAttributeFloat;
class KXModelObject;

// One section of an endless level: a group of objects with the distance range in which it
// plays, whether it opens the level, and the editor's mute and solo switches. Keeps its object
// children in an ordered list so that they can be addressed by index.
class KXBaseModelLevelSection : public KXModel {
public:
    using ObjectList = std::vector<std::shared_ptr<KXModelObject>>;

    explicit KXBaseModelLevelSection(const std::string& name);
    // Attributes as copied; the object list fills as children are added to the copy.
    KXBaseModelLevelSection(const KXBaseModelLevelSection& source);
    ~KXBaseModelLevelSection() override;

    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    // Announced (flag 0) only when the value changes.
    virtual void setMuted(bool muted);
    virtual void setSolo(bool solo);

    bool isInitSection() const;
    bool isMuted() const;
    bool isSolo() const;
    float startDistance() const;
    float endDistance() const;
    float width() const;
    // How far the level goes on past the section laid at `distance`: its width when that moves
    // the laid distance on by a point or more, else 0 (the section adds no distance; the level
    // never goes back). A width the float sum at that distance rounds (almost) away would lay the
    // section again and again in the same place.
    float laidLength(float distance) const;
    // "Play Cooldown" truncated toward zero.
    int playCooldown() const;

    // Run-time state of a playing level, never stored: the cooldown that keeps a chosen section
    // from being chosen again at once, and the distance at which the section was last laid.
    // Copies take them over.
    int32_t cooldownCounter() const { return m_cooldownCounter; }
    void setCooldownCounter(int32_t counter) { m_cooldownCounter = counter; }
    float placedDistance() const { return m_placedDistance; }
    void setPlacedDistance(float distance) { m_placedDistance = distance; }

    // The index-th object child in the order added, or empty when out of range.
    std::shared_ptr<KXModelObject> objectAt(size_t index) const;
    const ObjectList& objects() const { return m_objects; }

    KXAttributeBool* initSectionAttribute() const { return m_initSection; }
    KXAttributeBool* mutedAttribute() const { return m_muted; }
    KXAttributeBool* soloAttribute() const { return m_solo; }
    KXAttributeFloat* startDistanceAttribute() const { return m_startDistance; }
    KXAttributeFloat* endDistanceAttribute() const { return m_endDistance; }
    KXAttributeFloat* widthAttribute() const { return m_width; }
    KXAttributeFloat* playCooldownAttribute() const { return m_playCooldown; }

    // Run on a new copy: replaces its children (silently) by the source's. Shallow: the same
    // models. Deep: clones of the objects, the groups' clones given the clones of their own
    // children, and clones of the linkers whose two objects were both cloned, re-pointed at
    // those clones.
    void copySectionChildren(const std::shared_ptr<KXModel>& source, bool deep, bool registerClones);

private:
    KXAttributeBool* m_initSection = nullptr;
    KXAttributeBool* m_muted = nullptr;
    KXAttributeBool* m_solo = nullptr;
    KXAttributeFloat* m_startDistance = nullptr;
    KXAttributeFloat* m_endDistance = nullptr;
    KXAttributeFloat* m_width = nullptr;
    KXAttributeFloat* m_playCooldown = nullptr;

    ObjectList m_objects;
    int32_t m_cooldownCounter = 0;
    float m_placedDistance = 0.0f;
};
