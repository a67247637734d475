#include "i18n/lx_formstorage.h"

#include "platform/rtl/exceptions.h"
#include "platform/rtl/typinfo.h"

namespace i18n {

RTL_IMPLEMENT_PUBLISHED_CLASS(TlxFormStorage, rtl::TComponent)
{
    using S = TlxFormStorage;
    P.Boolean(
        "Active", [](S &s) { return s.Active(); }, [](S &s, bool v) { s.SetActive(v); });
    P.String(
        "SubKey", "string", [](S &s) { return s.SubKey(); },
        [](S &s, const std::string &v) { s.SetSubKey(v); });
    P.Enumeration<TMyHKeyType>(
        "RegRootKey", "TMyHKeyType",
        {"lxHKEY_CURRENT_USER", "lxHKEY_CLASSES_ROOT", "lxHKEY_LOCAL_MACHINE", "lxHKEY_USERS",
         "lxHKEY_CURRENT_CONFIG", "lxHKEY_DYN_DATA"},
        [](S &s) { return s.RegRootKey(); }, [](S &s, TMyHKeyType v) { s.SetRegRootKey(v); });
}

namespace {

const char *const kBounds[4] = {"Top", "Left", "Height", "Width"};

// The form's placement as its published properties give it.
struct TPlacement {
    int Bounds[4] = {}; // in the order of kBounds
    std::string State;  // "wsNormal", "wsMinimized", "wsMaximized"
};

bool IsForm(const rtl::TComponent *component)
{
    return component && component->InheritsFrom(std::string("TForm"));
}

TPlacement ReadPlacement(rtl::TComponent *form)
{
    TPlacement p;
    for (int i = 0; i < 4; ++i)
        p.Bounds[i] = static_cast<int>(rtl::GetOrdProp(form, kBounds[i]));
    p.State = rtl::GetEnumProp(form, "WindowState");
    return p;
}

void SetBounds(rtl::TComponent *form, const int bounds[4])
{
    for (int i = 0; i < 4; ++i)
        rtl::SetOrdProp(form, kBounds[i], bounds[i]);
}

void WritePlacement(rtl::TComponent *form, const TPlacement &p)
{
    SetBounds(form, p.Bounds);
    rtl::SetEnumProp(form, "WindowState", p.State);
}

} // namespace

rtl::HKEY RootKeyOf(TMyHKeyType choice)
{
    switch (choice) {
    case lxHKEY_CLASSES_ROOT:
        return rtl::HKEY_CLASSES_ROOT;
    case lxHKEY_LOCAL_MACHINE:
        return rtl::HKEY_LOCAL_MACHINE;
    case lxHKEY_USERS:
        return rtl::HKEY_USERS;
    case lxHKEY_CURRENT_CONFIG:
        return rtl::HKEY_CURRENT_CONFIG;
    case lxHKEY_DYN_DATA:
        return rtl::HKEY_DYN_DATA;
    case lxHKEY_CURRENT_USER:
        break;
    }
    return rtl::HKEY_CURRENT_USER;
}

TlxFormStorage::TlxFormStorage(rtl::TComponent *owner) : rtl::TComponent(owner)
{
    if (owner && !IsForm(owner))
        throw rtl::EInvalidCast("Invalid class typecast");
    FForm = owner;
}

TlxFormStorage::~TlxFormStorage()
{
    try {
        SavePlacement();
    } catch (const rtl::Exception &) {
        // A placement that cannot be stored is lost; the form goes anyway.
    }
}

void TlxFormStorage::Notification(rtl::TComponent *component, rtl::TOperation operation)
{
    rtl::TComponent::Notification(component, operation);
    if (operation == rtl::opRemove && component == FForm)
        FForm = nullptr;
}

void TlxFormStorage::SetSubKey(const std::string &subKey)
{
    if (subKey != FSubKey)
        FSubKey = subKey;
}

void TlxFormStorage::SetRegRootKey(TMyHKeyType choice)
{
    if (choice == FRegRootKey)
        return;
    FRegRootKey = choice;
    FRootKey = RootKeyOf(choice);
}

bool TlxFormStorage::Working() const
{
    // While the form itself is torn down its properties are gone.
    return FActive && !HasState(rtl::csDesigning) && FForm && IsForm(FForm);
}

void TlxFormStorage::Loaded()
{
    rtl::TComponent::Loaded();
    RestorePlacement();
}

void TlxFormStorage::SavePlacement()
{
    if (!Working())
        return;
    TPlacement p;
    try {
        p = ReadPlacement(FForm);
    } catch (const rtl::EPropertyError &) {
        return; // not a form whose placement can be read
    }
    rtl::TRegistry reg;
    reg.SetRootKey(FRootKey);
    if (!reg.OpenKey(FSubKey, true))
        return;
    if (p.State == "wsMaximized")
        reg.WriteString("State", "Maximized");
    else if (p.State == "wsMinimized")
        reg.WriteString("State", "Minimized");
    else
        reg.WriteString("State", "Normal");
    if (p.State != "wsMaximized" && p.State != "wsMinimized")
        for (int i = 0; i < 4; ++i)
            reg.WriteInteger(kBounds[i], p.Bounds[i]);
    reg.CloseKey();
}

void TlxFormStorage::RestorePlacement()
{
    if (!Working())
        return;
    TPlacement before;
    try {
        before = ReadPlacement(FForm);
    } catch (const rtl::EPropertyError &) {
        return;
    }
    try {
        rtl::TRegistry reg;
        reg.SetRootKey(FRootKey);
        if (!reg.OpenKey(FSubKey, true))
            return;
        const std::string state = reg.ReadString("State");
        if (state.empty())
            return;
        // The third letter tells the states apart: "Minimized", "Normal",
        // "Maximized". A shorter text tells nothing.
        const char third = state.size() >= 3 ? state[2] : '\0';
        if (third == 'n') {
            rtl::SetEnumProp(FForm, "WindowState", "wsMinimized");
            return;
        }
        if (third == 'x') {
            rtl::SetEnumProp(FForm, "WindowState", "wsMaximized");
            return;
        }
        // Bounds only when all four are stored as numbers.
        int bounds[4];
        for (int i = 0; i < 4; ++i) {
            if (reg.GetDataType(kBounds[i]) != rtl::rdInteger)
                return;
            bounds[i] = reg.ReadInteger(kBounds[i]);
        }
        SetBounds(FForm, bounds);
        if (third == 'r')
            rtl::SetEnumProp(FForm, "WindowState", "wsNormal");
    } catch (const rtl::Exception &) {
        try {
            WritePlacement(FForm, before);
        } catch (const rtl::Exception &) {
        }
    }
}

} // namespace i18n
