// The component model: components with owner, name, loading state and free
// notification; collections of persistent items; the class registry.
#pragma once

#include "platform/rtl/exceptions.h"
#include "platform/rtl/object.h"
#include "platform/rtl/typinfo.h"

#include <cstdint>
#include <string>
#include <string_view>
#include <type_traits>
#include <vector>

namespace rtl {

// Class registration failures ("A class named X already exists").
class EFilerError : public EStreamError {
public:
    using EStreamError::EStreamError;
};

// Component state flags, combined in a TComponentState.
enum : unsigned {
    csLoading = 1u << 0,    // between Loading() and Loaded()
    csReading = 1u << 1,    // its properties are being read
    csDestroying = 1u << 2, // its destructor runs (set on owned components too)
    csDesigning = 1u << 3,  // it is being designed (passed on to owned components)
};
using TComponentState = unsigned;

enum TOperation { opInsert, opRemove };

// A named object in an ownership tree. A component with an owner is created
// with new; the owner destroys it (owned components go last-created first),
// and deleting it earlier removes it from the owner. Published: Name, Tag.
class TComponent : public TPersistent {
    RTL_DECLARE_CLASS(TComponent)
public:
    explicit TComponent(TComponent *owner = nullptr);
    TComponent(const TComponent &) = delete;
    TComponent &operator=(const TComponent &) = delete;
    ~TComponent() override;

    const std::string &Name() const { return FName; }
    // Raises EComponentError for a name that is not an identifier ("'%s' is
    // not a valid component name") or that another component of the same
    // owner already has, ignoring case ("A component named %s already
    // exists"). The empty name is always allowed.
    virtual void SetName(const std::string &name);

    TComponent *Owner() const { return FOwner; }
    int ComponentCount() const { return static_cast<int>(FComponents.size()); }
    // The owned components in creation order; EListError out of range.
    TComponent *Components(int index) const;
    // Position among the owner's components; -1 without owner.
    int ComponentIndex() const;
    void SetComponentIndex(int index);
    // The owned component with that name, ignoring case; nullptr when none
    // or for the empty name.
    TComponent *FindComponent(std::string_view name) const;

    // Takes component over from its current owner (if any). Raises
    // EComponentError for a duplicate name or when the component owns this
    // one (directly or further up).
    void InsertComponent(TComponent *component);
    // Releases an owned component without destroying it.
    void RemoveComponent(TComponent *component);
    // Destroys every owned component, last first.
    void DestroyComponents();

    TComponentState ComponentState() const { return FState; }
    bool HasState(TComponentState flags) const { return (FState & flags) != 0; }
    // Marks the component (and its owned components) as being destroyed.
    void Destroying();
    void SetDesigning(bool value, bool setChildren = true);
    void SetReading(bool value);
    // Loading() sets csLoading; the code that builds the component then sets
    // its properties and calls Loaded(), which clears csLoading. Overrides
    // of Loaded() call the inherited one first.
    virtual void Loading();
    virtual void Loaded();

    // Asks that component be told (Notification with opRemove) when this one
    // is destroyed, and the other way round. Components of the same owner
    // need not ask: the owner tells all its components anyway.
    void FreeNotification(TComponent *component);
    void RemoveFreeNotification(TComponent *component);

    std::int32_t Tag() const { return FTag; }
    void SetTag(std::int32_t tag) { FTag = tag; }

    TPersistent *GetOwner() const override { return FOwner; }
    std::string GetNamePath() const override { return FName; }

protected:
    // Told when component was inserted into or is being removed from the
    // owner tree, or when a component this one asked about is destroyed.
    // The default releases a free notification of a removed component and
    // passes the call on to every owned component. Overrides that keep a
    // reference to component clear it on opRemove and call the inherited one.
    //
    // A component's destructor runs after its derived class's, so while
    // ~TComponent destroys the owned components only the base Notification
    // of the owner runs; a class that must see them go calls
    // DestroyComponents() in its own destructor.
    virtual void Notification(TComponent *component, TOperation operation);
    virtual void ValidateRename(TComponent *component, const std::string &curName,
                                const std::string &newName) const;

private:
    std::string FName;
    TComponent *FOwner = nullptr;
    std::vector<TComponent *> FComponents;
    std::vector<TComponent *> FFreeNotifies;
    TComponentState FState = 0;
    std::int32_t FTag = 0;
};

// True for a name made of letters, digits and '_' that does not start with
// a digit.
bool IsValidIdent(std::string_view name);

class TCollection;

// An item of a TCollection: persistent, with published properties of its
// own class. Created with new; the collection destroys its items, and
// deleting an item removes it from its collection.
class TCollectionItem : public TPersistent {
    RTL_DECLARE_CLASS(TCollectionItem)
public:
    explicit TCollectionItem(TCollection *collection = nullptr);
    TCollectionItem(const TCollectionItem &) = delete;
    TCollectionItem &operator=(const TCollectionItem &) = delete;
    ~TCollectionItem() override;

