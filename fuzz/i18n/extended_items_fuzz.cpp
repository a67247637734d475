// Feeds arbitrary bytes to the stored form of a translation component's
// extended items on the sample form (the one the golden vectors are written
// for), in three ways: as a whole stored property stream, as the "ValuesEx" of
// an item inside a well-formed stream, and as an item's path and values. The
// component must never crash, and what it stores must read back.
#include "i18n/lx_linked.h"

#include "i18n/base/lx_languages.h"
#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "tests/golden/sample_form.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

std::string Bytes(const rtl::TMemoryStream &s)
{
    return std::string(s.Bytes().begin(), s.Bytes().end());
}

std::string Store(rtl::TPersistent &object)
{
    rtl::TMemoryStream s;
    rtl::TWriter w(s);
    w.WriteProperties(object);
    w.WriteListEnd();
    return Bytes(s);
}

bool Read(rtl::TPersistent &object, const std::string &bytes, rtl::TComponent *root)
{
    rtl::TMemoryStream s;
    s.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    s.SetPosition(0);
    try {
        rtl::TReader r(s, root);
        r.ReadProperties(object);
        return true;
    } catch (const rtl::Exception &) {
        return false;
    }
}

// Switches through the languages, refreshes, stores and reads back.
void Exercise(rtl::TComponent &form, i18n::TlxLangLinked &lang)
{
    for (int n = std::min(lang.NumOfLanguages(), i18n::kLanguageCount); n >= 1; --n)
        lang.SetActiveLanguage(n);
    lang.RefreshExtendedItems();
    const std::string stored = Store(lang);
    auto *back = new i18n::TlxLangLinked(nullptr);
    back->Loading();
    if (!Read(*back, stored, &form))
        __builtin_trap(); // what was written must read back
    back->Loaded();
    if (back->ExtendedTranslations().Count() != lang.ExtendedTranslations().Count())
        __builtin_trap();
    delete back;
}

// Reads the bytes into a fresh component in one of the three ways, then
// exercises it.
void Load(const std::string &bytes, int languages, int way)
{
    sample::TfrmSample form;
    auto *lang = new i18n::TlxLangLinked(&form);
    lang->Loading();
    lang->SetNumOfLanguages(languages);
    switch (way) {
    case 0: // a whole stored stream
        Read(*lang, bytes, &form);
        break;
    case 1: { // the ValuesEx of an item in a well-formed stream
        rtl::TMemoryStream s;
        rtl::TWriter w(s);
        w.WriteStr("ExtendedTranslations");
        w.WriteValue(rtl::vaCollection);
        w.WriteListBegin();
        w.WriteStr("Identifier");
        w.WriteString("Box1.Caption");
        w.WriteStr("ValuesEx");
        w.WriteBinary(bytes);
        w.WriteListEnd();
        w.WriteListEnd();
        w.WriteListEnd();
        Read(*lang, Bytes(s), &form);
        break;
    }
    default: { // an item's path and values
        const size_t cut = bytes.find('\n');
        i18n::TlxExtendedItem &item = lang->ExtendedTranslations().Add();
        item.SetIdentifier(bytes.substr(0, cut));
        item.SetValues(cut == std::string::npos ? std::string() : bytes.substr(cut + 1));
        break;
    }
    }
    try {
        lang->Loaded();
    } catch (const rtl::Exception &) {
        // A language count read from the stream may be refused.
        return;
    }
    Exercise(form, *lang);
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    const std::string bytes(reinterpret_cast<const char *>(data), size);
    const int languages = 1 + static_cast<int>(size % 4);
    for (int way = 0; way < 3; ++way)
        Load(bytes, languages, way);
    return 0;
}
