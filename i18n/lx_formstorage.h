// TlxFormStorage: keeps the placement of the form that owns it in the
// registry. It stores the window state and, for a normal window, its
// bounds when it is destroyed, and restores them when the form has been
// loaded.
//
// The form is reached through its published properties "Left", "Top",
// "Width", "Height" (integers) and "WindowState" (an enumeration whose
// values are named "wsNormal", "wsMinimized" and "wsMaximized"); a form
// without one of them is left as it is.
//
// Registry values under SubKey: "State" ("Normal", "Minimized" or
// "Maximized"), "Top", "Left", "Height", "Width" (integers, pixels).
#pragma once

#include "platform/rtl/classes.h"
#include "platform/rtl/registry.h"

#include <string>

namespace i18n {

enum TMyHKeyType {
    lxHKEY_CURRENT_USER,
    lxHKEY_CLASSES_ROOT,
    lxHKEY_LOCAL_MACHINE,
    lxHKEY_USERS,
    lxHKEY_CURRENT_CONFIG,
    lxHKEY_DYN_DATA,
};

// The root key a choice stands for.
rtl::HKEY RootKeyOf(TMyHKeyType choice);

class TlxFormStorage : public rtl::TComponent {
    RTL_DECLARE_CLASS(TlxFormStorage)
public:
    // The owner must be a form (rtl::EInvalidCast "Invalid class typecast"
    // otherwise). Without an owner there is no form, and saving and
    // restoring do nothing.
    explicit TlxFormStorage(rtl::TComponent *owner);
    // Saves the placement (registry failures are not passed on).
    ~TlxFormStorage() override;

    bool Active() const { return FActive; }
    void SetActive(bool active) { FActive = active; }
    const std::string &SubKey() const { return FSubKey; }
    void SetSubKey(const std::string &subKey);
    TMyHKeyType RegRootKey() const { return FRegRootKey; }
    void SetRegRootKey(TMyHKeyType choice);
    rtl::HKEY RootKey() const { return FRootKey; }
    rtl::TComponent *Form() const { return FForm; }

    // Restores the placement once the form is loaded.
    void Loaded() override;

    // Writes "State", and for a normal window its bounds. Nothing when not
    // Active, at design time, without a form, or when the key cannot be
    // opened; registry write failures raise ERegistryError.
    void SavePlacement();
    // Reads them back. "Maximized" or "Minimized" set only the window state
    // and keep the bounds the form has; "Normal" sets the bounds and the
    // state only when all four bounds are stored. A state that tells
    // nothing, missing or damaged values, and any failure leave the form as
    // it was.
    void RestorePlacement();

protected:
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    bool Working() const;

    bool FActive = true;
    std::string FSubKey;
    TMyHKeyType FRegRootKey = lxHKEY_CURRENT_USER;
    rtl::HKEY FRootKey = rtl::HKEY_CURRENT_USER;
    rtl::TComponent *FForm = nullptr;
};

} // namespace i18n
