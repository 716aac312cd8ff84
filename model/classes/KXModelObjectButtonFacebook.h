#pragma once

#include "model/attributes/KXAttributeString.h"
#include "model/classes/KXModelObjectButtonUrl.h"

#include <memory>
#include <string>

// A link button to a social page; its link is stored as "Facebook URL". Not a kind of link
// button: code looking for link buttons by kind does not find it.
class KXModelObjectButtonFacebook : public KXModelObjectButtonUrl {
    KX_TYPE_IDENTITY(KXModelObjectButtonFacebook)
    KX_MODEL_CREATE(KXModelObjectButtonFacebook)
    KX_MODEL_CLONE(KXModelObjectButtonFacebook)

public:
    static constexpr const char* kDefaultObjectName = "Facebook Button";

    explicit KXModelObjectButtonFacebook(const std::string& name);
    KXModelObjectButtonFacebook(const KXModelObjectButtonFacebook& source);

    bool isKindOf(uint32_t kind) const override;

    const std::string& facebookId() const;

private:
    KXAttributeString* m_facebookId = nullptr;
};
