#include "i18n/lx_resstr.h"

#include "i18n/lx_comp.h"

namespace i18n {

namespace {
TlxCustomLang *gOwner = nullptr;
int gResourceIdLimit = 0;
} // namespace

const rtl::TResStringRec SStringIdNotFound = {64000, "String identifier \"%s\" not found!"};

TlxCustomLang *ResourceStringOwner()
{
    return gOwner;
}

int ResourceIdLimit()
{
    return gResourceIdLimit;
}

void SetResourceIdLimit(int limit)
{
    gResourceIdLimit = limit;
}

void TlxCustomLang::TakeResourceStrings()
{
    gOwner = this;
    FIndexDirty = true;
    rtl::RedirectResStrings(&TranslatedResString);
}

void TlxCustomLang::ReleaseResourceStrings()
{
    if (gOwner != this)
        return;
    gOwner = nullptr;
    rtl::RedirectResStrings(nullptr);
}

std::string TranslatedResString(const rtl::TResStringRec &rec)
{
    std::string text = rec.Text ? rec.Text : "";
    TlxCustomLang *owner = gOwner;
    if (!owner || owner->ResourceLanguageIndex() == owner->ActiveLanguage())
        return text;
    std::string translated;
    if (gResourceIdLimit != 0 && gResourceIdLimit >= rec.Identifier) {
        try {
            translated = owner->LookupTableText(owner->Strings(),
                                                "IDS_RES_" + std::to_string(rec.Identifier), false);
        } catch (const ELanguageError &) {
            // A missing id is no translation.
        }
    }
    if (translated.empty())
        translated = owner->ResourceIndex().FindByText(text, owner->ActiveLanguage());
    return translated.empty() ? text : translated;
}

} // namespace i18n
