#pragma once

#include "model/KXModel.h"
#include "model/attributes/KXAttributeFrameEdgeState.h"
#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/attributes/KXBaseAttributeEnum.h"
#include "model/classes/KXGameplayValues.h"

#include "base/CCDictionary.h"

#include <cstdint>
#include <string>

class KXAttributeSprite;

// The game-wide settings: editor version, id counter, screen orientation and adaptation, player
// texts, key bindings, per-platform string tables, and the start values of the gameplay settings.
class KXBaseModelGeneralSettings : public KXModel {
public:
    enum Orientation : int32_t {
        OrientationPortrait = 0,
        OrientationLandscape = 1, // any other value is portrait
    };
    enum ScreenAdjustment : int32_t {
        ScreenAdjustmentNoBorder = 0,
        ScreenAdjustmentFixedHeight = 1,
        ScreenAdjustmentFixedWidth = 2,
        ScreenAdjustmentAutomatic = 3, // by aspect ratio
    };

    class KXAttributeOrientation : public KXBaseAttributeEnum<Orientation> {
        KX_TYPE_IDENTITY(KXAttributeOrientation)
        KX_ATTRIBUTE_CLONE(KXAttributeOrientation)

    public:
        KXAttributeOrientation(const std::string& name, KXModel* owner, uint32_t flags = 0)
            : KXBaseAttributeEnum<Orientation>(name, owner, flags) {}
        KXAttributeOrientation(const std::string& name, KXModel* owner, const KXAttributeOrientation& source)
            : KXBaseAttributeEnum<Orientation>(name, owner, source) {}
    };

    class KXAttributeScreenAdjustment : public KXBaseAttributeEnum<ScreenAdjustment> {
        KX_TYPE_IDENTITY(KXAttributeScreenAdjustment)
        KX_ATTRIBUTE_CLONE(KXAttributeScreenAdjustment)

    public:
        KXAttributeScreenAdjustment(const std::string& name, KXModel* owner, uint32_t flags = 0)
            : KXBaseAttributeEnum<ScreenAdjustment>(name, owner, flags) {}
        KXAttributeScreenAdjustment(const std::string& name, KXModel* owner,
                                    const KXAttributeScreenAdjustment& source)
            : KXBaseAttributeEnum<ScreenAdjustment>(name, owner, source) {}
    };

    // Start values of the gameplay settings (see startGameplayValues); plain members, not
    // attributes: never packed, never announced, read and written only in the dictionary form.
    // Their game angle direction is the "Game Angle Direction" attribute instead.
    static KXGameplayValues startGameplayValues();

    static constexpr const char* kPlatformValuesKey = "platformSpecificValues";

    explicit KXBaseModelGeneralSettings(const std::string& name);
    KXBaseModelGeneralSettings(const KXBaseModelGeneralSettings& source);
    ~KXBaseModelGeneralSettings() override;

    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    // Attributes, then the platform values (a present, non-empty map replaces them all); last,
    // the store's id counter takes "Last ID".
    void unpackValues(const KXMessagePackMap& map) override;
    void loadValuesFromDictionary(cocos2d::CCDictionary* dictionary) override;
    cocos2d::CCDictionary* saveValuesToDictionary() const override;

    int orientation() const { return m_orientation->intValue(); }
    int screenAdjustment() const { return m_screenAdjustment->intValue(); }
    int moveUpKey() const { return m_moveUpKey->value(); }
    int moveDownKey() const { return m_moveDownKey->value(); }
    int moveLeftKey() const { return m_moveLeftKey->value(); }
    int moveRightKey() const { return m_moveRightKey->value(); }
    int motorCWKey() const { return m_motorCWKey->value(); }
    int motorCCWKey() const { return m_motorCCWKey->value(); }
    int rotateLeftKey() const { return m_rotateLeftKey->value(); }
    int rotateRightKey() const { return m_rotateRightKey->value(); }
    int shootKey() const { return m_shootKey->value(); }
    int jumpKey() const { return m_jumpKey->value(); }
    const std::string& scoreType() const { return m_scoreType->value(); }
    const std::string& shareScreen() const { return m_shareScreen->value(); }
    const std::string& zdVersion() const { return m_zdVersion->value(); }
    const std::string& applicationName() const { return m_applicationName->value(); }
    const std::string& versionNumber() const { return m_versionNumber->value(); }
    const std::string& resetText() const { return m_resetText->value(); }
    const std::string& notEnoughCurrencyText() const { return m_notEnoughCurrencyText->value(); }
    const std::string& userId() const { return m_userId->value(); }
    unsigned int lastId() const { return m_lastId->value(); }
    float gameAngleDirection() const { return m_gameAngleDirection->value(); }

