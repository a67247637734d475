#include "i18n/lx_lxb.h"

#include "i18n/base/lx_ext.h"
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

uint16_t ReadWord(rtl::TStream &stream)
{
    uint8_t b[2];
    stream.ReadBuffer(b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t ReadLong(rtl::TStream &stream)
{
    uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// count bytes, which must all be there.
std::string ReadBytes(rtl::TStream &stream, int64_t count)
{
    if (count > stream.Size() - stream.Position())
        throw rtl::EReadError("Stream read error");
    std::string bytes(static_cast<size_t>(count), '\0');
    if (count > 0)
        stream.ReadBuffer(bytes.data(), count);
    return bytes;
}

void PutWord(std::string &out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}

void PutLong(std::string &out, uint32_t v)
{
    PutWord(out, v & 0xFFFF);
    PutWord(out, v >> 16);
}

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
    stream.SetPosition(0);
    const int64_t size = stream.Size();
    std::string header;
    while (stream.Position() < size - 2) {
        char c;
        stream.ReadBuffer(&c, 1);
        header += c;
        if (c == '\0')
            break;
    }
    if (header != FHeader)
        throw rtl::EFilerError("Unrecognized stream format!");

    const uint16_t forms = ReadWord(stream);
    const uint16_t fixedLength = ReadWord(stream);
    const std::string fixedText = ReadBytes(stream, fixedLength);
    int64_t offset = -1;
    for (uint16_t i = 0; i < forms && offset < 0; ++i) {
        const std::string name = ReadBytes(stream, ReadWord(stream));
        const uint32_t at = ReadLong(stream);
        if (name == ownerClassName)
            offset = at;
    }
    if (offset >= size)
        throw rtl::EReadError("Stream read error");
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
    std::string fixed;
    for (int i = 0; i < fixedLanguages.Count(); ++i)
        fixed += (i ? "\r\n" : "") + fixedLanguages.Strings(i);
    size_t directory = 0;
    for (const TLXBForm &f : forms)
        directory += 2 + f.ClassName.size() + 4;

    std::string out(kLXBHeader, sizeof kLXBHeader);
    PutWord(out, static_cast<uint32_t>(forms.size()));
    PutWord(out, static_cast<uint32_t>(fixed.size()));
    out += fixed;
    std::string components;
    const size_t first = out.size() + directory;
    for (const TLXBForm &f : forms) {
        PutWord(out, static_cast<uint32_t>(f.ClassName.size()));
        out += f.ClassName;
        PutLong(out, static_cast<uint32_t>(first + components.size()));
        rtl::TMemoryStream data;
        rtl::WriteComponent(data, *f.Lang);
        components.append(reinterpret_cast<const char *>(data.Memory()),
                          static_cast<size_t>(data.Size()));
    }
    out += components;
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

} // namespace i18n

namespace i18n {

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
