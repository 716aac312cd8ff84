#include "model/attributes/KXAnimationCurve.h"

#include <algorithm>

#include "cocos2d.h"
#include "model/KXMessagePackMap.h"

using namespace cocos2d;

float KXAnimationCurve::valueAt(float time) const {
    if (m_points.empty()) {
        return 0.0f;
    }
    if (m_points.size() == 1) {
        return m_points.front().value;
    }
    // `next` is the first point later than the time; for sorted points the segment before
    // it therefore has a positive length.
    size_t next = 0;
    while (next < m_points.size() && m_points[next].time <= time) {
        ++next;
    }
    if (next == 0) {
        return m_points.front().value;
    }
    if (next == m_points.size()) {
        return m_points.back().value;
    }
    const KXAnimationCurvePoint& a = m_points[next - 1];
    const KXAnimationCurvePoint& b = m_points[next];
    const float u = (time - a.time) / (b.time - a.time);
    const float s = 1.0f - u;
    switch (m_mode) {
    case Linear:
        return s * a.value + u * b.value;
    case CubicBezier:
        return s * s * s * a.value + 3.0f * u * s * s * a.outHandle + 3.0f * u * u * s * b.inHandle +
               u * u * u * b.value;
    default:
        return 0.0f;
    }
}

void KXAnimationCurve::addPoint(float value, float time) {
    for (KXAnimationCurvePoint& point : m_points) {
        if (point.time == time) {
            point.inHandle = value;
            point.value = value;
            point.outHandle = value;
            return;
        }
    }
    auto position = std::find_if(m_points.begin(), m_points.end(),
                                 [time](const KXAnimationCurvePoint& point) { return point.time > time; });
    m_points.insert(position, KXAnimationCurvePoint{value, time, value, value});
    smoothInnerHandles();
}

void KXAnimationCurve::smoothInnerHandles() {
    // Centre the handles of each inner point on its value, a quarter of the neighbours'
    // difference either side; the end points keep flat handles.
    for (size_t i = 1; i + 1 < m_points.size(); ++i) {
        const float previous = m_points[i - 1].value;
        const float next = m_points[i + 1].value;
        KXAnimationCurvePoint& point = m_points[i];
        const float current = point.value;
        point.inHandle = (previous + current) / 2.0f;
        point.outHandle = (next + current) / 2.0f;
        const float shift = ((current - point.outHandle) + (current - point.inHandle)) / 2.0f;
        point.inHandle += shift;
        point.outHandle += shift;
    }
}

std::unique_ptr<KXAnimationCurve> KXAnimationCurve::clone() const {
    auto copy = std::make_unique<KXAnimationCurve>();
    for (const KXAnimationCurvePoint& point : m_points) {
        copy->addPoint(point.value, point.time);
    }
    return copy;
}

void KXAnimationCurve::registerKeys() const {
    KXMessagePackMap::registerKeyName("points");
    KXMessagePackMap::registerKeyName("preset");
    KXMessagePackMap::registerKeyName("state");
    KXMessagePackMap::registerKeyName("animation");
}

void KXAnimationCurve::packValues(KXMessagePackMap& map) const {
    std::vector<CCPoint> stored;
    stored.reserve(m_points.size() * 2);
    for (const KXAnimationCurvePoint& point : m_points) {
        stored.emplace_back(point.time, point.value);
        stored.emplace_back(point.inHandle, point.outHandle);
    }
    map.set("points", stored);
    map.set("preset", static_cast<int32_t>(m_preset));
}

void KXAnimationCurve::unpackValues(const KXMessagePackMap& map) {
    std::vector<CCPoint> stored;
    if (map.get("points", stored) && stored.size() >= 2) {
        for (size_t i = 0; i + 1 < stored.size(); i += 2) {
            appendPoint(KXAnimationCurvePoint{stored[i + 1].x, stored[i].x, stored[i].y, stored[i + 1].y});
        }
    }
    map.get("preset", m_preset);
}

void KXAnimationCurve::packConnections(KXMessagePackMap& /*map*/) const {}

void KXAnimationCurve::unpackConnections(const KXMessagePackMap& /*map*/) {}

void KXAnimationCurve::loadFromDictionary(CCDictionary* dictionary) {
    if (dictionary == nullptr) {
        return;
    }
    CCArray* stored = dynamic_cast<CCArray*>(dictionary->objectForKey("points"));
    if (stored != nullptr && stored->count() >= 2) {
        for (unsigned int i = 0; i + 1 < stored->count(); i += 2) {
            const CCString* first = dynamic_cast<const CCString*>(stored->objectAtIndex(i));
            const CCString* second = dynamic_cast<const CCString*>(stored->objectAtIndex(i + 1));
            const CCPoint timeValue = first ? first->pointValue() : CCPoint();
            const CCPoint handles = second ? second->pointValue() : CCPoint();
            appendPoint(KXAnimationCurvePoint{handles.x, timeValue.x, timeValue.y, handles.y});
        }
    }
    if (dictionary->objectForKey("preset") != nullptr) {
        m_preset = dictionary->valueForKey("preset")->intValue();
    }
}

CCDictionary* KXAnimationCurve::saveToDictionary() const {
    CCArray* stored = CCArray::createWithCapacity(static_cast<unsigned int>(m_points.size() * 2));
    for (const KXAnimationCurvePoint& point : m_points) {
        stored->addObject(CCString::createWithFormat("{%.3f,%.3f}", point.time, point.value));
        stored->addObject(CCString::createWithFormat("{%.3f,%.3f}", point.inHandle, point.outHandle));
    }
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(stored, "points");
    dictionary->setObject(CCString::createWithFormat("%d", m_preset), "preset");
    return dictionary;
}
