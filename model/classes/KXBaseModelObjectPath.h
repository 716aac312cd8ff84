#pragma once

#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectAsset.h"

#include <string>
#include <vector>

// Moves other objects along a polyline. The points are the model's own list, stored under
// "points" beside the attributes.
class KXBaseModelObjectPath : public KXModelObjectAsset {
public:
    explicit KXBaseModelObjectPath(const std::string& name);
    KXBaseModelObjectPath(const KXBaseModelObjectPath& source);

    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    // A stored "points" replaces the list whole; without one the list stays.
    void unpackValues(const KXMessagePackMap& map) override;
    // Appends the stored "{x,y}" texts (the list is not cleared first).
    void loadValuesFromDictionary(cocos2d::CCDictionary* dictionary) override;
    cocos2d::CCDictionary* saveValuesToDictionary() const override;

    cocos2d::CCSize contentSize(float time) const override;

    const std::vector<cocos2d::CCPoint>& points() const { return m_points; }
    void setPoints(const std::vector<cocos2d::CCPoint>& points) { m_points = points; }

    float searchRadius() const;
    float speed() const;
    float attractionForce() const;
    bool keepVelocity() const;
    bool imageDirection() const;
    const std::string& playMode() const;
    const std::string& affectedAsset() const;
    const std::string& objectAsset() const;
    // "Object Asset" read as a whole number, wide enough for every asset id; 0 when it does not start
    // with one.
    int64_t objectAssetValue() const;
    const std::string& imageTransition() const;

private:
    std::vector<cocos2d::CCPoint> m_points;
    KXAttributeFloat* m_searchRadius = nullptr;
    KXAttributeFloat* m_speed = nullptr;
    KXAttributeFloat* m_attractionForce = nullptr;
    KXAttributeBool* m_keepVelocity = nullptr;
    KXAttributeBool* m_imageDirection = nullptr;
    KXAttributeStringList* m_playMode = nullptr;
    KXAttributeStringList* m_affectedAsset = nullptr;
    KXAttributeStringList* m_objectAsset = nullptr;
    KXAttributeStringList* m_imageTransition = nullptr;
};
