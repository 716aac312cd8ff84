#pragma once

#include "model/classes/KXModelObject.h"

#include <memory>
#include <string>

class KXAttributeSprite;
class KXAttributeFloat;
class KXAttributeBool;
class KXModelSpriteContainer;

// A scene object that shows one sprite: the image object and the base of every button.
class KXBaseModelObjectImage : public KXModelObject {
public:
    explicit KXBaseModelObjectImage(const std::string& name);
    // A subclass may store "Image" under another name and bind it itself (bindImageAttribute).
    KXBaseModelObjectImage(const KXBaseModelObjectImage& source);
    ~KXBaseModelObjectImage() override;

    // Renaming the object renames the sprite it shows, so the two stay recognisable together.
    void attributeChanged(KXBaseAttribute* attribute, int flag) override;

    // The sprite referenced by "Image".
    std::shared_ptr<KXModelSpriteContainer> spriteContainer() const override;

    std::shared_ptr<KXModelSpriteContainer> image() const;
    void setImage(const std::shared_ptr<KXModelSpriteContainer>& sprite);
    float autohide() const;
    bool stickToEdge() const;
    void setStickToEdge(bool stick);

    // Null in a copy whose source lacked the attribute or held it under another class.
    KXAttributeSprite* imageAttribute() const { return m_image; }
    KXAttributeFloat* autohideAttribute() const { return m_autohide; }
    KXAttributeBool* stickToEdgeAttribute() const { return m_stickToEdge; }

protected:
    // For kinds that store "Image" under another name: binds the member to the copied sprite
    // attribute of that name (null when there is none).
    void bindImageAttribute(const char* storedName);

private:
    KXAttributeSprite* m_image = nullptr;
    KXAttributeFloat* m_autohide = nullptr;
    KXAttributeBool* m_stickToEdge = nullptr;
};
