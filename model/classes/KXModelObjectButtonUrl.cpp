#include "model/classes/KXModelObjectButtonUrl.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kUrl = "URL";
} // namespace

KXModelObjectButtonUrl::KXModelObjectButtonUrl(const std::string& name)
    : KXModelObjectButton(name), m_url(new KXAttributeString(kUrl, this)) {}

KXModelObjectButtonUrl::KXModelObjectButtonUrl(const KXModelObjectButtonUrl& source)
    : KXModelObjectButton(source), m_url(attributeOfClass<KXAttributeString>(*this, kUrl)) {}

const std::string& KXModelObjectButtonUrl::url() const {
    return attributeText(m_url);
}

void KXModelObjectButtonUrl::bindUrlAttribute(const char* name) {
    m_url = boundAttribute<KXAttributeString>(*this, name);
}
