#include "platform/rtl/classes.h"

#include <gtest/gtest.h>

#include <algorithm>
#include <set>

using namespace rtl;

namespace {

std::set<const void *> gAlive;
std::vector<std::string> gDestroyed;

// Records what it is told and keeps one reference it clears on removal.
class TProbe : public TComponent {
    RTL_DECLARE_CLASS(TProbe)
public:
    explicit TProbe(TComponent *owner = nullptr, bool callInherited = true)
        : TComponent(owner), FCallInherited(callInherited)
    {
        gAlive.insert(this);
    }
    ~TProbe() override
    {
        SawDestroying = HasState(csDestroying);
        gDestroyed.push_back(Name());
        gAlive.erase(this);
    }
    void Loaded() override
    {
        TComponent::Loaded();
        ++LoadedCalls;
    }

    TComponent *Peer = nullptr;
    std::vector<std::pair<TComponent *, TOperation>> Heard;
    int LoadedCalls = 0;
    bool SawDestroying = false;

protected:
    void Notification(TComponent *component, TOperation operation) override
    {
        EXPECT_TRUE(gAlive.count(this)) << "notification sent to a destroyed component";
        Heard.emplace_back(component, operation);
        if (operation == opRemove && component == Peer)
            Peer = nullptr;
        if (FCallInherited)
            TComponent::Notification(component, operation);
    }

private:
    bool FCallInherited;
};
RTL_IMPLEMENT_CLASS(TProbe, TComponent)

int Count(const TProbe &p, TComponent *c, TOperation op)
{
    return static_cast<int>(std::count(p.Heard.begin(), p.Heard.end(), std::make_pair(c, op)));
}

// The message of the EComponentError that naming c raises.
std::string NameError(TComponent *c, const char *name)
{
    try {
        c->SetName(name);
    } catch (const EComponentError &e) {
        return e.Message();
    }
    return "(accepted)";
}

} // namespace

TEST(Component, FreeNotificationWorksBothWaysAndLeavesNoDanglingLink)
{
    for (bool inherited : {true, false}) {
        for (bool watcherFirst : {true, false}) {
            auto *watcher = new TProbe(nullptr, inherited);
            auto *watched = new TProbe(nullptr, inherited);
            watcher->Peer = watched;
            watched->Peer = watcher;
            watcher->FreeNotification(watched);
            TProbe *first = watcherFirst ? watcher : watched;
            TProbe *second = watcherFirst ? watched : watcher;
            delete first;
            EXPECT_EQ(Count(*second, first, opRemove), 1);
            EXPECT_EQ(second->Peer, nullptr);
            // The survivor's destructor must not call back into the dead one.
            delete second;
        }
    }

    // Removed notifications are not sent.
    TProbe a, b;
    a.FreeNotification(&b);
    a.RemoveFreeNotification(&b);
    {
        TProbe c;
        c.FreeNotification(&a);
        b.FreeNotification(&c);
        c.RemoveFreeNotification(&b); // from the other side
    }
    EXPECT_TRUE(a.Heard.size() == 1 && a.Heard[0].second == opRemove);
    EXPECT_TRUE(b.Heard.empty());
}

TEST(Component, OwnerDestroysChildrenAndChildrenLeaveTheOwner)
{
    gDestroyed.clear();
    auto *form = new TProbe;
    auto *b1 = new TProbe(form);
    b1->SetName("b1");
    auto *b2 = new TProbe(form);
    b2->SetName("b2");
    auto *b3 = new TProbe(b2); // owned two levels down
    b3->SetName("b3");
    b2->Peer = b1;
    EXPECT_EQ(Count(*form, b1, opInsert), 1);

    auto *early = new TProbe(form);
    early->SetName("early");
    EXPECT_EQ(form->ComponentCount(), 3);
    EXPECT_EQ(early->ComponentIndex(), 2); // owned components keep their creation order
    EXPECT_EQ(form->ComponentIndex(), -1);
    b1->Peer = early;
    b1->FreeNotification(early); // same owner: covered by the owner, told once
    delete early;
    EXPECT_EQ(form->ComponentCount(), 2);
    EXPECT_THROW(form->Components(2), EListError);
    EXPECT_THROW(form->Components(-1), EListError);
    EXPECT_EQ(form->FindComponent("early"), nullptr);
    EXPECT_EQ(Count(*form, early, opRemove), 1);
    EXPECT_EQ(Count(*b1, early, opRemove), 1); // the owner tells every owned component
    EXPECT_EQ(b1->Peer, nullptr);

    bool b1SawDestroying = false;
    struct Spy : TProbe {
        bool *Flag;
        Spy(TComponent *o, bool *flag) : TProbe(o), Flag(flag) {}
        ~Spy() override { *Flag = Owner() == nullptr && HasState(csDestroying); }
    };
    auto *spy = new Spy(b1, &b1SawDestroying);
    (void)spy;

    gDestroyed.clear();
    form->SetName("form");
    delete form;
    // Last created first; a component's own destructor body runs before its
    // owned components go.
    EXPECT_EQ(gDestroyed, (std::vector<std::string>{"form", "b2", "b3", "b1", ""}));
    EXPECT_TRUE(b1SawDestroying);
}

