// Collecting a form's texts into the translation tables: the opposite of
// the walk that applies a language (lx_walk.cpp). It reads every
// translatable property of the form and its components and keeps one row
// per text, with the key formats the walk reads back.
#include "i18n/base/lx_props.h"
#include "i18n/base/lx_rows.h"
#include "i18n/lx_comp.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

namespace i18n {

namespace {

// The property each kind of table translates when its key names none.
const char *DefaultProperty(int kind)
{
    switch (kind) {
    case stCaptions:
        return "Caption";
    case stHints:
        return "Hint";
    case stDisplayLabels:
        return "DisplayLabel";
    case stFonts:
    case stCharSets:
        return "Font";
    default:
        return "";
    }
}

bool StartsWithText(const std::string &s, const std::string &prefix)
{
    return s.size() >= prefix.size() && rtl::AnsiSameText(s.substr(0, prefix.size()), prefix);
}

bool IsFontProperty(const rtl::TPropInfo *p)
{
    return p && p->Kind() == rtl::tkClass && p->PropClass() &&
           std::string(p->PropClass()->Name) == "TFont";
}

// The name of a charset value as the charset table has it ("DEFAULT_CHARSET"
// for an unknown one).
std::string CharsetName(int value)
{
    for (const auto &c : kCharsetNames)
        if (c.Value == value)
            return c.Name;
    return "DEFAULT_CHARSET";
}

bool ReadWrite(const rtl::TPropInfo *p)
{
    return p && p->IsReadable() && p->IsWritable();
}

} // namespace

// The collection's work on a component, with access to its inner state.
struct TCollector {
    TlxCustomLang &L;
    const char D;

    explicit TCollector(TlxCustomLang &lang) : L(lang), D(lang.FLangDelim) {}

    std::string NewRow(const std::string &key, const std::string &text) const
    {
        return key + D + text + std::string(static_cast<size_t>(L.FNumOfLanguages), D);
    }

    // Index of the first row keyed key (ignoring case); -1 when none.
    static int RowOf(const rtl::TStrings &table, const std::string &key, char d)
    {
        for (int i = 0; i < table.Count(); ++i)
            if (StartsWithText(table.Strings(i), key + d))
                return i;
        return -1;
    }

    // The components a walk over the form looks at.
    bool Skipped(rtl::TComponent *c) const
    {
        return c->Name().empty() || c->InheritsFrom(TlxCustomLang::StaticClassInfo()) ||
               c->InheritsFrom(TlxLangDispatcher::StaticClassInfo()) ||
               L.FDoNotTranslate.IndexOf(c->Name()) >= 0 ||
               L.FDoNotTranslate.IndexOf("!" + c->ClassName()) >= 0;
    }

    // Calls fn for every component of the form a walk looks at.
    template <class Fn> void ForEachComponent(Fn fn) const
    {
        rtl::TComponent *owner = L.Owner();
        for (int i = 0; i < owner->ComponentCount(); ++i)
            if (rtl::TComponent *c = owner->Components(i); !Skipped(c))
                fn(c);
    }

    // The common rule for one text found on the form. Returns the row's
    // index, or -1 when it has none (an empty text with AutoSkipEmpties);
    // reused is set when the row was rebuilt from a removed one (its index
    // in the removed rows).
    int Found(rtl::TStrings &table, const std::string &key, const std::string &current,
              bool addAllowed = true, int *reused = nullptr)
    {
        if (reused)
            *reused = -1;
        const int at = RowOf(table, key, D);
        if (at >= 0) {
            const std::string old = GetEntryField(table.Strings(at), D, L.FActiveLanguage);
            if (L.HasState(rtl::csDesigning) && !rtl::AnsiSameText(old, current) &&
                (!old.empty() || L.FActiveLanguage == 1))
                L.StoreText(table, current, L.FActiveLanguage, key);
            return at;
        }
        if (!addAllowed)
            return -1;
        const int removed = RemovedRowIndex(current);
        if (removed >= 0) {
            const std::string row = L.FRemovedRows->Strings(removed);
            const size_t first = row.find(D);
            table.Add(key + (first == std::string::npos ? std::string(1, D) : row.substr(first)));
            if (reused)
                *reused = removed;
            return table.Count() - 1;
        }
        if (L.FAutoSkipEmpties && current.empty())
            return -1;
        table.Add(NewRow(key, current));
        return table.Count() - 1;
    }

