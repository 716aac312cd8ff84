#include "model/attributes/KXAttributeGradient.h"

#include <cmath>
#include <functional>
#include <vector>

#include "model/KXMessagePackMap.h"

using namespace cocos2d;

size_t KXGradientPositionHash::operator()(float position) const {
    if (std::isnan(position)) {
        return 1;
    }
    // std::hash<float> is not required to send 0.0 and -0.0 to one bucket.
    return position == 0.0f ? 0 : std::hash<float>()(position);
}

bool KXGradientPositionEqual::operator()(float a, float b) const {
    return a == b || (std::isnan(a) && std::isnan(b));
}

ccColor4F KXAttributeGradient::colorAt(float position, const ccColor4F& fallback) const {
    auto it = m_stops.find(position);
    return it == m_stops.end() ? fallback : it->second;
}

void KXAttributeGradient::setColor(float position, const ccColor4F& color, bool silent) {
    m_stops[position] = color;
    if (!silent) {
        notifyChanged(0);
    }
}

void KXAttributeGradient::registerKeys() const {
    KXAttribute::registerKeys();
    KXMessagePackMap::registerKeyName("pos");
    KXMessagePackMap::registerKeyName("color");
    KXMessagePackMap::registerKeyName("gradients");
}

void KXAttributeGradient::packValues(KXMessagePackMap& map) const {
    if (m_stops.empty()) {
        return;
    }
    msgpack::zone& zone = map.zone();
    std::vector<msgpack::object> list;
    list.reserve(m_stops.size());
    for (const auto& stop : m_stops) {
        KXMessagePackMap element(zone);
        element.set("pos", stop.first);
        element.set("color", stop.second);
        list.push_back(element.toObject());
    }
    map.set("gradients", list);
}

void KXAttributeGradient::unpackValues(const KXMessagePackMap& map) {
    const msgpack::object* list = map.find("gradients");
    if (list == nullptr) {
        return;
    }
    if (list->type != msgpack::type::ARRAY) {
        throw msgpack::type_error();
    }
    for (uint32_t i = 0; i < list->via.array.size; ++i) {
        const KXMessagePackMap element = KXMessagePackMap::fromObject(list->via.array.ptr[i]);
        float position = 0.0f;
        element.get("pos", position);
        auto stop = m_stops.emplace(position, ccColor4F{0.0f, 0.0f, 0.0f, 0.0f}).first;
        element.get("color", stop->second);
    }
}

void KXAttributeGradient::loadValueFromDictionary(CCObject* object) {
    CCDictionary* dictionary = dynamic_cast<CCDictionary*>(object);
    if (dictionary == nullptr) {
        return;
    }
    CCArray* list = dynamic_cast<CCArray*>(dictionary->objectForKey("gradients"));
    if (list == nullptr) {
        return;
    }
    for (CCObject* item : list->data()) {
        CCDictionary* element = dynamic_cast<CCDictionary*>(item);
        if (element == nullptr) {
            break;
        }
        const float position = element->valueForKey("pos")->floatValue();
        m_stops[position] =
            ccColor4F{element->valueForKey("r")->floatValue(), element->valueForKey("g")->floatValue(),
                      element->valueForKey("b")->floatValue(), element->valueForKey("a")->floatValue()};
    }
}

CCDictionary* KXAttributeGradient::saveValueToDictionary() const {
    CCArray* list = CCArray::createWithCapacity(static_cast<unsigned int>(m_stops.size()));
    for (const auto& stop : m_stops) {
        CCDictionary* element = CCDictionary::create();
        element->setObject(CCString::createWithFormat("%f", stop.first), "pos");
        element->setObject(CCString::createWithFormat("%f", stop.second.r), "r");
        element->setObject(CCString::createWithFormat("%f", stop.second.g), "g");
        element->setObject(CCString::createWithFormat("%f", stop.second.b), "b");
        element->setObject(CCString::createWithFormat("%f", stop.second.a), "a");
        list->addObject(element);
    }
    CCDictionary* dictionary = CCDictionary::create();
    dictionary->setObject(list, "gradients");
    return dictionary;
}
