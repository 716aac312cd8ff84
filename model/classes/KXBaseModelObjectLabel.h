#pragma once

#include "model/classes/KXModelObject.h"

#include <string>

class KXAttributeBool;
class KXAttributeFloat;
class KXAttributeSize;
class KXAttributeString;
class KXAttributeStringList;

// A scene object that shows a text: a fixed text, a score of some kind, or another value
// picked by "Score Type". The runtime text object interprets the selections.
class KXBaseModelObjectLabel : public KXModelObject {
public:
    explicit KXBaseModelObjectLabel(const std::string& name);
    KXBaseModelObjectLabel(const KXBaseModelObjectLabel& source);
    ~KXBaseModelObjectLabel() override;

    // The "Calculated Size" value: a label has no sprite to measure.
    cocos2d::CCSize contentSize(float time) const override;

    const std::string& action() const;
    const std::string& world() const;
    const std::string& scoreType() const;
    const std::string& amount() const;
    // A text-alignment name: "kCCTextAlignmentLeft", "kCCTextAlignmentCenter" or
    // "kCCTextAlignmentRight".
    const std::string& alignment() const;
    const std::string& text() const;
    const std::string& font() const;
    float tracking() const;
    bool stickToEdge() const;
    float autohide() const;
    cocos2d::CCSize calculatedSize() const;

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeStringList* actionAttribute() const { return m_action; }
    KXAttributeStringList* worldAttribute() const { return m_world; }
    KXAttributeStringList* scoreTypeAttribute() const { return m_scoreType; }
    KXAttributeStringList* amountAttribute() const { return m_amount; }
    KXAttributeStringList* alignmentAttribute() const { return m_alignment; }
    KXAttributeString* textAttribute() const { return m_text; }
    KXAttributeStringList* fontAttribute() const { return m_font; }
    KXAttributeFloat* trackingAttribute() const { return m_tracking; }
    KXAttributeBool* stickToEdgeAttribute() const { return m_stickToEdge; }
    KXAttributeFloat* autohideAttribute() const { return m_autohide; }
    KXAttributeSize* calculatedSizeAttribute() const { return m_calculatedSize; }

    static constexpr float kDefaultExtent = 100.0f;

private:
    KXAttributeStringList* m_action = nullptr;
    KXAttributeStringList* m_world = nullptr;
    KXAttributeStringList* m_scoreType = nullptr;
    KXAttributeStringList* m_amount = nullptr;
    KXAttributeStringList* m_alignment = nullptr;
    KXAttributeString* m_text = nullptr;
    KXAttributeStringList* m_font = nullptr;
    KXAttributeFloat* m_tracking = nullptr;
    KXAttributeBool* m_stickToEdge = nullptr;
    KXAttributeFloat* m_autohide = nullptr;
    KXAttributeSize* m_calculatedSize = nullptr;
};
