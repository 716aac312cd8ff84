#include "player/objects/KXPObjectGroup.h"

#include "model/classes/KXModelObjectGroup.h"
#include "player/base/KXPTrace.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/objects/KXPGroupMembers.h"

#include <algorithm>
#include <unordered_set>
#include <vector>

using namespace cocos2d;

KXPObjectGroup::ChildOrder::ChildOrder(const KXModelObjectGroup& group)
    : m_byY(group.sortDirection() == kSortByY), m_largerFirst(group.sortOrder() == kSortLargerFirst) {}

bool KXPObjectGroup::ChildOrder::operator()(CCNode* a, CCNode* b) const {
    const CCPoint& pa = a->getPosition();
    const CCPoint& pb = b->getPosition();
    const float ca = m_byY ? pa.y : pa.x;
    const float cb = m_byY ? pb.y : pb.x;
    return m_largerFirst ? ca > cb : cb > ca;
}

KXPObjectGroup* KXPObjectGroup::create(const std::shared_ptr<KXModelObjectGroup>& model) {
    auto* group = new KXPObjectGroup(model);
    group->init();
    group->autorelease();
    return group;
}

KXPObjectGroup::KXPObjectGroup(const std::shared_ptr<KXModelObjectGroup>& model) : KXPObject(model) {
    setType(kTypeGroup);
}

std::shared_ptr<KXModelObjectGroup> KXPObjectGroup::groupModel() const {
    return std::static_pointer_cast<KXModelObjectGroup>(m_model);
}

void KXPObjectGroup::update(float) {
    const std::shared_ptr<KXModelObjectGroup> group = groupModel();
    if (!group || !group->autoDepthSorting() || group->children().empty() || m_layer == nullptr ||
        m_layer->getChildren() == nullptr) {
        return;
    }
    std::vector<CCNode*> members;
    if (auto* camera = ccNodeAs<KXPGameFieldCamera>(m_layer)) {
        findMembers(*group, KXPGroupMembers::of(*camera), members);
    } else {
        findMembersByWalk(*group, members);
    }
    int zMin = kHighestFirstZOrder;
    for (CCNode* member : members) {
        zMin = std::min(zMin, member->getZOrder());
    }
    // Stable, so that members on the same line keep their order from frame to frame.
    std::stable_sort(members.begin(), members.end(), ChildOrder(*group));
    for (size_t index = 0; index < members.size(); ++index) {
        members[index]->setZOrder(zMin + static_cast<int>(index));
    }
    traceOrder(members);
}

void KXPObjectGroup::findMembers(const KXModelObjectGroup& group, const KXPGroupMembers& lookup,
                                 std::vector<CCNode*>& members) {
    std::vector<uint32_t> places;
    for (const std::shared_ptr<KXModel>& child : group.children()) {
        if (const std::vector<uint32_t>* found = lookup.placesOf(child.get())) {
            places.insert(places.end(), found->begin(), found->end());
        }
    }
    // The live player character is built from another model than the one placed in the group.
    if (group.characterCount() > 0) {
        places.insert(places.end(), lookup.characterPlaces().begin(), lookup.characterPlaces().end());
    }
    // In the layer's order, each once (a model may be named twice, a character placed as well).
    std::sort(places.begin(), places.end());
    places.erase(std::unique(places.begin(), places.end()), places.end());
    members.reserve(places.size());
    for (uint32_t place : places) {
        members.push_back(lookup.childAt(place));
    }
}

void KXPObjectGroup::findMembersByWalk(const KXModelObjectGroup& group, std::vector<CCNode*>& members) {
    std::unordered_set<const KXModel*> placed;
    for (const std::shared_ptr<KXModel>& child : group.children()) {
        placed.insert(child.get());
    }
    const bool withCharacters = group.characterCount() > 0;
    for (CCObject* item : m_layer->getChildren()->data()) {
        KXPObject* object = ccNodeAs<KXPObject>(item);
        if (object == nullptr) {
            continue;
        }
        const std::shared_ptr<KXBaseModelObject> model = object->getModel();
        if ((model && placed.count(model.get()) != 0) ||
            (withCharacters && object->getType() == kTypeCharacter)) {
            members.push_back(object);
        }
    }
}

void KXPObjectGroup::traceOrder(const std::vector<CCNode*>& members) {
    if (!kxTraceEnabled("group")) {
        return;
    }
    std::string order;
    for (CCNode* member : members) {
        const std::shared_ptr<KXBaseModelObject> model = static_cast<KXPObject*>(member)->getModel();
        order += (order.empty() ? "" : ",") + (model ? model->name() : std::string());
    }
    if (order == m_tracedOrder) {
        return;
    }
    m_tracedOrder = order;
    kxTrace("group", "group order name=%s back-to-front=%s", m_model ? m_model->name().c_str() : "",
            order.c_str());
}
