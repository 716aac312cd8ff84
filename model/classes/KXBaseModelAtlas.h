#pragma once

#include "model/KXModel.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXChildSubset.h"

#include <memory>
#include <string>

// One packed texture sheet: its sprite children, the sheet's size and padding, and its two
// files (image and frame list), named after the model's id.
class KXBaseModelAtlas : public KXModel {
public:
    static constexpr float kDefaultExtent = 2048.0f;
    static constexpr float kMinimumExtent = 128.0f;
    static constexpr float kMaximumExtent = 4096.0f;
    static constexpr float kDefaultPadding = 4.0f;

    explicit KXBaseModelAtlas(const std::string& name);
    // Attributes copied; the sprite list fills as the copy's children are added.
    KXBaseModelAtlas(const KXBaseModelAtlas& source);

    // Keep the sprite list (children that are exactly KXModelSprite) in step.
    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    // data directory + "/atlases/atlas_ID<id>.png"
    virtual std::string imagePath() const;
    // data directory + "/atlases/atlas_ID<id>.plist"
    virtual std::string plistPath() const;

    const KXChildSubset::List& sprites() const { return m_sprites.models(); }

    KXAttributeFloat* widthAttribute() const { return m_width; }
    KXAttributeFloat* heightAttribute() const { return m_height; }
    KXAttributeFloat* paddingAttribute() const { return m_padding; }

private:
    void bindAttributes();

    KXAttributeFloat* m_width = nullptr;
    KXAttributeFloat* m_height = nullptr;
    KXAttributeFloat* m_padding = nullptr;
    KXChildSubset m_sprites;
};
