// Extended items: translations of any published property of a form, its
// components and the objects they hold, addressed by a path such as
// "Chart1.Title.Text", "Grid1.Columns[2].Caption" or "TfrmMain.Tag". The
// translation component keeps them in its published ExtendedTranslations
// collection and applies them after (or before) its tables; the items know
// it only as the component whose owner, the form, their paths start at.
#pragma once

#include "platform/rtl/classes.h"

#include <cstdint>
#include <string>

namespace rtl {
class TComponent;
class TFiler;
class TObject;
class TPropInfo;
class TStream;
} // namespace rtl

namespace i18n {

// One translated property. Published: Identifier, PropertyType, Values (the
// texts of every language, each followed by the component's delimiter) and
// IsRoot; stored beside them, the binary "ValuesEx" (the bytes of Values).
class TlxExtendedItem : public rtl::TCollectionItem {
    RTL_DECLARE_CLASS(TlxExtendedItem)
public:
    explicit TlxExtendedItem(rtl::TCollection *collection = nullptr);

    // The path; with a bound component, that component's current name (the
    // form's class name for the form) followed by the stored path from its
    // first ".".
    std::string Identifier() const;
    void SetIdentifier(const std::string &identifier);
    // The type kind of the property (tkClass for a string list).
    rtl::TTypeKind PropertyType() const { return FPropertyType; }
    void SetPropertyType(rtl::TTypeKind kind) { FPropertyType = kind; }
    const std::string &Values() const { return FValues; }
    void SetValues(const std::string &values);
    // The path starts at the form's class name.
    bool IsRoot() const;

    // The component the path starts with, while bound (nullptr: none).
    rtl::TComponent *Component() const { return FComponent; }
    void SetComponent(rtl::TComponent *component) { FComponent = component; }
    // The values as UTF-16 when the stored "ValuesEx" held them so.
    bool HasWideValues() const { return FHasWideValues; }
    const std::u16string &WideValues() const { return FWideValues; }

    // "ValuesEx": written as the bytes of Values. Read: bytes holding a zero
    // byte, at least 4 of them and an even count after the first 4, are
    // UTF-16LE after those 4 (the wide copy; Values becomes its system code
    // page text); anything else is 8-bit Values.
    void ReadValuesEx(rtl::TStream &stream);
    void WriteValuesEx(rtl::TStream &stream) const;
    void DefineProperties(rtl::TFiler &filer) override;

    void Assign(const rtl::TPersistent &source) override;

protected:
    std::string GetDisplayName() const override;

private:
    rtl::TComponent *Lang() const;

    std::string FIdentifier;
    rtl::TTypeKind FPropertyType = rtl::tkUnknown;
    std::string FValues;
    rtl::TComponent *FComponent = nullptr;
    std::u16string FWideValues;
    bool FHasWideValues = false;
};

class TlxExtendedItems : public rtl::TCollection {
    RTL_DECLARE_CLASS(TlxExtendedItems)
public:
    // owner: the translation component the items belong to.
    explicit TlxExtendedItems(rtl::TComponent *owner = nullptr);

    TlxExtendedItem &Add();
    TlxExtendedItem &Items(int i) const;
    // The item whose identifier equals identifier (ignoring case); nullptr.
    TlxExtendedItem *FindByIdentifier(const std::string &identifier) const;
    rtl::TComponent *Lang() const { return FLang; }

private:
    rtl::TComponent *FLang;
};

// The object that holds the last property of a path that starts at form
// (named by its class name) or one of its components; nullptr when form is
// none or a step does not resolve.
rtl::TObject *ResolveExtendedPath(rtl::TComponent *form, const std::string &identifier);
// The readable property the path's last step names on object (as
// ResolveExtendedPath gave it); nullptr when there is none.
const rtl::TPropInfo *ExtendedPathProperty(rtl::TObject *object, const std::string &identifier);

} // namespace i18n
