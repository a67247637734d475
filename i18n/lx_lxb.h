// LXB translation files read into translation components and written from
// them. A LXB file holds the components of several forms; its layout is in
// base/lx_lxbfile.h.
//
// TLXBFileManager reads such a file and copies one form's tables into a
// live translation component; WriteLXB makes one (the program writes none).
#pragma once

#include "i18n/base/lx_lxbfile.h"

#include "platform/rtl/object.h"
#include "platform/rtl/strings.h"

#include <string>
#include <vector>

namespace rtl {
class TComponent;
class TStream;
} // namespace rtl

namespace i18n {

class TlxCustomLang;

class TLXBFileManager : public rtl::TPersistent {
    RTL_DECLARE_CLASS(TLXBFileManager)
public:
    TLXBFileManager();
    ~TLXBFileManager() override;
    TLXBFileManager(const TLXBFileManager &) = delete;
    TLXBFileManager &operator=(const TLXBFileManager &) = delete;

    // The 42 bytes a file must start with, the zero byte included.
    const std::string &Header() const { return FHeader; }
    // The fixed languages of the last file read (sorted, duplicates kept).
    rtl::TStringList &FixedLanguages() { return FFixedLanguages; }
    rtl::TStringList &OwnerNames() { return FOwnerNames; }
    const std::u16string &CommentsFileName() const { return FCommentsFileName; }
    void SetCommentsFileName(const std::u16string &name) { FCommentsFileName = name; }

    // Components the manager holds; those without an owner are its own.
    const std::vector<rtl::TComponent *> &Components() const { return FComponents; }
    void HoldComponent(rtl::TComponent *component) { FComponents.push_back(component); }
    void ClearComponents();

    // Opens the file and reads it (LoadFromStream). A file that cannot be
    // opened raises rtl::EFOpenError.
    bool LoadComponent(TlxCustomLang &target, const std::string &ownerClassName,
                       const std::string &fileName);
    // Copies the tables, language names and extended items of the
    // component the file stores for the form class ownerClassName
    // (case-sensitive; the first of the same name) into target. False when
    // the file holds no such form. Raises "Unrecognized stream format!" for
    // a file that is no LXB file, and rtl::EReadError for one that is cut
    // short or damaged (a length or an offset beyond the file, a component
    // of another class, an unknown property); target is unchanged then.
    bool LoadFromStream(TlxCustomLang &target, const std::string &ownerClassName,
                        rtl::TStream &stream);
    // Reads the file into a temporary component of target's class and gives
    // target that component's table of one kind; target's other tables stay.
    bool LoadSection(int type, const std::string &fileName, const std::string &ownerClassName,
                     TlxCustomLang &target);

    // The language names of the component the file stores for the form
    // class (none when it holds no such form).
    void LoadLanguageNames(const std::string &fileName, const std::string &ownerClassName,
                           const TlxCustomLang &like, rtl::TStrings &names);

protected:
    void AssignTo(rtl::TPersistent &dest) const override;

private:
    rtl::TStringList FOwnerNames;
    std::vector<rtl::TComponent *> FComponents;
    rtl::TStringList FFixedLanguages;
    std::string FHeader;
    std::u16string FCommentsFileName;
};

// One form of a LXB file: its class name and its translation component.
struct TLXBForm {
    std::string ClassName;
    TlxCustomLang *Lang = nullptr;
};

// Writes a LXB file of the forms, in their order, at the stream's position
// (offsets count from there).
void WriteLXB(rtl::TStream &stream, const rtl::TStrings &fixedLanguages,
              const std::vector<TLXBForm> &forms);

} // namespace i18n
