// Text attributes: a string with a byte limit, and a string that holds one entry of an option list.
#pragma once

#include <climits>
#include <string>

#include "model/attributes/KXAttributeValue.h"

class KXAttributeString : public KXAttributeValue<std::string> {
    KX_TYPE_IDENTITY(KXAttributeString)
    KX_ATTRIBUTE_CLONE(KXAttributeString)

public:
    static constexpr uint32_t kDefaultMaximumLength = INT_MAX;

    KXAttributeString(const std::string& name, KXModel* owner);
    KXAttributeString(const std::string& name, KXModel* owner, const KXAttributeString& source);

    uint32_t maximumLength() const { return m_maximumLength; }
    // Model constructors set the limit directly; the held value is not cut again.
    void setMaximumLength(uint32_t length) { m_maximumLength = length; }

    // Text longer than the limit is cut to it, back to the last whole UTF-8 character.
    void setValue(const std::string& value, bool silent = false);

    void loadValueFromDictionary(cocos2d::CCObject* object) override;
    cocos2d::CCDictionary* saveValueToDictionary() const override;

private:
    uint32_t m_maximumLength = kDefaultMaximumLength;
};

// The selected entry of an option list; only the entry is stored, never the list.
class KXAttributeStringList : public KXAttributeString {
    KX_TYPE_IDENTITY(KXAttributeStringList)
    KX_ATTRIBUTE_CLONE(KXAttributeStringList)

public:
    KXAttributeStringList(const std::string& name, KXModel* owner) : KXAttributeString(name, owner) {}
    KXAttributeStringList(const std::string& name, KXModel* owner, const KXAttributeStringList& source)
        : KXAttributeString(name, owner, source) {}
};
