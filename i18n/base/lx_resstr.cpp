#include "i18n/base/lx_resstr.h"

namespace i18n {

namespace {
TlxCustomLang *gOwner = nullptr;
TResStringTranslator gTranslate = nullptr;
int gResourceIdLimit = 0;
} // namespace

const rtl::TResStringRec SStringIdNotFound = {64000, "String identifier \"%s\" not found!"};

TlxCustomLang *ResourceStringOwner()
{
    return gOwner;
}

void SetResourceStringOwner(TlxCustomLang *owner, TResStringTranslator translate)
{
    gOwner = owner;
    gTranslate = translate;
    rtl::RedirectResStrings(&TranslatedResString);
}

void ClearResourceStringOwner(const TlxCustomLang *owner)
{
    if (gOwner != owner)
        return;
    gOwner = nullptr;
    gTranslate = nullptr;
    rtl::RedirectResStrings(nullptr);
}

int ResourceIdLimit()
{
    return gResourceIdLimit;
}

void SetResourceIdLimit(int limit)
{
    gResourceIdLimit = limit;
}

std::string TranslatedResString(const rtl::TResStringRec &rec)
{
    std::string text = rec.Text ? rec.Text : "";
    if (!gOwner || !gTranslate)
        return text;
    const std::string translated = gTranslate(*gOwner, rec, text);
    return translated.empty() ? text : translated;
}

} // namespace i18n
