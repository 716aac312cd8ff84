#pragma once

#include "model/KXModel.h"

#include <memory>
#include <string>
#include <vector>

class KXAttributeObject;
class KXAttributeFloat;
class KXAttributeBool;
class KXModelObject;
class KXModelLinker;

// Joins two scene objects, with the motor speed and torque of the joint and whether a button
// drives it.
class KXBaseModelLinker : public KXModel {
public:
    explicit KXBaseModelLinker(const std::string& name);
    KXBaseModelLinker(const KXBaseModelLinker& source);

    std::shared_ptr<KXModelObject> objectA() const;
    std::shared_ptr<KXModelObject> objectB() const;
    float speed() const;
    float torque() const;
    bool isButtonActivated() const;

    // Each reference that changes moves between the objects' referrer lists; unless silent,
    // the model then announces the change.
    void setObjects(const std::shared_ptr<KXModelObject>& objectA,
                    const std::shared_ptr<KXModelObject>& objectB, bool silent = false);

    // The linkers that refer to the object; transitive: also those reached through the other
    // objects of those linkers. Each linker once, order not significant.
    static std::vector<std::shared_ptr<KXModelLinker>> findLinkers(const std::shared_ptr<KXModel>& object,
                                                                   bool transitive);

    KXAttributeObject* objectAAttribute() const { return m_objectA; }
    KXAttributeObject* objectBAttribute() const { return m_objectB; }
    KXAttributeFloat* speedAttribute() const { return m_speed; }
    KXAttributeFloat* torqueAttribute() const { return m_torque; }
    KXAttributeBool* buttonActivatedAttribute() const { return m_buttonActivated; }

private:
    KXAttributeObject* m_objectA = nullptr;
    KXAttributeObject* m_objectB = nullptr;
    KXAttributeFloat* m_speed = nullptr;
    KXAttributeFloat* m_torque = nullptr;
    KXAttributeBool* m_buttonActivated = nullptr;
};
