#include "model/attributes/KXAnimationCurveMap.h"

#include <vector>

#include "cocos2d.h"
#include "model/KXMessagePackMap.h"

using namespace cocos2d;

namespace {
constexpr int kNoState = -1;
}

KXAnimationCurveMap::KXAnimationCurveMap(const KXAnimationCurveMap& source) {
    for (const auto& entry : source.m_curves) {
        if (entry.second) {
            m_curves[entry.first] = entry.second->clone();
        }
    }
}

KXAnimationCurveMap& KXAnimationCurveMap::operator=(const KXAnimationCurveMap& source) {
    if (this != &source) {
        KXAnimationCurveMap copy(source);
        m_curves = std::move(copy.m_curves);
    }
    return *this;
}

KXAnimationCurve* KXAnimationCurveMap::find(int key) const {
    auto it = m_curves.find(key);
    return it == m_curves.end() ? nullptr : it->second.get();
}

void KXAnimationCurveMap::replace(int key, KXAnimationCurve* curve) {
    auto it = m_curves.find(key);
    if (it != m_curves.end() && it->second.get() == curve) {
        return;
    }
    if (curve == nullptr) {
        if (it != m_curves.end()) {
            m_curves.erase(it);
        }
        return;
    }
    m_curves[key].reset(curve);
}

void KXAnimationCurveMap::pack(KXMessagePackMap& map, const std::string& keyName) const {
    msgpack::zone& zone = map.zone();
    std::vector<msgpack::object> list;
    list.reserve(m_curves.size());
    for (const auto& entry : m_curves) {
        if (!entry.second) {
            continue;
        }
        KXMessagePackMap element(zone);
        element.set("state", static_cast<int32_t>(entry.first));
        KXMessagePackMap animation(zone);
        entry.second->packValues(animation);
        element.set("animation", animation);
        list.push_back(element.toObject());
    }
    map.set(keyName, list);
}

KXAnimationCurveMap KXAnimationCurveMap::fromObject(const msgpack::object& list) {
    if (list.type != msgpack::type::ARRAY) {
        throw msgpack::type_error();
    }
    KXAnimationCurveMap result;
    for (uint32_t i = 0; i < list.via.array.size; ++i) {
        const KXMessagePackMap element = KXMessagePackMap::fromObject(list.via.array.ptr[i]);
        auto curve = std::make_unique<KXAnimationCurve>();
        KXMessagePackMap animation;
        if (element.get("animation", animation)) {
            curve->unpackValues(animation);
        }
        int32_t state = kNoState;
        element.get("state", state);
        if (state != kNoState) {
            result.m_curves[state] = std::move(curve);
        }
    }
    return result;
}

bool KXAnimationCurveMap::unpackNonEmpty(const KXMessagePackMap& map, const std::string& keyName) {
    return unpackNonEmpty(map.find(keyName));
}

bool KXAnimationCurveMap::unpackNonEmpty(const KXMessagePackMap& map, const KXKeyName& key) {
    return unpackNonEmpty(map.find(key));
}

bool KXAnimationCurveMap::unpackNonEmpty(const msgpack::object* list) {
    if (list == nullptr) {
        return false;
    }
    if (list->type != msgpack::type::ARRAY) {
        throw msgpack::type_error();
    }
    if (list->via.array.size == 0) {
        return false;
    }
    *this = fromObject(*list);
    return true;
}

CCArray* KXAnimationCurveMap::saveToArray() const {
    if (m_curves.empty()) {
        return nullptr;
    }
    CCArray* array = CCArray::create();
    for (const auto& entry : m_curves) {
        if (!entry.second) {
            continue;
        }
        CCDictionary* element = CCDictionary::create();
        // Signed, so that negative states read back as themselves.
        element->setObject(CCString::createWithFormat("%d", entry.first), "state");
        element->setObject(entry.second->saveToDictionary(), "animation");
        array->addObject(element);
    }
    return array;
}

KXAnimationCurveMap KXAnimationCurveMap::fromArray(CCObject* object) {
    KXAnimationCurveMap result;
    CCArray* array = dynamic_cast<CCArray*>(object);
    if (array == nullptr) {
        return result;
    }
    for (CCObject* item : array->data()) {
        CCDictionary* element = dynamic_cast<CCDictionary*>(item);
        if (element == nullptr) {
            continue;
        }
        CCDictionary* animation = dynamic_cast<CCDictionary*>(element->objectForKey("animation"));
        const int state =
            element->objectForKey("state") != nullptr ? element->valueForKey("state")->intValue() : kNoState;
        if (animation == nullptr || state == kNoState) {
            continue;
        }
        auto curve = std::make_unique<KXAnimationCurve>();
        curve->loadFromDictionary(animation);
        result.m_curves[state] = std::move(curve);
    }
    return result;
}
