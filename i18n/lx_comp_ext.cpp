// The extended items of a translation component: the values of the
// properties their paths name, read and written in the component's storage
// and charsets; the items applied, refreshed from the form and bound to its
// components.
#include "i18n/lx_comp.h"

#include "i18n/base/lx_ext.h"
#include "i18n/base/lx_rows.h"

#include "platform/rtl/codepage.h"
#include "platform/rtl/numbers.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

#include <charconv>
#include <exception>

namespace i18n {

namespace {

// A decimal integer of the full 64-bit range, blanks around allowed.
bool ParseInt64(const std::string &text, int64_t &value)
{
    const std::string t = rtl::Trim(text);
    const char *first = t.data();
    if (!t.empty() && t[0] == '+')
        ++first;
    const auto [end, ec] = std::from_chars(first, t.data() + t.size(), value);
    return ec == std::errc() && end == t.data() + t.size() && first != end;
}

} // namespace

void TlxCustomLang::SetExtendedTranslations(const TlxExtendedItems &items)
{
    if (&items != &FExtendedTranslations)
        FExtendedTranslations.Assign(items);
}

rtl::TObject *TlxCustomLang::ResolvePath(const std::string &identifier)
{
    return ResolveExtendedPath(Owner(), identifier);
}

rtl::TTypeKind TlxCustomLang::PropertyKindOf(const std::string &identifier)
{
    rtl::TObject *object = ResolvePath(identifier);
    const rtl::TPropInfo *p = ExtendedPathProperty(object, identifier);
    if (!p)
        return rtl::tkUnknown;
    if (p->Kind() != rtl::tkClass)
        return p->Kind();
    try {
        return dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(object, p)) ? rtl::tkClass
                                                                            : rtl::tkUnknown;
    } catch (const std::exception &) {
        return rtl::tkUnknown;
    }
}

std::string TlxCustomLang::GetPathPropertyText(const std::string &identifier)
{
    rtl::TObject *object = ResolvePath(identifier);
    const rtl::TPropInfo *p = ExtendedPathProperty(object, identifier);
    if (!p)
        return {};
    try {
        switch (p->Kind()) {
        case rtl::tkInteger:
        case rtl::tkInt64:
            return rtl::IntToStr(rtl::GetOrdProp(object, p));
        case rtl::tkChar:
            return std::string(1, static_cast<char>(rtl::GetOrdProp(object, p)));
        case rtl::tkWChar:
            return ToStorage(
                WideToCharset(std::u16string(1, static_cast<char16_t>(rtl::GetOrdProp(object, p))),
                              FActiveCharset),
                FActiveCharset);
        case rtl::tkEnumeration:
            return rtl::GetEnumProp(object, p);
        case rtl::tkFloat:
            return rtl::FloatToStr(rtl::GetFloatProp(object, p));
        case rtl::tkSet:
            return rtl::GetSetProp(object, p);
        case rtl::tkClass: {
            auto *list = dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(object, p));
            return list ? list->CommaText() : std::string();
        }
        default:
            break;
        }
        if (rtl::tkStrings.Contains(p->Kind()))
            return GetStringPropertyText(object, p->Name());
    } catch (const std::exception &) {
    }
    return {};
}

