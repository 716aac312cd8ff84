#include "model/classes/KXBaseModelLevelSection.h"

#include "model/KXNumeric.h"
#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObject.h"
#include "model/classes/KXModelObjectGroup.h"
#include "model/classes/KXModelQueries.h"
#include "model/references/KXAttributeObject.h"

#include <algorithm>
#include <cmath>
#include <unordered_map>

namespace {

// The least a laid section moves the level on (points): below it, it adds no distance.
constexpr float kMinLaidLength = 1.0f;

KXAttributeObject* objectReference(const KXModel& linker, const char* name) {
    KXBaseAttribute* found = linker.attribute(name);
    if (found == nullptr || found->typeId() != KXAttributeObject::staticType()) {
        return nullptr;
    }
    return static_cast<KXAttributeObject*>(found);
}

} // namespace

KXBaseModelLevelSection::KXBaseModelLevelSection(const std::string& name) : KXModel(name) {
    m_initSection = new KXAttributeBool("Init Section", this);
    m_muted = new KXAttributeBool("Muted", this);
    m_solo = new KXAttributeBool("Solo", this);
    m_startDistance = new KXAttributeFloat("Start Distance", this);
    m_endDistance = new KXAttributeFloat("End Distance", this);
    m_width = new KXAttributeFloat("Width", this);
    m_playCooldown = new KXAttributeFloat("Play Cooldown", this);

    m_endDistance->setValue(-1.0f, true);
}

KXBaseModelLevelSection::KXBaseModelLevelSection(const KXBaseModelLevelSection& source)
    : KXModel(source), m_initSection(boundAttribute<KXAttributeBool>(*this, "Init Section")),
      m_muted(boundAttribute<KXAttributeBool>(*this, "Muted")),
      m_solo(boundAttribute<KXAttributeBool>(*this, "Solo")),
      m_startDistance(boundAttribute<KXAttributeFloat>(*this, "Start Distance")),
      m_endDistance(boundAttribute<KXAttributeFloat>(*this, "End Distance")),
      m_width(boundAttribute<KXAttributeFloat>(*this, "Width")),
      m_playCooldown(boundAttribute<KXAttributeFloat>(*this, "Play Cooldown")),
      m_cooldownCounter(source.m_cooldownCounter), m_placedDistance(source.m_placedDistance) {}

KXBaseModelLevelSection::~KXBaseModelLevelSection() = default;

void KXBaseModelLevelSection::childAdded(const std::shared_ptr<KXModel>& child) {
    KXModel::childAdded(child);
    if (std::shared_ptr<KXModelObject> object = modelKindCast<KXModelObject>(child)) {
        m_objects.push_back(object);
    }
}

void KXBaseModelLevelSection::childRemoved(const std::shared_ptr<KXModel>& child) {
    KXModel::childRemoved(child);
    if (std::shared_ptr<KXModelObject> object = modelKindCast<KXModelObject>(child)) {
        auto found = std::find(m_objects.begin(), m_objects.end(), object);
        if (found != m_objects.end()) {
            m_objects.erase(found);
        }
    }
}

void KXBaseModelLevelSection::allChildrenRemoved() {
    KXModel::allChildrenRemoved();
    m_objects.clear();
}

void KXBaseModelLevelSection::setMuted(bool muted) {
    if (m_muted != nullptr) {
        m_muted->setValue(muted);
    }
}

void KXBaseModelLevelSection::setSolo(bool solo) {
    if (m_solo != nullptr) {
        m_solo->setValue(solo);
    }
}

bool KXBaseModelLevelSection::isInitSection() const {
    return m_initSection != nullptr && m_initSection->value();
}

bool KXBaseModelLevelSection::isMuted() const {
    return m_muted != nullptr && m_muted->value();
}

bool KXBaseModelLevelSection::isSolo() const {
    return m_solo != nullptr && m_solo->value();
}

float KXBaseModelLevelSection::startDistance() const {
    return m_startDistance != nullptr ? m_startDistance->value() : 0.0f;
}

float KXBaseModelLevelSection::endDistance() const {
    return m_endDistance != nullptr ? m_endDistance->value() : -1.0f;
}

float KXBaseModelLevelSection::width() const {
    return m_width != nullptr ? m_width->value() : 0.0f;
}

float KXBaseModelLevelSection::laidLength(float distance) const {
    const float length = width();
    if (!std::isfinite(length) || !(length > 0.0f)) {
        return 0.0f;
    }
    const float moved = (distance + length) - distance;
    return moved >= kMinLaidLength ? length : 0.0f;
}

int KXBaseModelLevelSection::playCooldown() const {
    return m_playCooldown != nullptr ? kx::truncateToInt(m_playCooldown->value()) : 0;
}

std::shared_ptr<KXModelObject> KXBaseModelLevelSection::objectAt(size_t index) const {
    return index < m_objects.size() ? m_objects[index] : nullptr;
}

void KXBaseModelLevelSection::copySectionChildren(const std::shared_ptr<KXModel>& source, bool deep,
                                                  bool registerClones) {
    removeAllChildren(true);
    if (!source) {
        return;
    }
    if (!deep) {
        for (const std::shared_ptr<KXModel>& child : source->children()) {
            addChild(child, true);
        }
        return;
    }

    std::unordered_map<const KXModel*, std::shared_ptr<KXModel>> clones;
    for (const std::shared_ptr<KXModel>& child : source->children()) {
        if (modelCast<KXModelLinker>(child)) {
            continue;
        }
        std::shared_ptr<KXModel> copy = child->clone(true, registerClones);
        addChild(copy, true);
        clones[child.get()] = copy;
    }

    // A group's clone comes without children: give it the clones of its own children.
    for (const std::shared_ptr<KXModel>& child : source->children()) {
        if (!modelCast<KXModelObjectGroup>(child)) {
            continue;
        }
        auto groupClone = clones.find(child.get());
        if (groupClone == clones.end()) {
            continue;
        }
        for (const std::shared_ptr<KXModel>& member : child->children()) {
            auto memberClone = clones.find(member.get());
            groupClone->second->addChild(memberClone != clones.end() ? memberClone->second : member, true);
        }
    }

    for (const std::shared_ptr<KXModelLinker>& linker : getChildren<KXModelLinker>(*source)) {
        KXAttributeObject* objectA = objectReference(*linker, "Object A");
        KXAttributeObject* objectB = objectReference(*linker, "Object B");
        if (objectA == nullptr || objectB == nullptr || !objectA->value() || !objectB->value()) {
            continue;
        }
        auto cloneA = clones.find(objectA->value().get());
        auto cloneB = clones.find(objectB->value().get());
        if (cloneA == clones.end() || cloneB == clones.end()) {
            continue;
        }
        std::shared_ptr<KXModel> linkerCopy = linker->clone(true, registerClones);
        KXAttributeObject* copyA = objectReference(*linkerCopy, "Object A");
        KXAttributeObject* copyB = objectReference(*linkerCopy, "Object B");
        if (copyA != nullptr) {
            copyA->setValue(modelKindCast<KXModelObject>(cloneA->second), true);
        }
        if (copyB != nullptr) {
            copyB->setValue(modelKindCast<KXModelObject>(cloneB->second), true);
        }
        addChild(linkerCopy, true);
    }
}
