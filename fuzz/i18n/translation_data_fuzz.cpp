// Feeds arbitrary bytes to the "TranslationData" reader of both translation
// component variants on the sample form (the one the golden vectors are
// written for), then exercises what a window does with the tables: writing
// them back, re-reading the written form, switching languages and looking up
// string ids.
#include "i18n/base/lx_languages.h"
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "tests/golden/sample_form.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

template <class L> void Exercise(const std::string &bytes, int languages)
{
    sample::TfrmSample owner;
    auto *lang = new L(&owner);
    lang->Loading();
    lang->SetNumOfLanguages(languages);
    lang->ReadTranslationData(bytes);
    lang->Loaded();
    const std::string written = lang->TranslationDataBytes();
    lang->ReadTranslationData(written);
    // The written form reads back to the same rows (rows keyed by the owner's
    // class name may change places among themselves).
    if (lang->TranslationDataBytes().size() != written.size())
        __builtin_trap();
    for (int n = 1; n <= languages; ++n) {
        lang->SetActiveLanguage(n);
        lang->GetStringById("IDS_1");
        lang->GetStringByIdExact("ids_2");
        lang->LookupTableText(lang->Captions(), "Label1", true);
    }
    lang->SetNumOfLanguages(1);
    lang->GetStringById("IDS_1");
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const int languages = size > 0 ? 1 + data[0] % i18n::kLanguageCount : 1;
    Exercise<i18n::TlxLangLinked>(bytes, languages);
    Exercise<i18n::TlxLang>(bytes, languages);
    return 0;
}