    int RemovedRowIndex(const std::string &text) const
    {
        if (!L.FRemovedRows)
            return -1;
        for (int i = 0; i < L.FRemovedRows->Count(); ++i) {
            const std::string row = L.FRemovedRows->Strings(i);
            std::string t = GetEntryField(row, D, L.FActiveLanguage);
            if (t.empty())
                t = GetEntryField(row, D, 1);
            if (rtl::AnsiSameText(t, text))
                return i;
        }
        return -1;
    }

    // Row 0 of a table of the form's own texts: re-keyed by the class name
    // when it was keyed otherwise, or inserted; then the current text in the
    // active language.
    void FormRow(rtl::TStrings &table, const std::string &current)
    {
        rtl::TComponent *owner = L.Owner();
        const std::string cls = owner->ClassName();
        const std::string name = owner->Name();
        const std::string fresh = NewRow(cls, current);
        if (table.Count() > 0) {
            const std::string row = table.Strings(0);
            const std::string key0 = GetEntryField(row, D, 0);
            const std::string rest = row.substr(key0.size());
            const bool isName = !name.empty() && rtl::AnsiSameText(key0, name);
            if ((!rtl::AnsiSameText(key0, cls) && !isName && !current.empty() &&
                 GetEntryField(row, D, 1) == current) ||
                isName)
                table.Put(0, cls + rest);
            const std::string key = GetEntryField(table.Strings(0), D, 0);
            if (!rtl::AnsiSameText(key, cls) && !(!name.empty() && rtl::AnsiSameText(key, name)))
                table.Insert(0, fresh);
        } else {
            table.Add(fresh);
        }
        if (!rtl::AnsiSameText(current, GetEntryField(table.Strings(0), D, L.FActiveLanguage)))
            L.StoreText(table, current, L.FActiveLanguage, cls);
    }

    // The form's own caption and hint.
    void OwnerTexts()
    {
        rtl::TComponent *owner = L.Owner();
        const std::string cls = owner->ClassName();
        const struct {
            int Kind;
            const char *Property;
        } parts[] = {{stCaptions, "Caption"}, {stHints, "Hint"}};
        for (const auto &part : parts) {
            const rtl::TPropInfo *p = rtl::GetPropInfo(owner, part.Property, rtl::tkStrings);
            if (!p)
                continue;
            rtl::TStrings &table = L.FTables[part.Kind];
            if (L.FSmartExcludeProps.IndexOf(cls + "." + part.Property) >= 0) {
                L.DeleteTableEntry(table, cls, part.Kind, part.Property);
                continue;
            }
            if (L.FExcludedProperties.IndexOf(part.Property) >= 0 || !L.IsTranslatableClass(cls))
                continue;
            const std::string current = L.GetStringPropertyText(owner, part.Property);
            if ((L.FAutoSkipEmpties && current.empty()) || L.IsActionText(owner, part.Kind))
                continue;
            FormRow(table, current);
        }
    }

