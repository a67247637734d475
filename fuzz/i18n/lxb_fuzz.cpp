// Feeds LXB files to the reader: arbitrary bytes, and (the first byte odd) a
// well-formed file of two forms with bytes of the input written over it, so
// that the directory and the streamed components are reached. A file the
// reader refuses must leave the component exactly as it was; one it takes
// must leave a component that switches languages and answers look-ups.
#include "i18n/lx_comp.h"
#include "i18n/lx_linked.h"
#include "i18n/lx_lxb.h"

#include "i18n/base/lx_languages.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"
#include "tests/golden/sample_form.h"

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>

namespace {

using sample::MakeLang;
using sample::TfrmSample;

std::string Row(const std::string &key, const std::string &text, int languages)
{
    std::string row = key + '\x01';
    for (int n = 1; n <= languages; ++n)
        row += text + std::to_string(n) + '\x01';
    return row;
}

// A file with a TlxLang and a TlxLangLinked for the fuzzing form, with rows
// in several tables and an extended item.
const std::string &Sample()
{
    static const std::string sample = [] {
        TfrmSample a, b;
        auto *main = MakeLang<i18n::TlxLang>(&a, 3);
        auto *linked = MakeLang<i18n::TlxLangLinked>(&b, 3);
        for (i18n::TlxCustomLang *lang : {static_cast<i18n::TlxCustomLang *>(main),
                                          static_cast<i18n::TlxCustomLang *>(linked)}) {
            lang->Captions().Add(Row("TfrmSample", "Form", 3));
            lang->Captions().Add(Row("Label1", "Label", 3));
            lang->Strings().Add(Row("IDS_1", "Text", 3));
            lang->Collections().Add(Row("Bar.Panels[0].Text", "Panel", 3));
            i18n::TlxExtendedItem &item = lang->ExtendedTranslations().Add();
            item.SetIdentifier("Label1.Hint");
            item.SetValues("a\x01"
                           "b\x01"
                           "c\x01");
        }
        rtl::TStringList fixed;
        fixed.Add("Second");
        rtl::TMemoryStream out;
        i18n::WriteLXB(out, fixed, {{"TfrmSample", main}, {"TfrmSample", linked}});
        return std::string(out.Bytes().begin(), out.Bytes().end());
    }();
    return sample;
}

std::string Snapshot(i18n::TlxCustomLang &lang)
{
    return lang.TranslationDataBytes() + '|' + lang.LangNames().Text() + '|' +
           std::to_string(lang.NumOfLanguages()) + '|' +
           std::to_string(lang.ExtendedTranslations().Count());
}

template <class L> void Load(const std::string &file)
{
    TfrmSample form;
    L *lang = MakeLang<L>(&form, 2);
    lang->Captions().Add(Row("Label1", "mine", 2));
    const std::string before = Snapshot(*lang);
    rtl::TMemoryStream stream;
    stream.WriteBuffer(file.data(), static_cast<int64_t>(file.size()));
    i18n::TLXBFileManager manager;
    try {
        manager.LoadFromStream(*lang, "TfrmSample", stream);
    } catch (const rtl::Exception &) {
        if (Snapshot(*lang) != before || lang->LXBLoading() || lang->ComponentCount() != 0)
            __builtin_trap();
        return;
    }
    lang->RebuildIndexes();
    for (int n = 1; n <= lang->NumOfLanguages() && n <= i18n::kLanguageCount; ++n) {
        lang->SetActiveLanguage(n);
        lang->GetStringById("IDS_1");
        lang->LookupTableText(lang->Captions(), "Label1", true);
    }
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    std::string file;
    if (size > 0 && (data[0] & 1)) {
        // Pairs of (position, byte) written over the sample.
        file = Sample();
        for (size_t i = 1; i + 2 < size; i += 3) {
            const size_t at = (size_t(data[i]) << 8 | data[i + 1]) % file.size();
            file[at] = static_cast<char>(data[i + 2]);
        }
        if (size % 7 == 0)
            file.resize(file.size() * data[size - 1] / 256);
    } else {
        file.assign(reinterpret_cast<const char *>(data), size);
    }
    Load<i18n::TlxLang>(file);
    Load<i18n::TlxLangLinked>(file);
    return 0;
}
