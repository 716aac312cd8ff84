#pragma once

#include "model/classes/KXModelCompound.h"

#include "base/CCGeometry.h"

#include <memory>
#include <string>

class KXAttributePoint;
class KXAttributeFloat;
class KXAttributeInt;
class KXAttributeBool;
class KXModelSpriteContainer;
class KXModelPolygon;

// Placement of every object on a scene or screen: position, rotation, scale, opacity, depth and
// visibility, evaluated under animation, randomisation and screen adaptation.
class KXBaseModelObject : public KXModelCompound {
public:
    explicit KXBaseModelObject(const std::string& name);
    KXBaseModelObject(const KXBaseModelObject& source);

    // What the object shows and collides with; empty for kinds that have none.
    virtual std::shared_ptr<KXModelSpriteContainer> spriteContainer() const;
    virtual std::shared_ptr<KXModelPolygon> collisionShape() const;
    // The shown sprite's source size at that time, or 100 x 100 without a sprite container.
    virtual cocos2d::CCSize contentSize(float time) const;
    // Spawning units answer these; every other object spawns nothing.
    virtual bool isSpawner() const;
    virtual float spawnRate() const;

    bool isHidden() const;
    int zDepth() const;
    // The spread of "Position".
    cocos2d::CCPoint positionVariance() const;

    // Stored value plus the key-frame offsets of that animation key at that time.
    cocos2d::CCPoint animatedPosition(float time, int key) const;
    cocos2d::CCPoint animatedScale(float time, int key) const;
    float animatedRotation(float time, int key) const;
    float animatedOpacity(float time, int key) const;

    // Stored value moved by a fresh random amount within its spread.
    cocos2d::CCPoint randomizedPosition() const;
    float randomizedRotation() const;

    // Animated position moved from the design area onto the visible area, so that objects
    // near an edge stay near that edge on screens of another aspect.
    cocos2d::CCPoint screenAdjustedPosition(float time, int key) const;

    void setPosition(const cocos2d::CCPoint& position);
    void setScale(const cocos2d::CCPoint& scale);
    void setZDepth(int depth);

    // The attributes (null in a copy whose source lacked one or held it under another class).
    KXAttributePoint* positionAttribute() const { return m_position; }
    KXAttributeFloat* rotationAttribute() const { return m_rotation; }
    KXAttributePoint* scaleAttribute() const { return m_scale; }
    KXAttributeFloat* opacityAttribute() const { return m_opacity; }
    KXAttributeInt* zDepthAttribute() const { return m_zDepth; }
    KXAttributeBool* hiddenAttribute() const { return m_hidden; }

    // Design extent that positions are authored against: 1136 x 640 in landscape
    // ("Orientation" 1 in the general settings), else 640 x 1136.
    static cocos2d::CCSize designSize();

private:
    KXAttributePoint* m_position = nullptr;
    KXAttributeFloat* m_rotation = nullptr;
    KXAttributePoint* m_scale = nullptr;
    KXAttributeFloat* m_opacity = nullptr;
    KXAttributeInt* m_zDepth = nullptr;
    KXAttributeBool* m_hidden = nullptr;
};
