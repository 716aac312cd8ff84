#include "model/classes/KXBaseModelLinker.h"

#include "model/attributes/KXAttributeNumbers.h"
#include "model/classes/KXAttributeBinding.h"
#include "model/classes/KXModelCasts.h"
#include "model/classes/KXModelLinker.h"
#include "model/classes/KXModelObject.h"
#include "model/references/KXAttributeObject.h"

#include <set>
#include <vector>

namespace {

using LinkerSet = std::set<std::shared_ptr<KXModelLinker>>;

void addDirectLinkers(const KXModel& object, LinkerSet& linkers) {
    for (KXBaseAttribute* referrer : object.referrers()) {
        KXModel* owner = referrer->owner();
        if (owner == nullptr) {
            continue;
        }
        if (std::shared_ptr<KXModelLinker> linker = modelCast<KXModelLinker>(owner->sharedFromThis())) {
            linkers.insert(linker);
        }
    }
}

// Walks objects and linkers with an explicit work list: each object is expanded once, so cycles
// end, and a long chain cannot exhaust the stack.
void addTransitiveLinkers(const std::shared_ptr<KXModel>& start, LinkerSet& linkers) {
    std::set<const KXModel*> visited;
    std::vector<std::shared_ptr<KXModel>> pending{start};
    while (!pending.empty()) {
        std::shared_ptr<KXModel> object = pending.back();
        pending.pop_back();
        if (!object || !visited.insert(object.get()).second) {
            continue;
        }
        LinkerSet found;
        addDirectLinkers(*object, found);
        // B is pushed first so that A is expanded first.
        for (const std::shared_ptr<KXModelLinker>& linker : found) {
            if (!linkers.insert(linker).second) {
                continue;
            }
            pending.push_back(linker->objectB());
            pending.push_back(linker->objectA());
        }
    }
}

} // namespace

KXBaseModelLinker::KXBaseModelLinker(const std::string& name) : KXModel(name) {
    m_objectA = new KXAttributeObject("Object A", this);
    m_objectB = new KXAttributeObject("Object B", this);
    m_speed = new KXAttributeFloat("Speed", this);
    m_torque = new KXAttributeFloat("Torque", this);
    m_buttonActivated = new KXAttributeBool("Button Activated", this);

    m_torque->setValue(200.0f, true);
}

KXBaseModelLinker::KXBaseModelLinker(const KXBaseModelLinker& source)
    : KXModel(source), m_objectA(boundAttribute<KXAttributeObject>(*this, "Object A")),
      m_objectB(boundAttribute<KXAttributeObject>(*this, "Object B")),
      m_speed(boundAttribute<KXAttributeFloat>(*this, "Speed")),
      m_torque(boundAttribute<KXAttributeFloat>(*this, "Torque")),
      m_buttonActivated(boundAttribute<KXAttributeBool>(*this, "Button Activated")) {}

std::shared_ptr<KXModelObject> KXBaseModelLinker::objectA() const {
    return m_objectA != nullptr ? m_objectA->value() : nullptr;
}

std::shared_ptr<KXModelObject> KXBaseModelLinker::objectB() const {
    return m_objectB != nullptr ? m_objectB->value() : nullptr;
}

float KXBaseModelLinker::speed() const {
    return m_speed != nullptr ? m_speed->value() : 0.0f;
}

float KXBaseModelLinker::torque() const {
    return m_torque != nullptr ? m_torque->value() : 0.0f;
}

bool KXBaseModelLinker::isButtonActivated() const {
    return m_buttonActivated != nullptr && m_buttonActivated->value();
}

void KXBaseModelLinker::setObjects(const std::shared_ptr<KXModelObject>& objectA,
                                   const std::shared_ptr<KXModelObject>& objectB, bool silent) {
    if (m_objectA != nullptr) {
        m_objectA->setValue(objectA, true);
    }
    if (m_objectB != nullptr) {
        m_objectB->setValue(objectB, true);
    }
    if (!silent) {
        notifyModelChanged();
    }
}

std::vector<std::shared_ptr<KXModelLinker>>
KXBaseModelLinker::findLinkers(const std::shared_ptr<KXModel>& object, bool transitive) {
    LinkerSet linkers;
    if (transitive) {
        addTransitiveLinkers(object, linkers);
    } else if (object) {
        addDirectLinkers(*object, linkers);
    }
    return std::vector<std::shared_ptr<KXModelLinker>>(linkers.begin(), linkers.end());
}
