// Feeds ini-form translation files to a component on the sample form (the one
// the golden vectors are written for): read whole, written back and read again
// by a fresh one, and single sections read again on top of that. Any bytes must
// leave components that switch languages and answer look-ups.
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"

#include "i18n/base/lx_languages.h"
#include "platform/rtl/streams.h"
#include "tests/golden/sample_form.h"

#include <cstddef>
#include <cstdint>
#include <string>

namespace {

using sample::MakeLang;
using sample::TfrmSample;

void Exercise(i18n::TlxCustomLang &lang)
{
    for (int n = 1; n <= lang.NumOfLanguages() && n <= i18n::kLanguageCount; ++n) {
        lang.SetActiveLanguage(n);
        lang.GetStringById("IDS_1");
        lang.LookupTableText(lang.Captions(), "Label1", true);
    }
}

rtl::TMemoryStream StreamOf(const std::string &bytes)
{
    rtl::TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    return s;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string text(reinterpret_cast<const char *>(data), size);
    TfrmSample form;
    i18n::TlxLang *lang =
        MakeLang<i18n::TlxLang>(&form, size > 0 ? 1 + data[0] % i18n::kLanguageCount : 1);
    rtl::TMemoryStream in = StreamOf(text);
    lang->ReadIniStream(in, size % 2 == 0, false);
    Exercise(*lang);

    rtl::TMemoryStream out;
    lang->WriteIniStream(out, "~!@#");
    TfrmSample again;
    i18n::TlxLang *copy = MakeLang<i18n::TlxLang>(&again, 2);
    copy->ReadIniStream(out, true, false);
    Exercise(*copy);

    rtl::TMemoryStream one = StreamOf(text);
    copy->ReadIniSection(i18n::stCaptions, one, false);
    copy->ReadIniSection(i18n::stStrings, one, false);
    copy->ReadIniSection(i18n::stCollections, one, true);
    Exercise(*copy);
    return 0;
}
