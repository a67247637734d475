// The dispatcher of the translation components: the main window owns the one
// TlxLangDispatcher, and every window's component (lx_comp.h) links to it.
//
// All of this runs on the GUI thread only.
#pragma once

#include "i18n/base/lx_testmode.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/strings.h"

#include <functional>
#include <memory>
#include <string>
#include <vector>

namespace i18n {

class TlxCustomLang;
class TLXBFileManager;

// Switches every linked translation component at once.
class TlxLangDispatcher : public rtl::TComponent {
    RTL_DECLARE_CLASS(TlxLangDispatcher)
public:
    explicit TlxLangDispatcher(rtl::TComponent *owner);
    ~TlxLangDispatcher() override;

    int ActiveLanguage() const { return FActiveLanguage; }
    // Outside 1..NumOfLanguages: ELanguageError, nothing changed. Otherwise
    // every linked component is switched, even when one of them fails; the
    // first failure is raised afterwards.
    void SetActiveLanguage(int n);
    int NumOfLanguages() const { return FNumOfLanguages; }
    void SetNumOfLanguages(int n);
    const std::string &Language() const { return FLanguage; }
    void SetLanguage(const std::string &name);
    const rtl::TStringList &LangNames() const { return FLangNames; }
    void SetLangNames(const rtl::TStrings &names);
    const std::string &FileName() const { return FFileName; }
    void SetFileName(const std::string &name) { FFileName = name; }
    int DefaultLanguage() const { return FDefaultLanguage; }
    void SetDefaultLanguage(int n);
    bool UseDefaultLanguage() const { return FUseDefaultLanguage; }
    void SetUseDefaultLanguage(bool b);
    TTestModeInfo &TestModeInfo() { return FTestModeInfo; }
    const TTestModeInfo &TestModeInfo() const { return FTestModeInfo; }
    void SetTestModeInfo(const TTestModeInfo &info) { FTestModeInfo.Assign(info); }
    // The LXB file manager of FileName, made when a component first reads a
    // LXB file while linking; nullptr before.
    TLXBFileManager *LXBManager() const { return FLXBManager.get(); }

    std::function<void(rtl::TObject *sender, TlxCustomLang *lang)> OnLinkToDispatcher;

    // Links lang: it takes the dispatcher's languages and names, then reads
    // the translation file FileName names when there is one, else switches
    // to the active language.
    void LinkComponent(TlxCustomLang *lang);
    void UnlinkComponent(TlxCustomLang *lang);
    bool IsLinked(const TlxCustomLang *lang) const;
    int LinkedCount() const { return static_cast<int>(FLinked.size()); }
    TlxCustomLang *Linked(int i) const { return FLinked.at(static_cast<size_t>(i)); }

protected:
    void Notification(rtl::TComponent *component, rtl::TOperation operation) override;

private:
    // Calls fn for every component linked when the call starts and still
    // linked when its turn comes (fn may unlink or destroy components).
    template <class Fn> void ForEachLinked(Fn fn);

    std::vector<TlxCustomLang *> FLinked;
    int FActiveLanguage = 1;
    int FNumOfLanguages = 1;
    std::string FLanguage;
    rtl::TStringList FLangNames;
    std::string FFileName;
    bool FUseDefaultLanguage = false;
    int FDefaultLanguage = 1;
    TTestModeInfo FTestModeInfo;
    std::unique_ptr<TLXBFileManager> FLXBManager;
};

} // namespace i18n