    // The form's own font and its charset.
    void OwnerFont()
    {
        rtl::TComponent *owner = L.Owner();
        const std::string cls = owner->ClassName();
        const rtl::TPropInfo *p = rtl::GetPropInfo(owner, "Font", rtl::tkClass);
        if (!IsFontProperty(p))
            return;
        if (L.FSmartExcludeProps.IndexOf(cls + ".Font") >= 0 ||
            L.FExcludedProperties.IndexOf("Font") >= 0) {
            L.DeleteTableEntry(L.FTables[stFonts], cls, stFonts, "Font");
            L.DeleteTableEntry(L.FTables[stCharSets], cls, stCharSets, "Charset");
            return;
        }
        if (!L.IsTranslatableClass(cls))
            return;
        rtl::TObject *font = rtl::GetObjectProp(owner, p);
        if (!font)
            return;
        FormRow(L.FTables[stFonts], rtl::GetStrProp(font, "Name"));
        if (L.FExcludedProperties.IndexOf("Charset") < 0)
            FormRow(L.FTables[stCharSets],
                    CharsetName(static_cast<int>(rtl::GetOrdProp(font, "Charset"))));
    }

    // A font of a component: its Fonts row and the CharSets row beside it.
    void ComponentFont(rtl::TComponent *c, rtl::TObject *font)
    {
        const std::string name = c->Name();
        rtl::TStrings &fonts = L.FTables[stFonts];
        rtl::TStrings &charsets = L.FTables[stCharSets];
        const bool existed = RowOf(fonts, name, D) >= 0;
        int reused = -1;
        if (Found(fonts, name, rtl::GetStrProp(font, "Name"), true, &reused) < 0)
            return;
        if (L.IsPropertyExcluded(name, "Charset") || RowOf(charsets, name, D) >= 0)
            return;
        if (!existed && reused >= 0) {
            // The charsets of the removed row's component, language by
            // language.
            const std::string oldKey = GetEntryField(L.FRemovedRows->Strings(reused), D, 0);
            for (int i = 0; i < L.FRemovedRows->Count(); ++i) {
                const std::string row = L.FRemovedRows->Strings(i);
                if (i != reused && rtl::AnsiSameText(GetEntryField(row, D, 0), oldKey) &&
                    CharsetValueOf(GetEntryField(row, D, 1)) >= 0) {
                    charsets.Add(name + row.substr(oldKey.size()));
                    return;
                }
            }
        }
        charsets.Add(NewRow(name, CharsetName(static_cast<int>(rtl::GetOrdProp(font, "Charset")))));
    }

    // A string list's texts as one comma text.
    static std::string CommaTextOf(rtl::TObject *object)
    {
        auto *list = dynamic_cast<rtl::TStrings *>(object);
        return list ? list->CommaText() : std::string();
    }

    void CollectNamed(rtl::TStrings &table, int kind)
    {
        ForEachComponent([&](rtl::TComponent *c) {
            const std::string name = c->Name();
            const rtl::TPropList props = rtl::GetPropList(c, rtl::tkProperties);
            for (const rtl::TPropInfo *p : props) {
                if (kind != stMultiLines && !rtl::AnsiSameText(p->Name(), DefaultProperty(kind)))
                    continue;
                rtl::TObject *value = nullptr;
                if (kind == stMultiLines || kind == stFonts) {
                    if (p->Kind() != rtl::tkClass)
                        continue;
                    value = p->IsReadable() ? rtl::GetObjectProp(c, p) : nullptr;
                }
                if (kind == stMultiLines) {
                    const std::string type = p->TypeName();
                    if (type != "TStrings" && !L.IsStringsClass(type) &&
                        !dynamic_cast<rtl::TStrings *>(value))
                        continue;
                    if (c->ClassName() == "TFormStorage")
                        continue;
                } else if (kind == stFonts) {
                    if (!IsFontProperty(p))
                        continue;
                } else if (!rtl::tkStrings.Contains(p->Kind())) {
                    continue;
                }
                const bool parentFont = kind == stFonts && [&] {
                    const rtl::TPropInfo *pf = rtl::GetPropInfo(c, "ParentFont");
                    return pf && pf->IsReadable() && rtl::GetOrdProp(c, pf) != 0;
                }();
                if (L.IsPropertyExcluded(name, p->Name()) || parentFont) {
                    L.DeleteTableEntry(table, name, kind, p->Name());
                    if (kind == stFonts)
                        L.DeleteTableEntry(L.FTables[stCharSets], name, stCharSets, "Charset");
                    continue;
                }
                if (!ReadWrite(p))
                    continue;
                if (kind == stFonts) {
                    if (value)
                        ComponentFont(c, value);
                    continue;
                }
                if (kind == stMultiLines) {
                    Found(table, name + "." + p->Name(), CommaTextOf(value));
                    continue;
                }
                std::string current;
                try {
                    current = L.GetStringPropertyText(c, p->Name());
                } catch (const rtl::Exception &) {
                }
                if (kind == stCaptions && c->ClassName() == "TMenuItem" && current == "-")
                    continue;
                Found(table, name, current, !L.IsActionText(c, kind));
            }
        });
    }

