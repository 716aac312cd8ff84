// Root of the attribute family: a named value holder owned by one model, with links
// between attributes of different models (outputs link to one input; inputs take many).
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/KXMessagePackInterface.h"
#include "model/KXTypeId.h"

namespace cocos2d {
class CCObject;
class CCDictionary;
} // namespace cocos2d

class KXModel;
class KXAnimationCurve;

enum KXAttributeConnectionKind : int32_t {
    KXAttributeConnectionNone = 0,
    KXAttributeConnectionInput = 1,  // any number of outputs may link to it
    KXAttributeConnectionOutput = 2, // links to at most one input
};

class KXBaseAttribute : public KXMessagePackInterface {
public:
    // Joins `owner`'s attribute list (appended) when an owner is given.
    KXBaseAttribute(const std::string& name, KXModel* owner, uint32_t flags);
    // Copy for clones: the source's flags and connection kind; an output copy is linked
    // (silently) to the source's input. Joins `owner` like the constructor.
    KXBaseAttribute(const std::string& name, KXModel* owner, const KXBaseAttribute& source);
    KXBaseAttribute(const KXBaseAttribute&) = delete;
    KXBaseAttribute& operator=(const KXBaseAttribute&) = delete;
    // Drops every link (not silently) and leaves the owner's list.
    ~KXBaseAttribute() override;

    static constexpr uint32_t staticType() { return kxTypeIdForName("KXBaseAttribute"); }
    static constexpr const char* staticClassName() { return "KXBaseAttribute"; }

    // Stored form. Base: the connection map ("connectedModelId", "attributeName") of a
    // linked output; values: nothing.
    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    void unpackValues(const KXMessagePackMap& map) override;
    void packConnections(KXMessagePackMap& map) const override;
    void unpackConnections(const KXMessagePackMap& map) override;

    virtual const char* className() const { return staticClassName(); }
    virtual uint32_t typeId() const { return staticType(); }

    // Copies of the same class through the class's (name, owner, source) constructor; the
    // caller owns the result unless it went to an owner. Concrete classes use
    // KX_ATTRIBUTE_CLONE. The bare base's cloneForModel/cloneWithName drop kind and link.
    virtual KXBaseAttribute* clone(const std::string& name, KXModel* owner) const;
    virtual KXBaseAttribute* cloneForModel(KXModel* owner) const;
    virtual KXBaseAttribute* cloneWithName(const std::string& name) const;

    // Dictionary forms (not used by the player's loader): the stored maps with numbers as
    // text. Base: no value (an empty dictionary) and the connection of a linked output.
    virtual void loadValueFromDictionary(cocos2d::CCObject* object);
    virtual void loadConnectionFromDictionary(cocos2d::CCObject* object);
    virtual cocos2d::CCDictionary* saveValueToDictionary() const;
    virtual cocos2d::CCDictionary* saveConnectionToDictionary() const;

    // Per-state animation curves (numeric and point attributes). Base: none.
    virtual std::vector<KXAnimationCurve*> animationCurves(int key) const;
    virtual void setAnimationCurves(const std::vector<KXAnimationCurve*>& curves, int key);

    // The model a model-reference attribute refers to; empty for every other attribute.
    // The store follows it for animation, shape and sprite attributes.
    virtual std::shared_ptr<KXModel> referencedModel() const;

    // Tells the owner (if any): flag 0 value or name changed, 1 links changed.
    virtual void notifyChanged(int flag);

    const std::string& name() const { return m_name; }
    void setName(const std::string& name, bool silent = false);
    KXModel* owner() const { return m_owner; }
    // Leaves the old owner's list and joins the new one's (appended).
    void setOwner(KXModel* owner);
    uint32_t flags() const { return m_flags; }

    KXAttributeConnectionKind connectionKind() const { return m_connectionKind; }
    // Changing the kind drops every link first.
    void setConnectionKind(KXAttributeConnectionKind kind, bool silent = false);

    // Links an output and an input (either end may call); anything else is ignored.
    void connect(KXBaseAttribute* other, bool silent = false);
    // On an input: unlinks `output`.
    void disconnect(KXBaseAttribute* output, bool silent = false);
    void disconnectAll(bool silent = false);
    bool isConnectedTo(const KXBaseAttribute* other) const;
    std::vector<KXBaseAttribute*> connections() const { return m_connections; }
    // An output's input, or null.
    KXBaseAttribute* connection() const;

private:
    // Silently links this output to the first input of that name in `target`.
    void connectToInput(const KXModel& target, const std::string& inputName);

    std::string m_name;
    KXModel* m_owner = nullptr;
    uint32_t m_flags = 0;
    KXAttributeConnectionKind m_connectionKind = KXAttributeConnectionNone;
    std::vector<KXBaseAttribute*> m_connections;
};

// The plain attribute: no value of its own (a port); base of every typed attribute.
class KXAttribute : public KXBaseAttribute {
public:
    KXAttribute(const std::string& name, KXModel* owner, uint32_t flags = 0)
        : KXBaseAttribute(name, owner, flags) {}
    KXAttribute(const std::string& name, KXModel* owner, const KXAttribute& source)
        : KXBaseAttribute(name, owner, source) {}

    static constexpr uint32_t staticType() { return kxTypeIdForName("KXAttribute"); }
    static constexpr const char* staticClassName() { return "KXAttribute"; }
    const char* className() const override { return staticClassName(); }
    uint32_t typeId() const override { return staticType(); }

    KXBaseAttribute* clone(const std::string& name, KXModel* owner) const override;
    KXBaseAttribute* cloneForModel(KXModel* owner) const override;
    KXBaseAttribute* cloneWithName(const std::string& name) const override;
};

// The three clone operations of a concrete attribute class through its
// (name, owner, const Class& source) constructor.
#define KX_ATTRIBUTE_CLONE(ClassName)                                                                        \
public:                                                                                                      \
    KXBaseAttribute* clone(const std::string& cloneName, KXModel* cloneOwner) const override {               \
        return new ClassName(cloneName, cloneOwner, *this);                                                  \
    }                                                                                                        \
    KXBaseAttribute* cloneForModel(KXModel* cloneOwner) const override {                                     \
        return new ClassName(name(), cloneOwner, *this);                                                     \
    }                                                                                                        \
    KXBaseAttribute* cloneWithName(const std::string& cloneName) const override {                            \
        return new ClassName(cloneName, owner(), *this);                                                     \
    }
