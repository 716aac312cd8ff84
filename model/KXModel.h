// Base of every stored model: an id, named attributes, owned children, weak parents,
// referrers and observers; packs itself as an attributes map and a connections map.
#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "model/KXMessagePackInterface.h"
#include "model/KXModelObserver.h"
#include "model/KXTypeId.h"

namespace cocos2d {
class CCDictionary;
} // namespace cocos2d

class KXBaseAttribute;
class KXAttributeString;

class KXModel : public KXMessagePackInterface {
public:
    // Takes the next id of the store's counter and creates the "Name" attribute.
    explicit KXModel(const std::string& name);
    // A fresh id and clones of the source's attributes; no children, parents, referrers
    // or observers.
    KXModel(const KXModel& source);
    KXModel& operator=(const KXModel&) = delete;
    ~KXModel() override;

    // Makes a model owned by a shared pointer and sets its self pointer; every creator
    // and clone goes through it (or calls setSelf itself).
    template <class T, class... Args> static std::shared_ptr<T> makeShared(Args&&... args) {
        std::shared_ptr<T> model = std::make_shared<T>(std::forward<Args>(args)...);
        model->setSelf(model);
        return model;
    }

    static constexpr uint32_t staticType() { return kxTypeIdForName("KXModel"); }
    static constexpr const char* staticClassName() { return "KXModel"; }
    virtual const char* className() const { return staticClassName(); }
    virtual uint32_t typeId() const { return staticType(); }
    virtual bool isKindOf(uint32_t kind) const { return kind == staticType(); }

    // Stored form: attributes map ("id", "Class Name", one nested map per attribute) and
    // connections map ("id", attribute link maps, "children" ids).
    void registerKeys() const override;
    void packValues(KXMessagePackMap& map) const override;
    void unpackValues(const KXMessagePackMap& map) override;
    void packConnections(KXMessagePackMap& map) const override;
    void unpackConnections(const KXMessagePackMap& map) override;

    // Dictionary forms (not used by the player's loader): the stored maps key for key with
    // numbers as text, "className" for "Class Name". Saves return autoreleased dictionaries.
    virtual void loadValuesFromDictionary(cocos2d::CCDictionary* dictionary);
    virtual void loadConnectionsFromDictionary(cocos2d::CCDictionary* dictionary);
    virtual cocos2d::CCDictionary* saveValuesToDictionary() const;
    virtual cocos2d::CCDictionary* saveConnectionsToDictionary() const;

    // Called by attributes (notifyChanged): observers, then the store.
    virtual void attributeChanged(KXBaseAttribute* attribute, int flag);

    // Adds `source`'s children: clones when deep, else the same children.
    virtual void copyChildrenFrom(const std::shared_ptr<KXModel>& source, bool deep, bool registerClones,
                                  bool silent);
    // Every concrete class: copy, join the store when asked and the source is there, copy
    // children (KX_MODEL_CLONE or finishClone).
    virtual std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const = 0;

    // Observer fan-out; compound models keep their component list in step here.
    virtual void childAdded(const std::shared_ptr<KXModel>& child);
    virtual void childRemoved(const std::shared_ptr<KXModel>& child);
    virtual void allChildrenRemoved();

    // Identity.
    std::shared_ptr<KXModel> sharedFromThis() const { return m_weakSelf.lock(); }
    void setSelf(const std::shared_ptr<KXModel>& self) { m_weakSelf = self; }
    uint32_t id() const { return m_id; }
    // Re-keys the store entry when the model is registered under its old id.
    void setId(uint32_t id);
    const std::string& name() const;
    void setName(const std::string& name);
    KXAttributeString* nameAttribute() const { return m_nameAttribute; }
    // Joins the store (index -1) when `source`'s id is registered.
    void registerWithController(const KXModel& source);

    // Attributes (owned; in creation order).
    const std::vector<KXBaseAttribute*>& attributes() const { return m_attributes; }
    KXBaseAttribute* attribute(const std::string& name) const;
    int attributeIndex(const KXBaseAttribute* attribute) const;
    // Inserts before `index` (append when index is beyond the end, e.g. -1) and sets the
    // owner; nothing when already present.
    void insertAttribute(KXBaseAttribute* attribute, int index);
    // Removes and clears the owner; the caller then owns the attribute.
    void removeAttribute(KXBaseAttribute* attribute);

    // Model-reference attributes of other models that refer to this one.
    const std::vector<KXBaseAttribute*>& referrers() const { return m_referrers; }
    void addReferrer(KXBaseAttribute* attribute);
    void removeReferrer(KXBaseAttribute* attribute);

