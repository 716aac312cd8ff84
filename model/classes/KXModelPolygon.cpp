#include "model/classes/KXModelPolygon.h"

#include "model/KXMessagePackMap.h"
#include "model/KXNumeric.h"
#include "model/KXPhysicsBounds.h"
#include "model/classes/KXModelCircle.h"
#include "model/classes/KXShapeGeometry.h"

#include <algorithm>
#include <cmath>

using namespace cocos2d;

namespace {

CCString* pointText(const CCPoint& point) {
    return CCString::createWithFormat("{%f,%f}", point.x, point.y);
}

bool isFinitePoint(const b2Vec2& point) {
    return std::isfinite(point.x) && std::isfinite(point.y);
}

bool withinReach(const b2Vec2& point, float margin) {
    const float reach = KXModelPolygon::kMaxReachMetres - margin;
    return std::fabs(point.x) <= reach && std::fabs(point.y) <= reach;
}

} // namespace

KXModelPolygon::KXModelPolygon(const std::string& name) : KXModel(name) {}

KXModelPolygon::KXModelPolygon(const KXModelPolygon& source)
    : KXModel(source), m_points(source.m_points), m_oneWayCollisionVector(source.m_oneWayCollisionVector) {}

// --- stored forms ---

void KXModelPolygon::registerKeys() const {
    KXModel::registerKeys();
    KXMessagePackMap::registerKeyName("points");
    KXMessagePackMap::registerKeyName("oneWayCollisionVector");
}

void KXModelPolygon::packValues(KXMessagePackMap& map) const {
    KXModel::packValues(map);
    map.set("points", m_points);
    map.set("oneWayCollisionVector", m_oneWayCollisionVector);
}

void KXModelPolygon::unpackValues(const KXMessagePackMap& map) {
    KXModel::unpackValues(map);
    std::vector<CCPoint> points;
    if (map.get("points", points)) {
        m_points.swap(points);
    }
    map.get("oneWayCollisionVector", m_oneWayCollisionVector);
    if (m_points.size() > static_cast<size_t>(kMaxStoredPoints)) {
        m_points.resize(kMaxStoredPoints);
    }
}

void KXModelPolygon::loadValuesFromDictionary(CCDictionary* dictionary) {
    KXModel::loadValuesFromDictionary(dictionary);
    if (dictionary == nullptr) {
        return;
    }
    if (CCArray* points = dynamic_cast<CCArray*>(dictionary->objectForKey("points"))) {
        CCObject* item = nullptr;
        CCARRAY_FOREACH(points, item) {
            if (CCString* text = dynamic_cast<CCString*>(item)) {
                addPoint(text->pointValue(), true);
            }
        }
    }
    if (CCString* text = dynamic_cast<CCString*>(dictionary->objectForKey("oneWayCollisionVector"))) {
        m_oneWayCollisionVector = text->pointValue();
    }
}

CCDictionary* KXModelPolygon::saveValuesToDictionary() const {
    CCDictionary* dictionary = KXModel::saveValuesToDictionary();
    if (dictionary == nullptr) {
        dictionary = CCDictionary::create();
    }
    CCArray* points = CCArray::createWithCapacity(static_cast<unsigned int>(m_points.size()));
    for (const CCPoint& point : m_points) {
        points->addObject(pointText(point));
    }
    dictionary->setObject(points, "points");
    dictionary->setObject(pointText(m_oneWayCollisionVector), "oneWayCollisionVector");
    return dictionary;
}

// --- point editors ---

