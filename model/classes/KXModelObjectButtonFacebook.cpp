#include "model/classes/KXModelObjectButtonFacebook.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kFacebookId = "Facebook ID";
constexpr const char* kFacebookUrl = "Facebook URL";
} // namespace

KXModelObjectButtonFacebook::KXModelObjectButtonFacebook(const std::string& name)
    : KXModelObjectButtonUrl(name), m_facebookId(new KXAttributeString(kFacebookId, this)) {
    if (KXAttributeString* link = urlAttribute()) {
        link->setName(kFacebookUrl);
    }
}

KXModelObjectButtonFacebook::KXModelObjectButtonFacebook(const KXModelObjectButtonFacebook& source)
    : KXModelObjectButtonUrl(source), m_facebookId(boundAttribute<KXAttributeString>(*this, kFacebookId)) {
    bindUrlAttribute(kFacebookUrl);
}

bool KXModelObjectButtonFacebook::isKindOf(uint32_t kind) const {
    // Skips the link button on purpose.
    return kind == staticType() || KXModelObjectButton::isKindOf(kind);
}

const std::string& KXModelObjectButtonFacebook::facebookId() const {
    return attributeText(m_facebookId);
}