    // Children and parents; each operation keeps both sides in step.
    const std::vector<std::shared_ptr<KXModel>>& children() const { return m_children; }
    void insertChild(const std::shared_ptr<KXModel>& child, int index, bool silent = false);
    void addChild(const std::shared_ptr<KXModel>& child, bool silent = false);
    void removeChild(const std::shared_ptr<KXModel>& child, bool silent = false);
    void removeAllChildren(bool silent = false);
    void addParent(const std::shared_ptr<KXModel>& parent, bool silent = false);
    void removeParent(const std::shared_ptr<KXModel>& parent, bool silent = false);
    bool hasChild(const std::shared_ptr<KXModel>& child) const;
    // Position of the child, or the child count when absent.
    size_t indexOfChild(const std::shared_ptr<KXModel>& child) const;
    bool hasParent(const std::shared_ptr<KXModel>& model) const;
    std::shared_ptr<KXModel> getFirstParent() const;
    std::vector<std::shared_ptr<KXModel>> getParents() const;

    // Releases the models that only such models hold: children and references that close a loop
    // (damaged data can make them) keep each other alive once nothing else holds them. A model
    // held from anywhere else, and all it reaches, stays. Returns how many were released. The
    // store calls it when it is cleared.
    static size_t releaseUnreachableLoops();

    // Observers (not owned).
    void addObserver(KXModelObserver* observer);
    void removeObserver(KXModelObserver* observer);
    const std::vector<KXModelObserver*>& observers() const { return m_observers; }
    void notifyModelChanged();

protected:
    // The common tail of every clone: self pointer set by makeShared(), store registration
    // when asked, then this model's children (clones when deep, registration asked for; a deep
    // clone's children step goes through kxCopyChildrenDeeply, model/KXDeepCopy.h).
    std::shared_ptr<KXModel> finishClone(const std::shared_ptr<KXModel>& copy, bool deep,
                                         bool registerClone) const;

private:
    friend class KXBaseAttribute;
    // Keeps m_classSlot.
    friend class KXModelController;
    // An index beside the lists of links, made once one of them is long (model/KXModelLinkIndex.h).
    struct LinkIndex;
    // Lists of links up to this long are searched; a longer one is indexed.
    static constexpr size_t kIndexedLinks = 16;

    // Appends an attribute being constructed for this model: it cannot be in the list yet.
    void adoptNewAttribute(KXBaseAttribute* attribute) { m_attributes.push_back(attribute); }
    bool hasReferrer(const KXBaseAttribute* attribute) const;
    // Makes the index once a list of links has grown long.
    void indexLongLinks();
    // Clears the index of children when their list is emptied.
    void forgetChildIndex();
    // Drops the parents that have gone (a parent holds its children; a child only notes its
    // parents), now and then: as often as an indexed list doubles.
    void purgeExpiredParents();
    // Every live model is in one list, for releaseUnreachableLoops().
    void joinLiveList();
    void leaveLiveList();
    // Drops this model's children and attributes: its links to other models go.
    void dismantle();

    std::weak_ptr<KXModel> m_weakSelf;
    KXAttributeString* m_nameAttribute = nullptr;
    uint32_t m_id = 0;
    std::vector<KXBaseAttribute*> m_attributes;
    std::vector<std::weak_ptr<KXModel>> m_parents;
    std::vector<KXBaseAttribute*> m_referrers;
    std::vector<std::shared_ptr<KXModel>> m_children;
    // Most models have a few links of each kind, searched in place. Once a list is long (a section
    // copied thousands of times shares its children, each of which then has thousands of parents),
    // an index of all three lists lets asking whether a link exists cost the same however many a
    // model has.
    std::unique_ptr<LinkIndex> m_linkIndex;
    std::vector<KXModelObserver*> m_observers;
    // Where the store holds this model in its class's list, while it is registered.
    size_t m_classSlot = 0;
    KXModel* m_livePrevious = nullptr;
    KXModel* m_liveNext = nullptr;
};

// create() of a registered class: a new model under the class's kDefaultObjectName; the class
// registry keeps it as the creator for the stored class name.
#define KX_MODEL_CREATE(ClassName)                                                                           \
public:                                                                                                      \
    static std::shared_ptr<KXModel> create() {                                                               \
        return KXModel::makeShared<ClassName>(ClassName::kDefaultObjectName);                                \
    }

// clone() of a concrete model class through its copy constructor.
#define KX_MODEL_CLONE(ClassName)                                                                            \
public:                                                                                                      \
    std::shared_ptr<KXModel> clone(bool deep, bool registerClone) const override {                           \
        return finishClone(KXModel::makeShared<ClassName>(*this), deep, registerClone);                      \
    }
