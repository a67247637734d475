// Feeds arbitrary bytes to the stored form of a translation component's
// extended items: as a whole stored property stream, as the "ValuesEx" of an
// item inside a well-formed stream, and as an item's path and values. The
// component must never crash, and what it stores must read back.
#include "i18n/lx_linked.h"

#include "platform/rtl/filer.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/typinfo.h"

#include <algorithm>
#include <cstddef>
#include <cstdint>
#include <string>

namespace {

// A form with a component whose properties the paths may reach.
class TBox : public rtl::TComponent {
    RTL_DECLARE_CLASS(TBox)
public:
    using rtl::TComponent::TComponent;
    std::string Caption;
    int64_t Total = 0;
    rtl::TStringList Lines;
};
RTL_IMPLEMENT_PUBLISHED_CLASS(TBox, rtl::TComponent)
{
    P.String(
        "Caption", "string", [](TBox &b) { return b.Caption; },
        [](TBox &b, const std::string &v) { b.Caption = v; });
    P.Int64(
        "Total", "Int64", [](TBox &b) { return b.Total; }, [](TBox &b, int64_t v) { b.Total = v; });
    P.Object<rtl::TStrings>("Lines", [](TBox &b) { return &b.Lines; });
}

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
    for (int n = std::min(lang.NumOfLanguages(), 8); n >= 1; --n)
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

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t *data, size_t size)
{
    if (size == 0)
        return 0;
    const std::string bytes(reinterpret_cast<const char *>(data) + 1, size - 1);
    rtl::TComponent form;
    auto *box = new TBox(&form);
    box->SetName("Box1");
    auto *lang = new i18n::TlxLangLinked(&form);
    lang->Loading();
    lang->SetNumOfLanguages(1 + data[0] % 4);
    switch (data[0] >> 6) {
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
        return 0;
    }
    Exercise(form, *lang);
    return 0;
}
