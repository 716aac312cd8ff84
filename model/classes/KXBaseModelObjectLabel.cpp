#include "model/classes/KXBaseModelObjectLabel.h"

#include "model/attributes/KXAttributeGeometry.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kAction = "Action";
constexpr const char* kWorld = "World";
constexpr const char* kScoreType = "Score Type";
constexpr const char* kAmount = "Amount";
constexpr const char* kAlignment = "Alignment";
constexpr const char* kText = "Text";
constexpr const char* kFont = "Font";
constexpr const char* kTracking = "Tracking";
constexpr const char* kStickToEdge = "Stick To Edge";
constexpr const char* kAutohide = "Autohide";
constexpr const char* kCalculatedSize = "Calculated Size";
} // namespace

KXBaseModelObjectLabel::KXBaseModelObjectLabel(const std::string& name)
    : KXModelObject(name), m_action(new KXAttributeStringList(kAction, this)),
      m_world(new KXAttributeStringList(kWorld, this)),
      m_scoreType(new KXAttributeStringList(kScoreType, this)),
      m_amount(new KXAttributeStringList(kAmount, this)),
      m_alignment(new KXAttributeStringList(kAlignment, this)), m_text(new KXAttributeString(kText, this)),
      m_font(new KXAttributeStringList(kFont, this)), m_tracking(new KXAttributeFloat(kTracking, this)),
      m_stickToEdge(new KXAttributeBool(kStickToEdge, this)),
      m_autohide(new KXAttributeFloat(kAutohide, this)),
      m_calculatedSize(new KXAttributeSize(kCalculatedSize, this)) {
    m_calculatedSize->setValue(cocos2d::CCSize(kDefaultExtent, kDefaultExtent), true);
}

KXBaseModelObjectLabel::KXBaseModelObjectLabel(const KXBaseModelObjectLabel& source)
    : KXModelObject(source), m_action(boundAttribute<KXAttributeStringList>(*this, kAction)),
      m_world(boundAttribute<KXAttributeStringList>(*this, kWorld)),
      m_scoreType(boundAttribute<KXAttributeStringList>(*this, kScoreType)),
      m_amount(boundAttribute<KXAttributeStringList>(*this, kAmount)),
      m_alignment(boundAttribute<KXAttributeStringList>(*this, kAlignment)),
      m_text(boundAttribute<KXAttributeString>(*this, kText)),
      m_font(boundAttribute<KXAttributeStringList>(*this, kFont)),
      m_tracking(boundAttribute<KXAttributeFloat>(*this, kTracking)),
      m_stickToEdge(boundAttribute<KXAttributeBool>(*this, kStickToEdge)),
      m_autohide(boundAttribute<KXAttributeFloat>(*this, kAutohide)),
      m_calculatedSize(boundAttribute<KXAttributeSize>(*this, kCalculatedSize)) {}

KXBaseModelObjectLabel::~KXBaseModelObjectLabel() = default;

cocos2d::CCSize KXBaseModelObjectLabel::contentSize(float /*time*/) const {
    return calculatedSize();
}

const std::string& KXBaseModelObjectLabel::action() const {
    return attributeText(m_action);
}
const std::string& KXBaseModelObjectLabel::world() const {
    return attributeText(m_world);
}
const std::string& KXBaseModelObjectLabel::scoreType() const {
    return attributeText(m_scoreType);
}
const std::string& KXBaseModelObjectLabel::amount() const {
    return attributeText(m_amount);
}
const std::string& KXBaseModelObjectLabel::alignment() const {
    return attributeText(m_alignment);
}
const std::string& KXBaseModelObjectLabel::text() const {
    return attributeText(m_text);
}
const std::string& KXBaseModelObjectLabel::font() const {
    return attributeText(m_font);
}
float KXBaseModelObjectLabel::tracking() const {
    return attributeValue(m_tracking);
}
bool KXBaseModelObjectLabel::stickToEdge() const {
    return attributeValue(m_stickToEdge);
}
float KXBaseModelObjectLabel::autohide() const {
    return attributeValue(m_autohide);
}
cocos2d::CCSize KXBaseModelObjectLabel::calculatedSize() const {
    return attributeValue(m_calculatedSize);
}