TEST(Component, NamesAreUniqueAmongOwnedComponentsIgnoringCase)
{
    TComponent form;
    auto *a = new TComponent(&form);
    auto *b = new TComponent(&form);
    auto *c = new TComponent(&form); // two nameless components are fine
    a->SetName("btnRun");
    EXPECT_EQ(NameError(b, "BTNRUN"), "A component named BTNRUN already exists");
    EXPECT_EQ(b->Name(), "");
    a->SetName("BtnRun"); // a renamed in another case is no duplicate of itself
    EXPECT_EQ(form.FindComponent("btnrun"), a);
    EXPECT_EQ(form.FindComponent(""), nullptr);

    for (const char *bad : {"1st", "a b", "x-y", "\xE9t\xE9"})
        EXPECT_EQ(NameError(c, bad), std::string("'") + bad + "' is not a valid component name");
    c->SetName("_ok2");
    // Through the published property too.
    EXPECT_THROW(SetStrProp(b, "Name", "_OK2"), EComponentError);
    SetStrProp(b, "Name", "txtStartTime");
    EXPECT_EQ(GetStrProp(b, "name"), "txtStartTime");

    // A component of the same name from elsewhere is refused and stays put.
    TComponent other;
    auto *stranger = new TComponent(&other);
    stranger->SetName("TXTSTARTTIME");
    EXPECT_THROW(form.InsertComponent(stranger), EComponentError);
    EXPECT_EQ(stranger->Owner(), &other);
    stranger->SetName("lblTitle");
    form.InsertComponent(stranger);
    EXPECT_EQ(other.ComponentCount(), 0);
    EXPECT_EQ(form.Components(3), stranger);

    // Ownership cycles are refused.
    EXPECT_THROW(a->InsertComponent(&form), EComponentError);
    EXPECT_THROW(a->InsertComponent(a), EComponentError);
}

TEST(Component, DesigningReachesOwnedComponentsAndLaterOnes)
{
    TProbe form;
    auto *child = new TProbe(&form);
    form.SetDesigning(true);
    EXPECT_TRUE(child->HasState(csDesigning));
    auto *late = new TProbe(&form);
    EXPECT_TRUE(late->HasState(csDesigning)); // inserted into a designed owner
}

namespace {

class TColumn : public TCollectionItem {
    RTL_DECLARE_CLASS(TColumn)
public:
    using TCollectionItem::TCollectionItem;
    std::string Title;
    void SetTitle(const std::string &t)
    {
        Title = t;
        Changed(false);
    }
    void Assign(const TPersistent &source) override
    {
        if (auto *c = dynamic_cast<const TColumn *>(&source))
            Title = c->Title;
        else
            TCollectionItem::Assign(source);
    }

protected:
    std::string GetDisplayName() const override
    {
        return Title.empty() ? TCollectionItem::GetDisplayName() : Title;
    }
};
RTL_IMPLEMENT_PUBLISHED_CLASS(TColumn, TCollectionItem)
{
    P.String(
        "Title", "string", [](TColumn &c) { return c.Title; }, &TColumn::SetTitle);
}

class TColumns : public TCollection {
    RTL_DECLARE_CLASS(TColumns)
public:
    explicit TColumns(TPersistent *owner = nullptr)
        : TCollection(CollectionItemClass<TColumn>(), owner)
    {
    }
    TColumn *Column(int i) const { return static_cast<TColumn *>(Items(i)); }
    std::vector<TCollectionItem *> Updates;

protected:
    void Update(TCollectionItem *item) override { Updates.push_back(item); }
};
RTL_IMPLEMENT_CLASS(TColumns, TCollection)

class TListView : public TComponent {
    RTL_DECLARE_CLASS(TListView)
public:
    using TComponent::TComponent;
    TColumns Columns{this};
};
RTL_IMPLEMENT_PUBLISHED_CLASS(TListView, TComponent)
{
    P.Object<TCollection>("Columns", [](TListView &l) { return &l.Columns; });
}

std::vector<std::string> Titles(const TColumns &cols)
{
    std::vector<std::string> t;
    for (int i = 0; i < cols.Count(); ++i)
        t.push_back(cols.Column(i)->Title);
    return t;
}

} // namespace