    // The string properties of one object (a component, or the object its
    // "Properties" holds) into OtherStrings.
    void OtherStringsOf(rtl::TObject *object, const std::string &component,
                        const std::string &exclusionPrefix, const std::string &keyPrefix)
    {
        rtl::TStrings &table = L.FTables[stOtherStrings];
        for (const rtl::TPropInfo *p : rtl::GetPropList(object, rtl::tkStrings)) {
            const std::string &prop = p->Name();
            if (exclusionPrefix.empty() &&
                (rtl::AnsiSameText(prop, "Caption") || rtl::AnsiSameText(prop, "Hint") ||
                 rtl::AnsiSameText(prop, "DisplayLabel") || rtl::AnsiSameText(prop, "Name")))
                continue;
            if (L.IsPropertyExcluded(component, exclusionPrefix + prop)) {
                L.DeleteTableEntry(table, component, stOtherStrings, exclusionPrefix + prop);
                continue;
            }
            if (!ReadWrite(p))
                continue;
            std::string current;
            try {
                current = L.GetStringPropertyText(object, prop);
            } catch (const rtl::Exception &) {
            }
            Found(table, keyPrefix + prop, current);
        }
    }

    void CollectOtherStrings()
    {
        rtl::TComponent *owner = L.Owner();
        const std::string cls = owner->ClassName();
        if (L.IsTranslatableClass(cls))
            OtherStringsOf(owner, cls, "", cls + ".");
        ForEachComponent([&](rtl::TComponent *c) {
            const std::string name = c->Name();
            OtherStringsOf(c, name, "", name + ".");
            if (rtl::TObject *props = ObjectOfProperty(c, "Properties"))
                OtherStringsOf(props, name, "Properties.", name + ".Properties.");
        });
    }

    // Whether an object is one of the form's own components (or the form).
    bool IsFormComponent(rtl::TObject *object) const
    {
        auto *c = dynamic_cast<rtl::TComponent *>(object);
        return c && (c == L.Owner() || c->Owner() == L.Owner());
    }

    void CollectCollections()
    {
        rtl::TStrings &table = L.FTables[stCollections];
        ForEachComponent([&](rtl::TComponent *c) {
            const std::string name = c->Name();
            for (const rtl::TPropInfo *p : rtl::GetPropList(c, rtl::tkClass)) {
                auto *coll = p->IsReadable()
                                 ? dynamic_cast<rtl::TCollection *>(rtl::GetObjectProp(c, p))
                                 : nullptr;
                if (!coll)
                    continue;
                if (L.IsPropertyExcluded(name, p->Name())) {
                    L.DeleteTableEntry(table, name, stCollections, p->Name() + "[");
                    continue;
                }
                for (int index = 0; index < coll->Count(); ++index)
                    CollectItem(table, name, p->Name(), index, coll->Items(index));
            }
        });
    }

