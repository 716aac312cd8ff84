#pragma once

#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

// A button that opens a link.
class KXModelObjectButtonUrl : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonUrl, KXModelObjectButton)
    KX_MODEL_CREATE(KXModelObjectButtonUrl)
    KX_MODEL_CLONE(KXModelObjectButtonUrl)

public:
    static constexpr const char* kDefaultObjectName = "Url Button";

    explicit KXModelObjectButtonUrl(const std::string& name);
    // A subclass may store "URL" under another name and bind it itself (bindUrlAttribute).
    KXModelObjectButtonUrl(const KXModelObjectButtonUrl& source);

    const std::string& url() const;

protected:
    KXAttributeString* urlAttribute() const { return m_url; }
    // Kinds that store the link under another name take it back by that name.
    void bindUrlAttribute(const char* name);

private:
    KXAttributeString* m_url = nullptr;
};
