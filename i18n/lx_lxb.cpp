// LXB files read into translation components and written from them (the
// file's header and directory: base/lx_lxbfile.cpp).
#include "i18n/lx_lxb.h"

#include "i18n/base/lx_ext.h"
#include "i18n/base/lx_lxbfile.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/component_stream.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

#include <cstring>
#include <memory>

namespace i18n {

RTL_IMPLEMENT_CLASS(TLXBFileManager, rtl::TPersistent)

namespace {

// A component of target's class, owned by owner (none: its own).
TlxCustomLang *NewLangLike(const TlxCustomLang &target, rtl::TComponent *owner)
{
    const std::string className = target.ClassName();
    if (!rtl::GetClass(className))
        RegisterLangClasses();
    rtl::TComponent *made = nullptr;
    if (rtl::GetClass(className) == &target.ClassType()) {
        try {
            made = rtl::CreateComponent(className, owner);
        } catch (const rtl::Exception &) {
        }
    }
    auto *lang = dynamic_cast<TlxCustomLang *>(made);
    if (!lang || &lang->ClassType() != &target.ClassType()) {
        delete made;
        std::string name = target.Name();
        if (target.Owner())
            name = target.Owner()->ClassName() + "." + name;
        throw rtl::Exception(
            rtl::Format("Unable to obtain %s class reference for %s!\r"
                        "Do not use the units of both class libraries in one application.",
                        className.c_str(), name.c_str()));
    }
    return lang;
}

// The first row from index 1 on that belongs to the form itself goes first.
void MoveFormRowFirst(rtl::TStrings &table, const std::string &ownerClass, char delim)
{
    const std::string prefix = ownerClass + delim;
    for (int i = 1; i < table.Count(); ++i)
        if (table.Strings(i).compare(0, prefix.size(), prefix) == 0) {
            table.Move(i, 0);
            return;
        }
}

// Clears the LXB loading flag of the components it was set on when it goes.
class TLXBLoadingScope {
public:
    void Set(TlxCustomLang &lang)
    {
        lang.SetLXBLoading(true);
        FLangs.push_back(&lang);
    }
    ~TLXBLoadingScope()
    {
        for (TlxCustomLang *lang : FLangs)
            lang->SetLXBLoading(false);
    }

private:
    std::vector<TlxCustomLang *> FLangs;
};

} // namespace

TLXBFileManager::TLXBFileManager() : FHeader(kLXBHeader, sizeof kLXBHeader)
{
    FFixedLanguages.SetSorted(true);
    FFixedLanguages.SetDuplicates(rtl::dupAccept);
}

TLXBFileManager::~TLXBFileManager()
{
    ClearComponents();
}

void TLXBFileManager::ClearComponents()
{
    std::vector<rtl::TComponent *> held;
    held.swap(FComponents);
    for (rtl::TComponent *c : held)
        if (!c->Owner())
            delete c;
}

void TLXBFileManager::AssignTo(rtl::TPersistent &dest) const
{
    auto *other = dynamic_cast<TLXBFileManager *>(&dest);
    if (!other) {
        rtl::TPersistent::AssignTo(dest);
        return;
    }
    if (other == this)
        return;
    other->FHeader = FHeader;
    other->FFixedLanguages.Assign(FFixedLanguages);
    other->FOwnerNames.Assign(FOwnerNames);
    other->FCommentsFileName = FCommentsFileName;
    other->ClearComponents();
    for (rtl::TComponent *c : FComponents) {
        rtl::TMemoryStream data;
        rtl::WriteComponent(data, *c);
        data.SetPosition(0);
        std::unique_ptr<rtl::TComponent> copy(rtl::CreateComponent(c->ClassName(), nullptr));
        rtl::ReadComponent(data, *copy);
        other->FComponents.push_back(copy.release());
    }
}

bool TLXBFileManager::LoadComponent(TlxCustomLang &target, const std::string &ownerClassName,
                                    const std::string &fileName)
{
    rtl::TFileStream stream(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    return LoadFromStream(target, ownerClassName, stream);
}

bool TLXBFileManager::LoadFromStream(TlxCustomLang &target, const std::string &ownerClassName,
                                     rtl::TStream &stream)
{
    std::string fixedText;
    const int64_t offset = ReadLXBDirectory(stream, FHeader, ownerClassName, fixedText);
    if (offset < 0) {
        FFixedLanguages.SetText(fixedText);
        return false;
    }

    // The stored component is read into a fresh one of target's class, on a
    // form of its own; target takes its tables once it has been read whole.
    rtl::TComponent form;
    TlxCustomLang *source = NewLangLike(target, &form);
    {
        TLXBLoadingScope loading;
        loading.Set(*source);
        stream.SetPosition(offset);
        rtl::TComponentReadRules rules;
        rules.OwnedComponents = false;
        rtl::ReadComponent(stream, *source, rules);

        loading.Set(target);
        FFixedLanguages.SetText(fixedText);
        target.SetStoreAsUTF8(source->StoreAsUTF8());
        if (source->LangDelim() != target.LangDelim())
            source->SetLangDelim(target.LangDelim());
        const std::string formClass = target.Owner() ? target.Owner()->ClassName() : "";
        for (int t = 0; t < kStringsTypeCount; ++t) {
            rtl::TStrings *to = target.TableOfType(t);
            rtl::TStrings *from = source->TableOfType(t);
            if (!to || !from)
                continue;
            to->Assign(*from);
            if (!formClass.empty() &&
                (t == stCaptions || t == stHints || t == stFonts || t == stCharSets))
                MoveFormRowFirst(*to, formClass, target.LangDelim());
        }
        target.SetLangNames(source->LangNames());
        TlxExtendedItems &items = target.ExtendedTranslations();
        items.Clear();
        const TlxExtendedItems &stored = source->ExtendedTranslations();
        for (int i = 0; i < stored.Count(); ++i) {
            TlxExtendedItem &item = items.Add();
            item.SetIdentifier(stored.Items(i).Identifier());
            item.SetPropertyType(target.PropertyKindOf(stored.Items(i).Identifier()));
            item.SetValues(stored.Items(i).Values());
        }
    }
    return true;
}

bool TLXBFileManager::LoadSection(int type, const std::string &fileName,
                                  const std::string &ownerClassName, TlxCustomLang &target)
{
    rtl::TStrings *to = target.TableOfType(type);
    if (!to)
        return false;
    std::unique_ptr<TlxCustomLang> temp(NewLangLike(target, nullptr));
    temp->SetLXBLoading(true);
    if (target.Owner())
        target.Owner()->InsertComponent(temp.get());
    const bool found = LoadComponent(*temp, ownerClassName, fileName);
    if (rtl::TStrings *from = temp->TableOfType(type); found && from)
        to->Assign(*from);
    return found;
}

void TLXBFileManager::LoadLanguageNames(const std::string &fileName,
                                        const std::string &ownerClassName,
                                        const TlxCustomLang &like, rtl::TStrings &names)
{
    names.Clear();
    std::unique_ptr<TlxCustomLang> temp(NewLangLike(like, nullptr));
    temp->SetLXBLoading(true);
    if (LoadComponent(*temp, ownerClassName, fileName))
        names.Assign(temp->LangNames());
}

void WriteLXB(rtl::TStream &stream, const rtl::TStrings &fixedLanguages,
              const std::vector<TLXBForm> &forms)
{
    std::vector<TLXBFormData> stored;
    for (const TLXBForm &f : forms) {
        rtl::TMemoryStream data;
        rtl::WriteComponent(data, *f.Lang);
        stored.push_back({f.ClassName, std::string(reinterpret_cast<const char *>(data.Memory()),
                                                   static_cast<size_t>(data.Size()))});
    }
    WriteLXBFile(stream, fixedLanguages, stored);
}

// ---------------------------------------------------------------------------
// A component's LXB files

bool TlxCustomLang::LoadFromLXB(const std::string &fileName)
{
    if (!Owner())
        return false;
    std::unique_ptr<rtl::TFileStream> file;
    try {
        file =
            std::make_unique<rtl::TFileStream>(fileName, rtl::fmOpenRead | rtl::fmShareDenyWrite);
    } catch (const rtl::EStreamError &) {
        return false;
    }
    TLXBFileManager own;
    TLXBFileManager *manager = &own;
    if (FLangDispatcher && FLangDispatcher->LXBManager() &&
        rtl::AnsiSameText(FLangDispatcher->FileName(), fileName))
        manager = FLangDispatcher->LXBManager();
    const bool found = manager->LoadFromStream(*this, OwnerClassName(), *file);
    RebuildIndexes();
    TranslateOwner();
    return found;
}

bool TlxCustomLang::ImportLXBSection(int type, const std::string &fileName)
{
    TLXBFileManager manager;
    const bool found = manager.LoadSection(type, fileName, OwnerClassName(), *this);
    if (type == stStrings)
        RebuildIndexes();
    return found;
}

} // namespace i18n
