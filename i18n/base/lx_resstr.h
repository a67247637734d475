// The program's resource strings (rtl::LoadResString) translated by a
// translation component: the first component loaded with
// HandleResourceStrings on takes them over and answers each by its text in
// ResourceLanguageIndex, giving that row's text in the active language. This
// piece knows which component holds them and sends every look-up to it; the
// component's answer is its own (lx_comp_lookup.cpp).
#pragma once

#include "platform/rtl/sysutils.h"

#include <string>

namespace i18n {

class TlxCustomLang;

// The component that translates the resource strings; nullptr when none.
TlxCustomLang *ResourceStringOwner();

// How the owner translates the resource string rec whose text is text: the
// translation, empty when it has none.
using TResStringTranslator = std::string (*)(TlxCustomLang &owner, const rtl::TResStringRec &rec,
                                             const std::string &text);
// owner takes the resource strings over: from now on every
// rtl::LoadResString answers through translate (TranslatedResString).
void SetResourceStringOwner(TlxCustomLang *owner, TResStringTranslator translate);
// owner gives them back, and they read as written again; nothing when owner
// does not hold them.
void ClearResourceStringOwner(const TlxCustomLang *owner);

// Resource strings numbered up to this limit are first looked up as the
// string id "IDS_RES_" and the number; 0 (the default): none are.
int ResourceIdLimit();
void SetResourceIdLimit(int limit);

// The text of rec in the owner's active language: the loaded text unless a
// translation for it is found.
std::string TranslatedResString(const rtl::TResStringRec &rec);

// The engine's own message for a missing string id, as a resource string.
extern const rtl::TResStringRec SStringIdNotFound;

} // namespace i18n