    void CollectItem(rtl::TStrings &table, const std::string &component,
                     const std::string &collection, int index, rtl::TCollectionItem *item)
    {
        const std::string head =
            rtl::Format("%s.%s[%d]", component.c_str(), collection.c_str(), index);
        for (const rtl::TPropInfo *p : rtl::GetPropList(item, rtl::tkStrings)) {
            if (L.IsPropertyExcluded(component, p->Name())) {
                L.DeleteTableEntry(table, head, stCollections, p->Name());
                continue;
            }
            if (ReadWrite(p))
                Found(table, head + "." + p->Name(), L.GetStringPropertyText(item, p->Name()));
        }
        for (const rtl::TPropInfo *p : rtl::GetPropList(item, rtl::tkClass)) {
            rtl::TObject *object = p->IsReadable() ? rtl::GetObjectProp(item, p) : nullptr;
            if (!object || IsFormComponent(object))
                continue;
            const std::string key = head + "." + p->Name();
            if (auto *list = dynamic_cast<rtl::TStrings *>(object)) {
                const std::string current = list->CommaText();
                const int at = RowOf(table, key, D);
                const std::string old =
                    at >= 0 ? GetEntryField(table.Strings(at), D, L.FActiveLanguage) : "";
                if (at < 0 || !rtl::AnsiSameText(old, current + "\r\n"))
                    Found(table, key, current);
                continue;
            }
            for (const rtl::TPropInfo *sub : rtl::GetPropList(object, rtl::tkStrings)) {
                const std::string exclusion =
                    rtl::Format("%s.%s[%d].%s", component.c_str(), collection.c_str(), index,
                                p->Name().c_str());
                if (L.IsPropertyExcluded(exclusion, sub->Name())) {
                    L.DeleteTableEntry(table, exclusion, stCollections, sub->Name());
                    continue;
                }
                if (ReadWrite(sub))
                    Found(table, key + "." + sub->Name(),
                          L.GetStringPropertyText(object, sub->Name()));
            }
        }
    }
};

// ---------------------------------------------------------------------------

void TlxCustomLang::DeleteTableEntry(rtl::TStrings &table, const std::string &key, int kind,
                                     const std::string &propertyName)
{
    std::string prefix;
    if (kind == stMultiLines || kind == stOtherStrings)
        prefix = key + "." + propertyName + FLangDelim;
    else if (kind == stCollections)
        prefix = key + "." + propertyName;
    else
        prefix = key + FLangDelim;
    for (int i = table.Count() - 1; i >= 0; --i) {
        if (!StartsWithText(table.Strings(i), prefix))
            continue;
        table.Delete(i);
        if (kind != stCollections)
            return;
    }
}

std::string TlxCustomLang::FindRemovedRow(const std::string &text)
{
    const int i = TCollector(*this).RemovedRowIndex(text);
    return i >= 0 ? FRemovedRows->Strings(i) : std::string();
}

void TlxCustomLang::CollectTableTexts(rtl::TStrings &table, int kind)
{
    if (!Owner())
        return;
    TCollector collector(*this);
    switch (kind) {
    case stCaptions:
    case stHints:
    case stDisplayLabels:
    case stFonts:
    case stMultiLines:
        collector.CollectNamed(table, kind);
        break;
    case stOtherStrings:
        collector.CollectOtherStrings();
        break;
    case stCollections:
        collector.CollectCollections();
        break;
    default:
        break;
    }
}

void TlxCustomLang::CollectPropertiesLists()
{
    rtl::TComponent *owner = Owner();
    if (!owner || FExcludedProperties.IndexOf("Properties") >= 0)
        return;
    TCollector collector(*this);
    rtl::TStrings &table = FTables[stMultiLines];
    collector.ForEachComponent([&](rtl::TComponent *c) {
        rtl::TObject *props = ObjectOfProperty(c, "Properties");
        if (!props)
            return;
        const std::string name = c->Name();
        for (const rtl::TPropInfo *p : rtl::GetPropList(props, rtl::tkClass)) {
            auto *list = p->IsReadable()
                             ? dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(props, p))
                             : nullptr;
            if (!list)
                continue;
            const std::string prop = "Properties." + p->Name();
            if (FExcludedProperties.IndexOf(prop) >= 0 ||
                FSmartExcludeProps.IndexOf(name + "." + prop) >= 0) {
                DeleteTableEntry(table, name, stMultiLines, prop);
                continue;
            }
            collector.Found(table, name + "." + prop, list->CommaText());
        }
    });
}

