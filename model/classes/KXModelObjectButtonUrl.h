#pragma once

#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButton.h"

#include <memory>
#include <string>

// A button that opens a link.
class KXModelObjectButtonUrl : public KXModelObjectButton {
    KX_MODEL_IDENTITY(KXModelObjectButtonUrl, KXModelObjectButton)

public:
    static constexpr const char* kDefaultObjectName = "Url Button";

    static std::shared_ptr<KXModel> create();
    static std::shared_ptr<KXModel> createCopy(const KXModelObjectButtonUrl& source);

    explicit KXModelObjectButtonUrl(const std::string& name);
    KXModelObjectButtonUrl(const KXModelObjectButtonUrl& source);

    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override;

    const std::string& url() const;

protected:
    KXAttributeString* urlAttribute() const { return m_url; }
    // Kinds that store the link under another name take it back by that name.
    void bindUrlAttribute(const char* name);

private:
    KXAttributeString* m_url = nullptr;
};
