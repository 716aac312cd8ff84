#pragma once

#include "model/KXModel.h"

#include "base/CCDictionary.h"
#include "base/CCGeometry.h"

#include <box2d/box2d.h>

#include <memory>
#include <string>
#include <vector>

// A collision shape: up to 8 points in pixels around the shape's origin, and a one-way
// collision direction. Physics space is 0.05 metre per pixel with y pointing the other way.
class KXModelPolygon : public KXModel {
    KX_MODEL_IDENTITY(KXModelPolygon, KXModel)
    KX_MODEL_CREATE(KXModelPolygon)
    KX_MODEL_CLONE(KXModelPolygon)

public:
    static constexpr const char* kDefaultObjectName = "";
    static constexpr float kMetresPerPixel = 0.05f;
    // Points kept on unpack (Box2D's polygon limit) and gathered for a fixture.
    static constexpr int kMaxStoredPoints = 8;
    static constexpr int kMaxGatheredPoints = 64;
    static constexpr float kDefaultBoxWidth = 120.0f;
    static constexpr float kDefaultBoxHeight = 80.0f;
    // Half extent, in metres, of the box a shape of an unknown kind becomes.
    static constexpr float kFallbackHalfExtent = 1.6f;
    // How far from its body's origin a shape may reach, in metres (20 million points): Box2D works
    // out a body's rotational inertia as the fourth power of its shapes' size, which a float loses
    // past some billions of metres (it then stops the process).
    static constexpr float kMaxReachMetres = 1.0e6f;
    // The smallest circle radius, in metres (a fifth of a point): Box2D lets shapes sink a few
    // millimetres into each other, so smaller circles heaped on a moving shape stay where it looks
    // for times of impact, and its continuous collision works on each of them again and again in
    // every step, each time walking every contact of the world. A circle so small looks and plays
    // the same at this size. One of no radius stays a point, which Box2D weighs as one kilogram.
    static constexpr float kMinCircleRadiusMetres = 2.0f * b2_linearSlop;

    explicit KXModelPolygon(const std::string& name);
    KXModelPolygon(const KXModelPolygon& source);

    // Stored form: the model's entries, then "points" and "oneWayCollisionVector".
    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    // More than 8 stored points are cut to the first 8.
    void unpackValues(const KXMessagePackMap& map) override;
    void loadValuesFromDictionary(cocos2d::CCDictionary* dictionary) override;
    cocos2d::CCDictionary* saveValuesToDictionary() const override;

    // Point editors; unless silent, a change is announced (KXModel::notifyModelChanged).
    // Out-of-range indices change nothing.
    virtual void addPoint(const cocos2d::CCPoint& point, bool silent = false);
    virtual void insertPoint(int index, const cocos2d::CCPoint& point, bool silent = false);
    virtual void removePoint(int index, bool silent = false);
    virtual void setPoint(int index, const cocos2d::CCPoint& point, bool silent = false);
    virtual bool isConvex() const;
    // Appends the four corners of a size x size box around -offset (120 x 80 when the size
    // is not positive in both directions); existing points stay.
    virtual void setBox(const cocos2d::CCSize& size, const cocos2d::CCPoint& offset, bool silent = false);
    // Replaces the points by that box.
    void replaceWithBox(const cocos2d::CCSize& size, const cocos2d::CCPoint& offset, bool silent = false);
    void removeAllPoints(bool silent = false);

    int pointCount() const { return static_cast<int>(m_points.size()); }
    // The point at the index, or (0, 0) out of range.
    cocos2d::CCPoint pointAt(int index) const;
    bool isEmpty() const { return m_points.empty(); }
    const std::vector<cocos2d::CCPoint>& points() const { return m_points; }
    cocos2d::CCPoint oneWayCollisionVector() const { return m_oneWayCollisionVector; }
    void setOneWayCollisionVector(const cocos2d::CCPoint& vector, bool silent = false);

    // Writes the first min(count, maxCount) points, scaled per axis, and returns how many.
    int gatherPoints(b2Vec2* buffer, int maxCount, float factorX, float factorY) const;

    // The shape at that scale, in metres; null when the points make no usable shape (a
    // polygon needs 3 to 8 finite points, none within 0.05 m of another, forming a hull of
    // positive area) or one reaching past kMaxReachMetres. A circle with a radius is at least
    // kMinCircleRadiusMetres in radius.
    std::unique_ptr<b2Shape> createShape(float scaleX, float scaleY) const;
    // Whether the shape at that scale stays within kMaxReachMetres of its origin.
    bool fitsThePhysics(float scaleX, float scaleY) const;
    // Box2D's default fixture with createShape's shape, which the caller then owns (delete
    // it after b2Body::CreateFixture); no shape when createShape gives none.
    b2FixtureDef fixtureDef(float scaleX, float scaleY) const;
    // True when fixtureDef at that scale carries a shape.
    bool isValidShape(float scaleX, float scaleY) const;

protected:
    std::vector<cocos2d::CCPoint> m_points;
    cocos2d::CCPoint m_oneWayCollisionVector;
};