void TlxCustomLang::RemoveInvalidProperties()
{
    rtl::TComponent *owner = Owner();
    if (!owner)
        return;
    const int kinds[] = {stCaptions, stHints,      stDisplayLabels, stFonts,
                         stCharSets, stMultiLines, stOtherStrings,  stCollections};
    for (int kind : kinds) {
        rtl::TStrings &table = FTables[kind];
        for (int i = table.Count() - 1; i >= 0; --i) {
            const std::string row = table.Strings(i);
            const std::string key = GetEntryField(row, FLangDelim, 0);
            std::string comp, prop;
            if (kind == stMultiLines || kind == stOtherStrings || kind == stCollections) {
                const size_t dot = key.find('.');
                comp = key.substr(0, dot);
                prop = dot == std::string::npos ? "" : key.substr(dot + 1);
                if (kind == stCollections)
                    prop = prop.substr(0, prop.find('['));
            } else {
                comp = key;
                prop = DefaultProperty(kind);
            }
            if (comp.empty()) {
                table.Delete(i);
                continue;
            }
            rtl::TObject *object = rtl::AnsiSameText(comp, owner->Name()) ||
                                           rtl::AnsiSameText(comp, owner->ClassName())
                                       ? owner
                                       : owner->FindComponent(comp);
            if (!object)
                continue; // left to the rows of missing components
            const bool classKind = kind == stFonts || kind == stCharSets || kind == stMultiLines;
            auto allowed = [&](const rtl::TPropInfo *p) {
                if (kind == stCollections)
                    return true;
                return classKind ? p->Kind() == rtl::tkClass : rtl::tkStrings.Contains(p->Kind());
            };
            const size_t dot = prop.find('.');
            bool keep;
            if (dot == std::string::npos) {
                const rtl::TPropInfo *p = rtl::GetPropInfo(object, prop);
                keep = p && allowed(p);
            } else {
                rtl::TObject *holder = ObjectOfProperty(object, prop.substr(0, dot));
                const rtl::TPropInfo *p =
                    holder ? rtl::GetPropInfo(holder, prop.substr(dot + 1)) : nullptr;
                keep = p && allowed(p);
            }
            if (!keep)
                table.Delete(i);
        }
    }
}

void TlxCustomLang::CollectTexts()
{
    if (FLXBLoading || !Owner())
        return;
    const bool raise = FDoRaiseExceptions;
    FDoRaiseExceptions = false;
    struct TRestore {
        TlxCustomLang &L;
        bool Raise;
        ~TRestore()
        {
            L.FDoRaiseExceptions = Raise;
            L.FRemovedRows.reset();
        }
    } restore{*this, raise};

    TCollector collector(*this);
    try {
        collector.OwnerTexts();
        collector.OwnerFont();
        FRemovedRows = std::make_unique<rtl::TStringList>();
        auto collect = [&](int kind, const char *excludedBy) {
            if (excludedBy && FExcludedProperties.IndexOf(excludedBy) >= 0)
                return;
            RemoveObsoleteRows(FTables[kind], kind);
            if (kind == stFonts)
                RemoveObsoleteRows(FTables[stCharSets], stCharSets);
            CollectTableTexts(FTables[kind], kind);
            if (kind == stMultiLines)
                CollectPropertiesLists();
            FRemovedRows->Clear();
        };
        collect(stCaptions, "Caption");
        collect(stHints, "Hint");
        collect(stDisplayLabels, "DisplayLabel");
        if (!FOwnerHasNoFont)
            collect(stFonts, "Font");
        collect(stMultiLines, nullptr);
        collect(stOtherStrings, nullptr);
        collect(stCollections, nullptr);
        RemoveInvalidProperties();
        RefreshExtendedItems();
    } catch (const rtl::Exception &) {
        // The class library's failures end the collection; what was
        // collected stays.
    }
}

} // namespace i18n