void KXModelPolygon::addPoint(const CCPoint& point, bool silent) {
    m_points.push_back(CCPoint(point)); // a copy first: the point may be one of ours
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModelPolygon::insertPoint(int index, const CCPoint& point, bool silent) {
    if (index < 0 || index > pointCount()) {
        return;
    }
    const CCPoint copy = point;
    m_points.insert(m_points.begin() + index, copy);
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModelPolygon::removePoint(int index, bool silent) {
    if (index < 0 || index >= pointCount()) {
        return;
    }
    m_points.erase(m_points.begin() + index);
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModelPolygon::setPoint(int index, const CCPoint& point, bool silent) {
    if (index < 0 || index >= pointCount()) {
        return;
    }
    m_points[static_cast<size_t>(index)] = point;
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModelPolygon::removeAllPoints(bool silent) {
    if (m_points.empty()) {
        return;
    }
    m_points.clear();
    if (!silent) {
        notifyModelChanged();
    }
}

bool KXModelPolygon::isConvex() const {
    const int n = pointCount();
    if (n < 3) {
        return false;
    }
    int first = 0;
    for (int i = 0; i < n; ++i) {
        const CCPoint& p0 = m_points[static_cast<size_t>(i)];
        const CCPoint& p1 = m_points[static_cast<size_t>((i + 1) % n)];
        const CCPoint& p2 = m_points[static_cast<size_t>((i + 2) % n)];
        const float ex = p1.x - p0.x;
        const float ey = p1.y - p0.y;
        const float c = ey * p2.x - ex * p2.y + ex * p0.y - ey * p0.x;
        const int turn = kx::truncateToInt(c);
        if (i == 0) {
            first = turn;
        } else if ((first > 0 && turn <= 0) || (first < 0 && turn >= 0)) {
            return false;
        }
    }
    return true;
}

void KXModelPolygon::setBox(const CCSize& size, const CCPoint& offset, bool silent) {
    double width = kDefaultBoxWidth;
    double height = kDefaultBoxHeight;
    if (size.width > 0.0f && size.height > 0.0f) {
        width = size.width;
        height = size.height;
    }
    const float halfWidth = static_cast<float>(width / 2.0);
    const float halfHeight = static_cast<float>(height / 2.0);
    addPoint(CCPoint(-halfWidth - offset.x, -halfHeight - offset.y), true);
    addPoint(CCPoint(halfWidth - offset.x, -halfHeight - offset.y), true);
    addPoint(CCPoint(halfWidth - offset.x, halfHeight - offset.y), true);
    addPoint(CCPoint(-halfWidth - offset.x, halfHeight - offset.y), true);
    if (!silent) {
        notifyModelChanged();
    }
}

void KXModelPolygon::replaceWithBox(const CCSize& size, const CCPoint& offset, bool silent) {
    m_points.clear();
    setBox(size, offset, silent);
}

CCPoint KXModelPolygon::pointAt(int index) const {
    if (index < 0 || index >= pointCount()) {
        return CCPoint(0.0f, 0.0f);
    }
    return m_points[static_cast<size_t>(index)];
}

void KXModelPolygon::setOneWayCollisionVector(const CCPoint& vector, bool silent) {
    if (vector.equals(m_oneWayCollisionVector)) {
        return;
    }
    m_oneWayCollisionVector = vector;
    if (!silent) {
        notifyModelChanged();
    }
}

// --- physics ---

int KXModelPolygon::gatherPoints(b2Vec2* buffer, int maxCount, float factorX, float factorY) const {
    const int n = pointCount() < maxCount ? pointCount() : maxCount;
    if (n < 1) {
        return 0;
    }
    for (int i = 0; i < n; ++i) {
        const CCPoint& point = m_points[static_cast<size_t>(i)];
        buffer[i].Set(point.x * factorX, point.y * factorY);
    }
    return n;
}

bool KXModelPolygon::fitsThePhysics(float scaleX, float scaleY) const {
    b2Vec2 buffer[kMaxGatheredPoints];
    const int count =
        gatherPoints(buffer, kMaxGatheredPoints, scaleX * kMetresPerPixel, scaleY * -kMetresPerPixel);
    const bool isCircle = typeId() == KXModelCircle::staticType();
    const float radius = isCircle ? static_cast<const KXModelCircle*>(this)->radius() * kMetresPerPixel *
                                        static_cast<float>(std::fabs(static_cast<double>(scaleX)))
                                  : 0.0f;
    // Also a radius or point that is not a number: it reaches nowhere a float can tell.
    if (!(std::fabs(radius) <= kMaxReachMetres)) {
        return false;
    }
    // A circle reaches from its centre by its radius; a polygon to its points.
    for (int index = 0; index < (isCircle ? std::min(count, 1) : count); ++index) {
        if (!withinReach(buffer[index], std::fabs(radius))) {
            return false;
        }
    }
    return true;
}

std::unique_ptr<b2Shape> KXModelPolygon::createShape(float scaleX, float scaleY) const {
    b2Vec2 buffer[kMaxGatheredPoints];
    const int count =
        gatherPoints(buffer, kMaxGatheredPoints, scaleX * kMetresPerPixel, scaleY * -kMetresPerPixel);
    if (count < 1 || !fitsThePhysics(scaleX, scaleY)) {
        return nullptr;
    }
    if (typeId() == KXModelPolygon::staticType()) {
        if (!isUsablePolygonHull(buffer, count)) {
            return nullptr;
        }
        auto polygon = std::make_unique<b2PolygonShape>();
        polygon->Set(buffer, count);
        return polygon;
    }
    if (typeId() == KXModelCircle::staticType()) {
        const float radius = static_cast<const KXModelCircle*>(this)->radius() * kMetresPerPixel *
                             static_cast<float>(std::fabs(static_cast<double>(scaleX)));
        if (!isFinitePoint(buffer[0]) || !std::isfinite(radius)) {
            return nullptr;
        }
        auto circle = std::make_unique<b2CircleShape>();
        circle->m_p = buffer[0];
        circle->m_radius =
            radius > 0.0f && kx::physicsBoundsOn() ? std::max(radius, kMinCircleRadiusMetres) : radius;
        return circle;
    }
    auto box = std::make_unique<b2PolygonShape>();
    box->SetAsBox(kFallbackHalfExtent, kFallbackHalfExtent);
    return box;
}

b2FixtureDef KXModelPolygon::fixtureDef(float scaleX, float scaleY) const {
    b2FixtureDef definition;
    definition.shape = createShape(scaleX, scaleY).release();
    return definition;
}

bool KXModelPolygon::isValidShape(float scaleX, float scaleY) const {
    return createShape(scaleX, scaleY) != nullptr;
}
