#include "model/classes/KXModelObjectButtonUrl.h"

#include "model/classes/KXAttributeBinding.h"

namespace {
constexpr const char* kUrl = "URL";
} // namespace

std::shared_ptr<KXModel> KXModelObjectButtonUrl::create() {
    return KXModel::makeShared<KXModelObjectButtonUrl>(kDefaultObjectName);
}

std::shared_ptr<KXModel> KXModelObjectButtonUrl::createCopy(const KXModelObjectButtonUrl& source) {
    return KXModel::makeShared<KXModelObjectButtonUrl>(source);
}

KXModelObjectButtonUrl::KXModelObjectButtonUrl(const std::string& name)
    : KXModelObjectButton(name), m_url(new KXAttributeString(kUrl, this)) {}

KXModelObjectButtonUrl::KXModelObjectButtonUrl(const KXModelObjectButtonUrl& source)
    : KXModelObjectButton(source), m_url(boundAttribute<KXAttributeString>(*this, kUrl)) {}

std::shared_ptr<KXModel> KXModelObjectButtonUrl::clone(bool deep, bool registerClone) const {
    return finishClone(createCopy(*this), deep, registerClone);
}

const std::string& KXModelObjectButtonUrl::url() const {
    return attributeText(m_url);
}

void KXModelObjectButtonUrl::bindUrlAttribute(const char* name) {
    m_url = boundAttribute<KXAttributeString>(*this, name);
}