    // Platform name -> CCDictionary of key -> CCString.
    cocos2d::CCDictionary* platformValues() const { return m_platformValues; }
    const KXGameplayValues& gameplayDefaults() const { return m_gameplay; }
    KXGameplayValues& gameplayDefaults() { return m_gameplay; }

    // The attributes, for tools and the few readers that need more than the value.
    KXAttributeString* zdVersionAttribute() const { return m_zdVersion; }
    KXAttributeUInt* lastIdAttribute() const { return m_lastId; }
    KXAttributeOrientation* orientationAttribute() const { return m_orientation; }
    KXAttributeFrameEdgeState* edgeAttribute(int index) const { return m_edges[index & 3]; }
    KXAttributeScreenAdjustment* screenAdjustmentAttribute() const { return m_screenAdjustment; }
    KXAttributeFloat* gameAngleDirectionAttribute() const { return m_gameAngleDirection; }
    KXAttributeBool* useEncryptionAttribute() const { return m_useEncryption; }
    KXAttributeRect* objectFrameAttribute() const { return m_objectFrame; }
    KXAttributeSize* designSizeAttribute() const { return m_designSize; }
    KXAttributeString* scoreTypeAttribute() const { return m_scoreType; }
    KXAttributeString* shareScreenAttribute() const { return m_shareScreen; }
    KXAttributeString* versionNumberAttribute() const { return m_versionNumber; }
    KXAttributeString* applicationNameAttribute() const { return m_applicationName; }
    KXAttributeString* commentsAttribute() const { return m_comments; }
    KXAttributeString* resetTextAttribute() const { return m_resetText; }
    KXAttributeString* notEnoughCurrencyTextAttribute() const { return m_notEnoughCurrencyText; }
    KXAttributeString* buildDateAttribute() const { return m_buildDate; }
    KXAttributeString* userIdAttribute() const { return m_userId; }
    KXAttributeSprite* iconAttribute() const { return m_icon; }
    KXAttributeKey* moveUpKeyAttribute() const { return m_moveUpKey; }
    KXAttributeKey* jumpKeyAttribute() const { return m_jumpKey; }

private:
    // Points the members at the attributes of this model (made by either constructor).
    void bindAttributes();
    void applyConstructionDefaults();
    void replacePlatformValues(cocos2d::CCDictionary* values);

    KXAttributeString* m_zdVersion = nullptr;
    KXAttributeUInt* m_lastId = nullptr;
    KXAttributeOrientation* m_orientation = nullptr;
    KXAttributeFrameEdgeState* m_edges[4] = {nullptr, nullptr, nullptr, nullptr};
    KXAttributeScreenAdjustment* m_screenAdjustment = nullptr;
    KXAttributeFloat* m_gameAngleDirection = nullptr;
    KXAttributeBool* m_useEncryption = nullptr;
    KXAttributeRect* m_objectFrame = nullptr;
    KXAttributeSize* m_designSize = nullptr;
    KXAttributeString* m_scoreType = nullptr;
    KXAttributeString* m_shareScreen = nullptr;
    KXAttributeString* m_versionNumber = nullptr;
    KXAttributeString* m_applicationName = nullptr;
    KXAttributeString* m_comments = nullptr;
    KXAttributeString* m_resetText = nullptr;
    KXAttributeString* m_notEnoughCurrencyText = nullptr;
    KXAttributeString* m_buildDate = nullptr;
    KXAttributeString* m_userId = nullptr;
    KXAttributeSprite* m_icon = nullptr;
    KXAttributeKey* m_moveUpKey = nullptr;
    KXAttributeKey* m_moveDownKey = nullptr;
    KXAttributeKey* m_moveLeftKey = nullptr;
    KXAttributeKey* m_moveRightKey = nullptr;
    KXAttributeKey* m_motorCWKey = nullptr;
    KXAttributeKey* m_motorCCWKey = nullptr;
    KXAttributeKey* m_rotateLeftKey = nullptr;
    KXAttributeKey* m_rotateRightKey = nullptr;
    KXAttributeKey* m_shootKey = nullptr;
    KXAttributeKey* m_jumpKey = nullptr;

    cocos2d::CCDictionary* m_platformValues = nullptr;
    KXGameplayValues m_gameplay = startGameplayValues();
};
