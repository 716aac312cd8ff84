#include "player/objects/KXPGroupMembers.h"

#include "model/classes/KXBaseModelObject.h"
#include "player/field/KXPGameFieldCamera.h"
#include "player/objects/KXPObject.h"

using namespace cocos2d;

const KXPGroupMembers& KXPGroupMembers::of(KXPGameFieldCamera& camera) {
    // Versions are never the same for two cameras, so one lookup serves whichever asks.
    static KXPGroupMembers members;
    if (members.m_camera != &camera || members.m_version != camera.childrenVersion()) {
        members.rebuild(camera);
    }
    return members;
}

const std::vector<uint32_t>* KXPGroupMembers::placesOf(const KXModel* model) const {
    const auto found = m_byModel.find(model);
    return found != m_byModel.end() ? &found->second : nullptr;
}

void KXPGroupMembers::rebuild(KXPGameFieldCamera& camera) {
    m_camera = &camera;
    m_version = camera.childrenVersion();
    m_children.clear();
    m_byModel.clear();
    m_characters.clear();
    if (camera.getChildren() == nullptr) {
        return;
    }
    for (CCObject* item : camera.getChildren()->data()) {
        KXPObject* object = ccNodeAs<KXPObject>(item);
        if (object == nullptr) {
            continue;
        }
        const uint32_t place = static_cast<uint32_t>(m_children.size());
        m_children.push_back(object);
        if (const std::shared_ptr<KXBaseModelObject> model = object->getModel()) {
            m_byModel[model.get()].push_back(place);
        }
        if (object->getType() == KXPObject::kTypeCharacter) {
            m_characters.push_back(place);
        }
    }
}
