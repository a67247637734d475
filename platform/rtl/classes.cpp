#include "platform/rtl/classes.h"

#include <algorithm>
#include <strings.h>

namespace rtl {

namespace {

bool SameName(std::string_view a, std::string_view b)
{
    return a.size() == b.size() && strncasecmp(a.data(), b.data(), a.size()) == 0;
}

template <class T> void EraseOne(std::vector<T *> &list, T *item)
{
    auto it = std::find(list.begin(), list.end(), item);
    if (it != list.end())
        list.erase(it);
}

[[noreturn]] void RaiseIndex(int index)
{
    throw EListError(Format("List index out of bounds (%d)", index));
}

// Moves the element at from to to within list.
template <class T> void MoveTo(std::vector<T *> &list, int from, int to)
{
    T *item = list[static_cast<size_t>(from)];
    list.erase(list.begin() + from);
    list.insert(list.begin() + to, item);
}

} // namespace

bool IsValidIdent(std::string_view name)
{
    if (name.empty())
        return false;
    auto letter = [](char c) {
        return (c >= 'A' && c <= 'Z') || (c >= 'a' && c <= 'z') || c == '_';
    };
    if (!letter(name[0]))
        return false;
    return std::all_of(name.begin() + 1, name.end(),
                       [&](char c) { return letter(c) || (c >= '0' && c <= '9'); });
}

// ---- TComponent ----

RTL_IMPLEMENT_PUBLISHED_CLASS(TComponent, TPersistent)
{
    P.String(
        "Name", "TComponentName", [](TComponent &c) { return c.Name(); },
        [](TComponent &c, const std::string &v) { c.SetName(v); });
    P.Integer("Tag", "Integer", &TComponent::Tag, &TComponent::SetTag);
}

TComponent::TComponent(TComponent *owner)
{
    if (owner)
        owner->InsertComponent(this);
}

TComponent::~TComponent()
{
    Destroying();
    // Tell every component linked by free notification; the link goes both
    // ways and is dropped here even when a Notification override does not
    // call the inherited one, so no component keeps a dangling entry.
    while (!FFreeNotifies.empty()) {
        TComponent *other = FFreeNotifies.back();
        FFreeNotifies.pop_back();
        EraseOne(other->FFreeNotifies, this);
        other->Notification(this, opRemove);
    }
    DestroyComponents();
    if (FOwner)
        FOwner->RemoveComponent(this);
}

void TComponent::SetName(const std::string &name)
{
    if (name == FName)
        return;
    if (!name.empty() && !IsValidIdent(name))
        throw EComponentError(Format("'%s' is not a valid component name", name.c_str()));
    if (FOwner)
        FOwner->ValidateRename(this, FName, name);
    FName = name;
}

void TComponent::ValidateRename(TComponent *component, const std::string &curName,
                                const std::string &newName) const
{
    if (newName.empty() || SameName(curName, newName))
        return;
    TComponent *existing = FindComponent(newName);
    if (existing && existing != component)
        throw EComponentError(Format("A component named %s already exists", newName.c_str()));
}

TComponent *TComponent::Components(int index) const
{
    if (index < 0 || index >= ComponentCount())
        RaiseIndex(index);
    return FComponents[static_cast<size_t>(index)];
}

int TComponent::ComponentIndex() const
{
    if (!FOwner)
        return -1;
    auto &list = FOwner->FComponents;
    return static_cast<int>(std::find(list.begin(), list.end(), this) - list.begin());
}

void TComponent::SetComponentIndex(int index)
{
    if (!FOwner)
        return;
    int count = FOwner->ComponentCount();
    index = std::clamp(index, 0, count - 1);
    int current = ComponentIndex();
    if (current != index)
        MoveTo(FOwner->FComponents, current, index);
}

TComponent *TComponent::FindComponent(std::string_view name) const
{
    if (name.empty())
        return nullptr;
    for (TComponent *c : FComponents)
        if (SameName(c->FName, name))
            return c;
    return nullptr;
}

void TComponent::InsertComponent(TComponent *component)
{
    if (!component || component->FOwner == this)
        return;
    for (const TComponent *c = this; c; c = c->FOwner)
        if (c == component)
            throw EComponentError(Format("A component cannot own itself or its owner (%s)",
                                         component->FName.c_str()));
    // Checked before anything moves, so a refused component stays where it was.
    ValidateRename(component, std::string(), component->FName);
    if (component->FOwner)
        component->FOwner->RemoveComponent(component);
    FComponents.push_back(component);
    component->FOwner = this;
    if (HasState(csDesigning))
        component->SetDesigning(true);
    Notification(component, opInsert);
}

void TComponent::RemoveComponent(TComponent *component)
{
    if (!component || component->FOwner != this)
        return;
    EraseOne(FComponents, component);
    component->FOwner = nullptr;
    Notification(component, opRemove);
}

void TComponent::DestroyComponents()
{
    while (!FComponents.empty()) {
        TComponent *last = FComponents.back();
        RemoveComponent(last);
        delete last;
    }
}

void TComponent::Destroying()
{
    if (HasState(csDestroying))
        return;
    FState |= csDestroying;
    for (TComponent *c : FComponents)
        c->Destroying();
}

void TComponent::SetDesigning(bool value, bool setChildren)
{
    if (value)
        FState |= csDesigning;
    else
        FState &= ~csDesigning;
    if (setChildren)
        for (TComponent *c : FComponents)
            c->SetDesigning(value, true);
}

void TComponent::SetReading(bool value)
{
    if (value)
        FState |= csReading;
    else
        FState &= ~csReading;
}

void TComponent::Loading()
{
    FState |= csLoading;
}

void TComponent::Loaded()
{
    FState &= ~csLoading;
}

void TComponent::FreeNotification(TComponent *component)
{
    if (!component || component == this)
        return;
    if (FOwner && component->FOwner == FOwner)
        return; // the common owner passes every removal on
    if (std::find(FFreeNotifies.begin(), FFreeNotifies.end(), component) == FFreeNotifies.end())
        FFreeNotifies.push_back(component);
    if (std::find(component->FFreeNotifies.begin(), component->FFreeNotifies.end(), this) ==
        component->FFreeNotifies.end())
        component->FFreeNotifies.push_back(this);
}

void TComponent::RemoveFreeNotification(TComponent *component)
{
    if (!component)
        return;
    EraseOne(FFreeNotifies, component);
    EraseOne(component->FFreeNotifies, this);
}

void TComponent::Notification(TComponent *component, TOperation operation)
{
    if (operation == opRemove && component)
        RemoveFreeNotification(component);
    // Last first, as the owned components may go away meanwhile.
    for (size_t i = FComponents.size(); i-- > 0;)
        if (i < FComponents.size())
            FComponents[i]->Notification(component, operation);
}

// ---- TCollectionItem ----

RTL_IMPLEMENT_CLASS(TCollectionItem, TPersistent)

TCollectionItem::TCollectionItem(TCollection *collection)
{
    SetCollection(collection);
}

TCollectionItem::~TCollectionItem()
{
    SetCollection(nullptr);
}

void TCollectionItem::SetCollection(TCollection *collection)
{
    if (collection == FCollection)
        return;
    if (FCollection)
        FCollection->RemoveItem(this);
    if (collection)
        collection->InsertItem(this);
}

int TCollectionItem::Index() const
{
    if (!FCollection)
        return -1;
    auto &items = FCollection->FItems;
    return static_cast<int>(std::find(items.begin(), items.end(), this) - items.begin());
}

void TCollectionItem::SetIndex(int index)
{
    int current = Index();
    if (current < 0 || current == index)
        return;
    if (index < 0 || index >= FCollection->Count())
        RaiseIndex(index);
    MoveTo(FCollection->FItems, current, index);
    Changed(true);
}

void TCollectionItem::SetDisplayName(const std::string &)
{
    Changed(false);
}

std::string TCollectionItem::GetDisplayName() const
{
    return ClassName();
}

void TCollectionItem::Changed(bool allItems)
{
    if (FCollection && FCollection->FUpdateCount == 0)
        FCollection->Update(allItems ? nullptr : this);
}

std::string TCollectionItem::GetNamePath() const
{
    if (!FCollection)
        return ClassName();
    return Format("%s[%d]", FCollection->GetNamePath().c_str(), Index());
}

TPersistent *TCollectionItem::GetOwner() const
{
    return FCollection;
}

// ---- TCollection ----

RTL_IMPLEMENT_CLASS(TCollection, TPersistent)

TCollection::TCollection(TCollectionItemClass itemClass, TPersistent *owner)
    : FItemClass(itemClass), FOwner(owner)
{
}

TCollection::~TCollection()
{
    FUpdateCount = 1; // no Update while the items go
    Clear();
}

TCollectionItem *TCollection::Items(int index) const
{
    if (index < 0 || index >= Count())
        RaiseIndex(index);
    return FItems[static_cast<size_t>(index)];
}

void TCollection::SetItem(int index, const TCollectionItem &source)
{
    Items(index)->Assign(source);
}

TCollectionItem *TCollection::Add()
{
    return FItemClass.Create(this);
}

TCollectionItem *TCollection::Insert(int index)
{
    if (index < 0 || index > Count())
        RaiseIndex(index);
    TCollectionItem *item = Add();
    item->SetIndex(index);
    return item;
}

void TCollection::Delete(int index)
{
    delete Items(index);
}

void TCollection::Clear()
{
    if (FItems.empty())
        return;
    BeginUpdate();
    while (!FItems.empty())
        delete FItems.back();
    EndUpdate();
}

TCollectionItem *TCollection::FindItemID(int id) const
{
    for (TCollectionItem *item : FItems)
        if (item->FID == id)
            return item;
    return nullptr;
}

void TCollection::EndUpdate()
{
    if (FUpdateCount == 0)
        return; // unmatched: an extra EndUpdate must not block later updates
    --FUpdateCount;
    Changed();
}

void TCollection::Changed()
{
    if (FUpdateCount == 0)
        Update(nullptr);
}

void TCollection::Update(TCollectionItem *) {}

void TCollection::InsertItem(TCollectionItem *item)
{
    FItems.push_back(item);
    item->FCollection = this;
    item->FID = FNextID++;
    Changed();
}

void TCollection::RemoveItem(TCollectionItem *item)
{
    EraseOne(FItems, item);
    item->FCollection = nullptr;
    Changed();
}

void TCollection::Assign(const TPersistent &source)
{
    auto *other = dynamic_cast<const TCollection *>(&source);
    if (!other) {
        TPersistent::Assign(source);
        return;
    }
    if (other == this)
        return;
    BeginUpdate();
    try {
        Clear();
        for (TCollectionItem *item : other->FItems)
            Add()->Assign(*item);
    } catch (...) {
        EndUpdate();
        throw;
    }
    EndUpdate();
}

std::string TCollection::GetNamePath() const
{
    TPersistent *owner = GetOwner();
    if (!owner)
        return ClassName();
    std::string ownerPath = owner->GetNamePath();
    if (ownerPath.empty())
        return ClassName();
    for (const TPropInfo *prop : GetPropList(owner, tkClass, false)) {
        if (!prop->IsReadable())
            continue;
        TPropValue value = prop->GetValue(*owner);
        if (auto *object = std::get_if<TObject *>(&value); object && *object == this)
            return ownerPath + "." + prop->Name();
    }
    return ClassName();
}

// ---- Class registry ----

namespace {

struct TRegisteredClass {
    const TClassInfo *Info;
    TComponentFactory Create;
};

std::vector<TRegisteredClass> &Registry()
{
    static std::vector<TRegisteredClass> classes;
    return classes;
}

TRegisteredClass *Lookup(std::string_view className)
{
    for (TRegisteredClass &entry : Registry())
        if (SameName(entry.Info->Name, className))
            return &entry;
    return nullptr;
}

} // namespace

void RegisterClass(const TClassInfo &cls, TComponentFactory create)
{
    if (TRegisteredClass *entry = Lookup(cls.Name)) {
        if (entry->Info != &cls)
            throw EFilerError(Format("A class named %s already exists", cls.Name));
        if (create)
            entry->Create = create;
        return;
    }
    Registry().push_back({&cls, create});
}

void UnRegisterClass(const TClassInfo &cls)
{
    auto &classes = Registry();
    classes.erase(std::remove_if(classes.begin(), classes.end(),
                                 [&](const TRegisteredClass &e) { return e.Info == &cls; }),
                  classes.end());
}

const TClassInfo *GetClass(std::string_view className)
{
    const TRegisteredClass *entry = Lookup(className);
    return entry ? entry->Info : nullptr;
}

const TClassInfo &FindClass(std::string_view className)
{
    const TClassInfo *cls = GetClass(className);
    if (!cls)
        throw EClassNotFound(Format("Class %s not found", std::string(className).c_str()));
    return *cls;
}

TComponent *CreateComponent(std::string_view className, TComponent *owner)
{
    const TRegisteredClass *entry = Lookup(className);
    if (!entry)
        throw EClassNotFound(Format("Class %s not found", std::string(className).c_str()));
    if (!entry->Create)
        throw EInvalidCast(Format("Class %s cannot be created by name", entry->Info->Name));
    return entry->Create(owner);
}

} // namespace rtl