TEST(Collection, AddInsertDeleteAndIndexMoves)
{
    TColumns cols;
    for (const char *t : {"A", "B", "C", "D"})
        static_cast<TColumn *>(cols.Add())->Title = t;
    EXPECT_EQ(cols.ItemClass().Name, std::string("TColumn"));
    cols.Column(0)->SetIndex(2);
    EXPECT_EQ(Titles(cols), (std::vector<std::string>{"B", "C", "A", "D"}));
    cols.Column(3)->SetIndex(0);
    EXPECT_EQ(Titles(cols), (std::vector<std::string>{"D", "B", "C", "A"}));
    EXPECT_THROW(cols.Column(0)->SetIndex(4), EListError);
    EXPECT_EQ(cols.Column(2)->Index(), 2);

    static_cast<TColumn *>(cols.Insert(1))->Title = "N";
    EXPECT_EQ(Titles(cols), (std::vector<std::string>{"D", "N", "B", "C", "A"}));
    EXPECT_THROW(cols.Insert(6), EListError);
    EXPECT_EQ(cols.Count(), 5); // a refused insert adds nothing
    cols.Delete(1);
    EXPECT_THROW(cols.Delete(4), EListError);

    delete cols.Column(0); // an item deleted directly leaves its collection
    cols.Add();
    EXPECT_EQ(Titles(cols), (std::vector<std::string>{"B", "C", "A", ""}));
    EXPECT_EQ(cols.Column(1)->DisplayName(), "C");
    EXPECT_EQ(cols.Column(3)->DisplayName(), "TColumn");
}

TEST(Collection, UpdatesAreReportedOncePerOuterUpdate)
{
    TColumns cols;
    cols.Add();
    EXPECT_EQ(cols.Updates, (std::vector<TCollectionItem *>{nullptr}));
    cols.Updates.clear();

    TColumn *c = cols.Column(0);
    c->SetTitle("x"); // a single item's change names the item
    EXPECT_EQ(cols.Updates, (std::vector<TCollectionItem *>{c}));
    cols.Updates.clear();

    cols.BeginUpdate();
    cols.BeginUpdate();
    cols.Add();
    c->SetTitle("y");
    c->SetIndex(1);
    cols.EndUpdate();
    EXPECT_TRUE(cols.Updates.empty());
    cols.EndUpdate();
    EXPECT_EQ(cols.Updates, (std::vector<TCollectionItem *>{nullptr}));

    // An unmatched EndUpdate does not hold back later updates.
    cols.Updates.clear();
    cols.EndUpdate();
    EXPECT_EQ(cols.UpdateCount(), 0);
    c->SetTitle("z");
    EXPECT_EQ(cols.Updates.back(), c);

    cols.Updates.clear();
    cols.Clear();
    EXPECT_EQ(cols.Updates, (std::vector<TCollectionItem *>{nullptr}));
}

TEST(Collection, ItemsAreReachedThroughReflectionAndCopied)
{
    TComponent form;
    form.SetName("frmList");
    auto *lv = new TListView(&form);
    lv->SetName("lvData");
    static_cast<TColumn *>(lv->Columns.Add())->Title = "Time";
    static_cast<TColumn *>(lv->Columns.Add())->Title = "Level";

    auto *coll = dynamic_cast<TCollection *>(GetObjectProp(lv, "Columns"));
    ASSERT_NE(coll, nullptr);
    EXPECT_EQ(coll->GetOwner(), lv);
    TCollectionItem *item = coll->Items(1);
    SetStrProp(item, "title", "dB");
    EXPECT_EQ(GetStrProp(item, "Title"), "dB");

    TColumns copy;
    copy.Assign(lv->Columns);
    EXPECT_EQ(Titles(copy), (std::vector<std::string>{"Time", "dB"}));
    EXPECT_EQ(copy.Updates, (std::vector<TCollectionItem *>{nullptr}));
    EXPECT_THROW(copy.Assign(form), EConvertError);
}

namespace {

class TRegButton : public TComponent {
    RTL_DECLARE_CLASS(TRegButton)
public:
    using TComponent::TComponent;
};
RTL_IMPLEMENT_CLASS(TRegButton, TComponent)

namespace other {
class TRegButton : public TComponent {
    RTL_DECLARE_CLASS(TRegButton)
public:
    using TComponent::TComponent;
};
RTL_IMPLEMENT_CLASS(TRegButton, TComponent)
} // namespace other

} // namespace

TEST(ClassRegistry, CreatesComponentsByClassName)
{
    EXPECT_EQ(GetClass("TRegButton"), nullptr);
    RegisterClass<TRegButton>();
    RegisterClass<TRegButton>(); // again: no change
    RegisterClass<TColumn>();
    EXPECT_THROW(RegisterClass<other::TRegButton>(), EFilerError);
    EXPECT_EQ(GetClass("tregbutton"), &TRegButton::StaticClassInfo());

    TComponent form;
    TComponent *made = CreateComponent("tRegButton", &form);
    EXPECT_EQ(made->ClassName(), "TRegButton");
    EXPECT_NE(dynamic_cast<TRegButton *>(made), nullptr);
    EXPECT_EQ(form.Components(0), made);
    EXPECT_THROW(CreateComponent("TColumn", &form), EInvalidCast);
    EXPECT_THROW(CreateComponent("TNothing", &form), EClassNotFound);

    UnRegisterClass(TRegButton::StaticClassInfo());
    UnRegisterClass(TColumn::StaticClassInfo());
}
