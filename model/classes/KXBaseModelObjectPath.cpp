#include "model/classes/KXBaseModelObjectPath.h"

#include "model/KXMessagePackAdaptors.h"
#include "model/KXMessagePackMap.h"
#include "model/classes/KXAttributeBinding.h"

using cocos2d::CCPoint;

namespace {
constexpr const char* kPoints = "points";
constexpr const char* kSearchRadius = "Search Radius";
constexpr const char* kSpeed = "Speed";
constexpr const char* kAttractionForce = "Attraction Force";
constexpr const char* kKeepVelocity = "Keep Velocity";
constexpr const char* kImageDirection = "Image Direction";
constexpr const char* kPlayMode = "Play Mode";
constexpr const char* kAffectedAsset = "Affected Asset";
constexpr const char* kObjectAsset = "Object Asset";
constexpr const char* kImageTransition = "Image Transition";
constexpr float kContentSide = 30.0f;
} // namespace

KXBaseModelObjectPath::KXBaseModelObjectPath(const std::string& name)
    : KXModelObjectAsset(name), m_searchRadius(new KXAttributeFloat(kSearchRadius, this, 0)),
      m_speed(new KXAttributeFloat(kSpeed, this, 0)),
      m_attractionForce(new KXAttributeFloat(kAttractionForce, this, 0)),
      m_keepVelocity(new KXAttributeBool(kKeepVelocity, this)),
      m_imageDirection(new KXAttributeBool(kImageDirection, this)),
      m_playMode(new KXAttributeStringList(kPlayMode, this)),
      m_affectedAsset(new KXAttributeStringList(kAffectedAsset, this)),
      m_objectAsset(new KXAttributeStringList(kObjectAsset, this)),
      m_imageTransition(new KXAttributeStringList(kImageTransition, this)) {
    m_searchRadius->setValue(50.0f, true);
    m_speed->setValue(50.0f, true);
    m_attractionForce->setValue(50.0f, true);
    m_keepVelocity->setValue(true, true);
    // The force's range is set after its default; each bound change pulls both values in.
    m_attractionForce->setMinimum(0.0f);
    m_attractionForce->setValue(m_attractionForce->value(), true);
    m_attractionForce->setVariableValue(m_attractionForce->clamped(m_attractionForce->variableValue()));
    m_attractionForce->setMaximum(100.0f);
    m_attractionForce->setValue(m_attractionForce->value(), true);
    m_attractionForce->setVariableValue(m_attractionForce->clamped(m_attractionForce->variableValue()));
}

KXBaseModelObjectPath::KXBaseModelObjectPath(const KXBaseModelObjectPath& source)
    : KXModelObjectAsset(source), m_points(source.m_points),
      m_searchRadius(boundAttribute<KXAttributeFloat>(*this, kSearchRadius)),
      m_speed(boundAttribute<KXAttributeFloat>(*this, kSpeed)),
      m_attractionForce(boundAttribute<KXAttributeFloat>(*this, kAttractionForce)),
      m_keepVelocity(boundAttribute<KXAttributeBool>(*this, kKeepVelocity)),
      m_imageDirection(boundAttribute<KXAttributeBool>(*this, kImageDirection)),
      m_playMode(boundAttribute<KXAttributeStringList>(*this, kPlayMode)),
      m_affectedAsset(boundAttribute<KXAttributeStringList>(*this, kAffectedAsset)),
      m_objectAsset(boundAttribute<KXAttributeStringList>(*this, kObjectAsset)),
      m_imageTransition(boundAttribute<KXAttributeStringList>(*this, kImageTransition)) {}

void KXBaseModelObjectPath::registerKeys() const {
    KXModelObjectAsset::registerKeys();
    KXMessagePackMap::registerKeyName(kPoints);
}

void KXBaseModelObjectPath::packValues(KXMessagePackMap& map) const {
    KXModelObjectAsset::packValues(map);
    map.set(kPoints, m_points);
}

void KXBaseModelObjectPath::unpackValues(const KXMessagePackMap& map) {
    KXModelObjectAsset::unpackValues(map);
    // Converted aside first: a malformed list throws (naming the entry) and leaves the points as
    // they were.
    std::vector<CCPoint> points;
    if (map.get(kPoints, points)) {
        m_points.swap(points);
    }
}

void KXBaseModelObjectPath::loadValuesFromDictionary(cocos2d::CCDictionary* dictionary) {
    KXModelObjectAsset::loadValuesFromDictionary(dictionary);
    if (dictionary == nullptr) {
        return;
    }
    cocos2d::CCArray* texts = dynamic_cast<cocos2d::CCArray*>(dictionary->objectForKey(kPoints));
    if (texts == nullptr) {
        return;
    }
    for (unsigned int index = 0; index < texts->count(); ++index) {
        cocos2d::CCString* text = dynamic_cast<cocos2d::CCString*>(texts->objectAtIndex(index));
        if (text == nullptr) {
            break;
        }
        m_points.push_back(cocos2d::CCPointFromString(text->getCString()));
    }
}

cocos2d::CCDictionary* KXBaseModelObjectPath::saveValuesToDictionary() const {
    cocos2d::CCDictionary* dictionary = KXModelObjectAsset::saveValuesToDictionary();
    if (dictionary == nullptr) {
        dictionary = cocos2d::CCDictionary::create();
    }
    cocos2d::CCArray* texts =
        cocos2d::CCArray::createWithCapacity(static_cast<unsigned int>(m_points.size()));
    for (const CCPoint& point : m_points) {
        texts->addObject(cocos2d::CCString::createWithFormat("{%.3f,%.3f}", point.x, point.y));
    }
    dictionary->setObject(texts, kPoints);
    return dictionary;
}

cocos2d::CCSize KXBaseModelObjectPath::contentSize(float /*time*/) const {
    return cocos2d::CCSize(kContentSide, kContentSide);
}

float KXBaseModelObjectPath::searchRadius() const {
    return attributeValue(m_searchRadius);
}
float KXBaseModelObjectPath::speed() const {
    return attributeValue(m_speed);
}
float KXBaseModelObjectPath::attractionForce() const {
    return attributeValue(m_attractionForce);
}
bool KXBaseModelObjectPath::keepVelocity() const {
    return attributeValue(m_keepVelocity);
}
bool KXBaseModelObjectPath::imageDirection() const {
    return attributeValue(m_imageDirection);
}
const std::string& KXBaseModelObjectPath::playMode() const {
    return attributeText(m_playMode);
}
const std::string& KXBaseModelObjectPath::affectedAsset() const {
    return attributeText(m_affectedAsset);
}
const std::string& KXBaseModelObjectPath::objectAsset() const {
    return attributeText(m_objectAsset);
}
int64_t KXBaseModelObjectPath::objectAssetValue() const {
    return leadingInteger(objectAsset());
}
const std::string& KXBaseModelObjectPath::imageTransition() const {
    return attributeText(m_imageTransition);
}