void TlxCustomLang::SetPathPropertyText(const std::string &identifier, const std::string &text)
{
    rtl::TObject *object = ResolvePath(identifier);
    const rtl::TPropInfo *p = ExtendedPathProperty(object, identifier);
    if (!p)
        return;
    try {
        switch (p->Kind()) {
        case rtl::tkInteger: {
            int value = 0;
            if (rtl::TryStrToInt(text, value))
                rtl::SetOrdProp(object, p, value);
            return;
        }
        case rtl::tkInt64: {
            int64_t value = 0;
            if (ParseInt64(text, value))
                rtl::SetOrdProp(object, p, value);
            return;
        }
        case rtl::tkChar:
            if (!text.empty())
                rtl::SetOrdProp(object, p, static_cast<unsigned char>(text[0]));
            return;
        case rtl::tkEnumeration:
            rtl::SetEnumProp(object, p, rtl::Trim(text));
            return;
        case rtl::tkFloat: {
            double value = 0;
            if (rtl::TryStrToFloat(text, value))
                rtl::SetFloatProp(object, p, value);
            return;
        }
        case rtl::tkSet:
            rtl::SetSetProp(object, p, text);
            return;
        case rtl::tkClass: {
            auto *list = dynamic_cast<rtl::TStrings *>(rtl::GetObjectProp(object, p));
            if (!list)
                return;
            rtl::TStringList fresh;
            fresh.SetCommaText(text);
            for (int i = 0; i < fresh.Count(); ++i) {
                if (i < list->Count())
                    list->Put(i, fresh.Strings(i));
                else
                    list->Add(fresh.Strings(i));
            }
            while (list->Count() > fresh.Count())
                list->Delete(list->Count() - 1);
            return;
        }
        default:
            break;
        }
        if (rtl::tkStrings.Contains(p->Kind()) || p->Kind() == rtl::tkWChar) {
            const std::string plain = FromStorage(text, FActiveCharset);
            if (p->Kind() == rtl::tkWChar) {
                const std::u16string wide = CharsetToWide(plain, FActiveCharset);
                if (!wide.empty())
                    rtl::SetOrdProp(object, p, wide[0]);
            } else if (FStoreAsUTF8 && rtl::tkWideStrings.Contains(p->Kind())) {
                rtl::SetWideStrProp(object, p, rtl::Utf8ToWide(text));
            } else {
                AssignTextProperty(object, p, plain);
            }
        }
    } catch (const std::exception &) {
        // A value that does not convert leaves the property as it is.
    }
}

std::string TlxCustomLang::MakeValuesRow(const std::string &text, int n) const
{
    std::string row;
    for (int i = 1; i <= FNumOfLanguages; ++i) {
        if (i == n)
            row += text;
        row += FLangDelim;
    }
    return row;
}

std::string TlxCustomLang::ExtendedTextFor(const std::string &row, int n) const
{
    // The values have no key: language n is field n - 1.
    std::string text = GetEntryField(row, FLangDelim, n - 1);
    if (FUseDefaultLanguage && text.empty() && n != FDefaultLanguage)
        text = GetEntryField(row, FLangDelim, FDefaultLanguage - 1);
    return text;
}

void TlxCustomLang::ApplyExtendedItems()
{
    for (int i = 0; i < FExtendedTranslations.Count(); ++i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        std::string text = ExtendedTextFor(item.Values(), FActiveLanguage);
        if (text.empty() && FActiveLanguage > 1 && TestModeActive())
            text = TestModeText(GetEntryField(item.Values(), FLangDelim, 0));
        if (text.empty() && FTranslateType == ttGetDefault)
            text = GetEntryField(item.Values(), FLangDelim, 0);
        if (!text.empty())
            SetPathPropertyText(item.Identifier(), text);
    }
}

void TlxCustomLang::RefreshExtendedItems()
{
    for (int i = FExtendedTranslations.Count() - 1; i >= 0; --i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        const std::string id = item.Identifier();
        if (!ExtendedPathProperty(ResolvePath(id), id)) {
            FExtendedTranslations.Delete(i);
            continue;
        }
        const std::string current = GetPathPropertyText(id);
        if (current == GetEntryField(item.Values(), FLangDelim, FActiveLanguage - 1))
            continue;
        std::string values;
        for (int n = 1; n <= FNumOfLanguages; ++n) {
            values +=
                n == FActiveLanguage ? current : GetEntryField(item.Values(), FLangDelim, n - 1);
            values += FLangDelim;
        }
        item.SetValues(values);
    }
}

void TlxCustomLang::BindExtendedItems()
{
    rtl::TComponent *owner = Owner();
    for (int i = FExtendedTranslations.Count() - 1; i >= 0; --i) {
        TlxExtendedItem &item = FExtendedTranslations.Items(i);
        const std::string id = item.Identifier();
        const std::string head = id.substr(0, id.find('.'));
        if (rtl::AnsiSameText(head, owner->ClassName()))
            item.SetComponent(owner);
        else if (rtl::TComponent *c = owner->FindComponent(head))
            item.SetComponent(c);
        else
            FExtendedTranslations.Delete(i);
    }
}

} // namespace i18n