    TCollection *Collection() const { return FCollection; }
    // Moves the item to the end of another collection (or out of any).
    virtual void SetCollection(TCollection *collection);
    // A number unique within the collection, given when the item joins it.
    int ID() const { return FID; }
    // Position in the collection; -1 without collection.
    int Index() const;
    // Moves the item to index (EListError out of range).
    virtual void SetIndex(int index);
    std::string DisplayName() const { return GetDisplayName(); }
    virtual void SetDisplayName(const std::string &name);

    // "<collection path>[<index>]".
    std::string GetNamePath() const override;
    TPersistent *GetOwner() const override;

protected:
    // The class name unless a descendant says otherwise.
    virtual std::string GetDisplayName() const;
    // Reports a change of this item (or, with allItems, of every item).
    void Changed(bool allItems);

private:
    friend class TCollection;
    TCollection *FCollection = nullptr;
    int FID = 0;
};

// The class of a collection's items and how to create one.
struct TCollectionItemClass {
    TPropInfo::TClassInfoFn Info;
    TCollectionItem *(*Create)(TCollection *collection);
};

template <class Item> TCollectionItemClass CollectionItemClass()
{
    static_assert(std::is_base_of_v<TCollectionItem, Item>);
    return {&Item::StaticClassInfo,
            [](TCollection *collection) -> TCollectionItem * { return new Item(collection); }};
}

// An ordered list of items of one class, owned by the collection.
class TCollection : public TPersistent {
    RTL_DECLARE_CLASS(TCollection)
public:
    explicit TCollection(TCollectionItemClass itemClass, TPersistent *owner = nullptr);
    TCollection(const TCollection &) = delete;
    TCollection &operator=(const TCollection &) = delete;
    ~TCollection() override;

    int Count() const { return static_cast<int>(FItems.size()); }
    // EListError out of range.
    TCollectionItem *Items(int index) const;
    // Items(index)->Assign(source).
    void SetItem(int index, const TCollectionItem &source);
    TCollectionItem *Add();
    // A new item at index (0..Count).
    TCollectionItem *Insert(int index);
    void Delete(int index);
    void Clear();
    TCollectionItem *FindItemID(int id) const;

    // Changes between BeginUpdate and the matching EndUpdate report nothing;
    // the outermost EndUpdate calls Update(nullptr) once.
    void BeginUpdate() { ++FUpdateCount; }
    void EndUpdate();
    int UpdateCount() const { return FUpdateCount; }

    const TClassInfo &ItemClass() const { return FItemClass.Info(); }

    // From another collection: its items' copies replace this one's.
    void Assign(const TPersistent &source) override;
    TPersistent *GetOwner() const override { return FOwner; }
    // "<owner path>.<property of the owner holding this collection>", or the
    // class name when that cannot be told.
    std::string GetNamePath() const override;

protected:
    // Called after a change outside BeginUpdate/EndUpdate: item is the
    // changed item, or nullptr when items were added, removed, moved or the
    // whole collection changed.
    virtual void Update(TCollectionItem *item);
    void Changed();

private:
    friend class TCollectionItem;
    void InsertItem(TCollectionItem *item);
    void RemoveItem(TCollectionItem *item);

    TCollectionItemClass FItemClass;
    TPersistent *FOwner;
    std::vector<TCollectionItem *> FItems;
    int FUpdateCount = 0;
    int FNextID = 0;
};

// ---- Class registry ----

using TComponentFactory = TComponent *(*)(TComponent *owner);

// Registers a class by its name; create makes a component of it (nullptr
// for classes that cannot be created by name). Registering the same class
// again changes nothing; another class of the same name (ignoring case)
// raises EFilerError "A class named %s already exists".
void RegisterClass(const TClassInfo &cls, TComponentFactory create = nullptr);
template <class C> void RegisterClass()
{
    static_assert(std::is_base_of_v<TPersistent, C>);
    if constexpr (std::is_base_of_v<TComponent, C> && std::is_constructible_v<C, TComponent *>)
        RegisterClass(C::StaticClassInfo(),
                      [](TComponent *owner) -> TComponent * { return new C(owner); });
    else
        RegisterClass(C::StaticClassInfo(), nullptr);
}
void UnRegisterClass(const TClassInfo &cls);
// The registered class of that name (ignoring case); nullptr when none.
const TClassInfo *GetClass(std::string_view className);
// The same; raises EClassNotFound "Class %s not found" when none.
const TClassInfo &FindClass(std::string_view className);
// A new component of the registered class, owned by owner. Raises
// EClassNotFound for an unknown class and EInvalidCast for a class that
// cannot be created by name.
TComponent *CreateComponent(std::string_view className, TComponent *owner);

} // namespace rtl
