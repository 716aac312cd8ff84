#pragma once

#include "model/KXModel.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXChildSubset.h"

#include <memory>
#include <string>

// A timed sequence of frames: the scene-object children, in the order they were added.
class KXBaseModelAnimation : public KXModel {
public:
    explicit KXBaseModelAnimation(const std::string& name);
    // Attributes copied; the frame list fills as the copy's children are added.
    KXBaseModelAnimation(const KXBaseModelAnimation& source);

    // Keep the frame list (children of kind KXModelObject) in step.
    void childAdded(const std::shared_ptr<KXModel>& child) override;
    void childRemoved(const std::shared_ptr<KXModel>& child) override;
    void allChildrenRemoved() override;

    float speed() const;
    bool loop() const;
    float duration() const;
    // The frame at that index, or empty past the end.
    std::shared_ptr<KXModel> frame(unsigned int index) const;
    size_t frameCount() const { return m_frames.size(); }
    const KXChildSubset::List& frames() const { return m_frames.models(); }
    // Clamped to the attribute's bounds; announced when it changes.
    void setDuration(float seconds);
    // Empties the frame list, then removes each former frame from the children, announced.
    void removeAllFrames();

    KXAttributeFloat* speedAttribute() const { return m_speed; }
    KXAttributeFloat* durationAttribute() const { return m_duration; }
    KXAttributeBool* loopAttribute() const { return m_loop; }

private:
    void bindAttributes();

    KXAttributeFloat* m_speed = nullptr;
    KXAttributeFloat* m_duration = nullptr;
    KXAttributeBool* m_loop = nullptr;
    KXChildSubset m_frames;
};
