#include "model/classes/KXBaseModelAnimation.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelObject.h"

KXBaseModelAnimation::KXBaseModelAnimation(const std::string& name) : KXModel(name) {
    KXAttributeFloat* speed = new KXAttributeFloat("Speed", this);
    speed->setValue(1.0f, true);
    new KXAttributeFloat("Duration", this);
    KXAttributeBool* loop = new KXAttributeBool("Loop", this);
    loop->setValue(true, true);
    bindAttributes();
}

KXBaseModelAnimation::KXBaseModelAnimation(const KXBaseModelAnimation& source) : KXModel(source) {
    bindAttributes();
}

void KXBaseModelAnimation::bindAttributes() {
    m_speed = boundAttribute<KXAttributeFloat>(*this, "Speed");
    m_duration = boundAttribute<KXAttributeFloat>(*this, "Duration");
    m_loop = boundAttribute<KXAttributeBool>(*this, "Loop");
}

void KXBaseModelAnimation::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModel::childAdded(child);
    if (modelKindCast<KXModelObject>(child)) {
        m_frames.add(child);
    }
}

void KXBaseModelAnimation::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModel::childRemoved(child);
    if (modelKindCast<KXModelObject>(child)) {
        m_frames.removeFirst(child);
    }
}

void KXBaseModelAnimation::allChildrenRemoved() {
    KXModel::allChildrenRemoved();
    m_frames.clear();
}

float KXBaseModelAnimation::speed() const {
    return attributeValue(m_speed);
}

bool KXBaseModelAnimation::loop() const {
    return attributeValue(m_loop);
}

float KXBaseModelAnimation::duration() const {
    return attributeValue(m_duration);
}

std::shared_ptr<KXModel> KXBaseModelAnimation::frame(unsigned int index) const {
    if (index >= m_frames.size()) {
        return nullptr;
    }
    return m_frames.models()[index];
}

void KXBaseModelAnimation::setDuration(float seconds) {
    if (m_duration != nullptr) {
        m_duration->setValue(seconds, false);
    }
}

void KXBaseModelAnimation::removeAllFrames() {
    const KXChildSubset::List former = m_frames.take();
    for (const std::shared_ptr<KXModel>& frame : former) {
        removeChild(frame, false);
    }
}
