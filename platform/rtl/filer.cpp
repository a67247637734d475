#include "platform/rtl/filer.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/codepage.h"
#include "platform/rtl/streams.h"
#include "platform/rtl/strings.h"
#include "platform/rtl/sysutils.h"
#include "platform/rtl/typinfo.h"

#include <cmath>
#include <cstring>

namespace rtl {

namespace {

constexpr int kMaxDepth = 64;

// An x87 extended float (64-bit mantissa with explicit integer bit, 15-bit
// exponent, sign) from and to a double.
void DoubleToExtended(double value, uint8_t out[10])
{
    std::memset(out, 0, 10);
    if (value == 0) {
        out[9] = std::signbit(value) ? 0x80 : 0;
        return;
    }
    uint16_t sign = std::signbit(value) ? 0x8000 : 0;
    if (std::isnan(value) || std::isinf(value)) {
        uint64_t mantissa = std::isnan(value) ? 0xC000000000000000ull : 0x8000000000000000ull;
        std::memcpy(out, &mantissa, 8);
        uint16_t top = sign | 0x7FFF;
        std::memcpy(out + 8, &top, 2);
        return;
    }
    int exponent = 0;
    double fraction = std::frexp(std::fabs(value), &exponent); // [0.5, 1)
    uint64_t mantissa = static_cast<uint64_t>(std::ldexp(fraction, 64));
    int biased = exponent - 1 + 16383;
    if (biased <= 0) { // below the normal range of extended: cannot happen for a double
        biased = 0;
    }
    std::memcpy(out, &mantissa, 8);
    uint16_t top = sign | static_cast<uint16_t>(biased);
    std::memcpy(out + 8, &top, 2);
}

double ExtendedToDouble(const uint8_t in[10])
{
    uint64_t mantissa;
    uint16_t top;
    std::memcpy(&mantissa, in, 8);
    std::memcpy(&top, in + 8, 2);
    const bool negative = top & 0x8000;
    const int biased = top & 0x7FFF;
    double value;
    if (biased == 0x7FFF)
        value = (mantissa << 1) ? NAN : INFINITY;
    else if (mantissa == 0)
        value = 0;
    else
        value = std::ldexp(static_cast<double>(mantissa), biased - 16383 - 63);
    return negative ? -value : value;
}

std::string JoinPath(const std::string &prefix, const std::string &name)
{
    return prefix.empty() ? name : prefix + name;
}

} // namespace

// ---------------------------------------------------------------------------
// Writer

void TWriter::WriteBytes(const void *data, int64_t count)
{
    FStream.WriteBuffer(data, count);
}

void TWriter::WriteValue(TValueType value)
{
    const uint8_t b = value;
    WriteBytes(&b, 1);
}

void TWriter::WriteStr(const std::string &name)
{
    const size_t n = name.size() > 255 ? 255 : name.size();
    const uint8_t len = static_cast<uint8_t>(n);
    WriteBytes(&len, 1);
    WriteBytes(name.data(), static_cast<int64_t>(n));
}

void TWriter::WriteInteger(int64_t value)
{
    if (value >= INT8_MIN && value <= INT8_MAX) {
        WriteValue(vaInt8);
        const int8_t v = static_cast<int8_t>(value);
        WriteBytes(&v, 1);
    } else if (value >= INT16_MIN && value <= INT16_MAX) {
        WriteValue(vaInt16);
        const int16_t v = static_cast<int16_t>(value);
        WriteBytes(&v, 2);
    } else if (value >= INT32_MIN && value <= INT32_MAX) {
        WriteValue(vaInt32);
        const int32_t v = static_cast<int32_t>(value);
        WriteBytes(&v, 4);
    } else {
        WriteValue(vaInt64);
        WriteBytes(&value, 8);
    }
}

void TWriter::WriteFloat(double value)
{
    uint8_t ext[10];
    DoubleToExtended(value, ext);
    WriteValue(vaExtended);
    WriteBytes(ext, 10);
}

void TWriter::WriteString(const std::string &value)
{
    if (value.size() <= 255) {
        WriteValue(vaString);
        WriteStr(value);
        return;
    }
    WriteValue(vaLString);
    const int32_t n = static_cast<int32_t>(value.size());
    WriteBytes(&n, 4);
    WriteBytes(value.data(), n);
}

void TWriter::WriteWideString(const std::u16string &value)
{
    WriteValue(vaWString);
    const int32_t n = static_cast<int32_t>(value.size());
    WriteBytes(&n, 4);
    for (char16_t c : value) {
        const uint8_t b[2] = {static_cast<uint8_t>(c & 0xFF), static_cast<uint8_t>(c >> 8)};
        WriteBytes(b, 2);
    }
}

void TWriter::WriteIdent(const std::string &ident)
{
    if (SameText(ident, "False"))
        WriteValue(vaFalse);
    else if (SameText(ident, "True"))
        WriteValue(vaTrue);
    else if (SameText(ident, "nil"))
        WriteValue(vaNil);
    else {
        WriteValue(vaIdent);
        WriteStr(ident);
    }
}

void TWriter::WriteBinary(const std::string &bytes)
{
    WriteValue(vaBinary);
    const int32_t n = static_cast<int32_t>(bytes.size());
    WriteBytes(&n, 4);
    WriteBytes(bytes.data(), n);
}

void TWriter::WriteProperties(TPersistent &instance)
{
    for (const TPropInfo *prop : GetPropInfos(instance.ClassType()))
        if (prop->Kind() != tkMethod && prop->IsReadable())
            WriteProperty(instance, *prop);
    instance.DefineProperties(*this);
}

void TWriter::WriteCollection(TCollection &collection)
{
    WriteValue(vaCollection);
    for (int i = 0; i < collection.Count(); ++i) {
        WriteListBegin();
        const std::string saved = FPrefix;
        FPrefix.clear();
        WriteProperties(*collection.Items(i));
        FPrefix = saved;
        WriteListEnd();
    }
    WriteListEnd();
}

void TWriter::WriteProperty(TPersistent &instance, const TPropInfo &prop)
{
    if (!prop.IsStored(instance))
        return;
    const std::string name = JoinPath(FPrefix, prop.Name());
    if (prop.Kind() == tkClass) {
        TObject *object = GetObjectProp(&instance, &prop);
        if (!object)
            return;
        if (auto *component = dynamic_cast<TComponent *>(object)) {
            if (!prop.IsWritable() || component->Name().empty())
                return;
            WriteStr(name);
            WriteIdent(component->Name());
            return;
        }
        if (auto *collection = dynamic_cast<TCollection *>(object)) {
            WriteStr(name);
            WriteCollection(*collection);
            return;
        }
        auto *sub = dynamic_cast<TPersistent *>(object);
        if (!sub || FDepth >= kMaxDepth)
            return;
        const std::string saved = FPrefix;
        FPrefix = name + ".";
        ++FDepth;
        WriteProperties(*sub);
        --FDepth;
        FPrefix = saved;
        return;
    }
    if (!prop.IsWritable())
        return;
    const TTypeKind kind = prop.Kind();
    if (!tkOrdinal.Contains(kind) && kind != tkFloat && !tkStrings.Contains(kind))
        return; // nothing else is stored
    int64_t v = 0;
    if (tkOrdinal.Contains(kind)) {
        v = GetOrdProp(&instance, &prop);
        if (prop.HasDefault() && v == prop.Default())
            return;
    }
    WriteStr(name);
    switch (kind) {
    case tkChar:
        WriteString(std::string(1, static_cast<char>(v)));
        return;
    case tkWChar:
        WriteWideString(std::u16string(1, static_cast<char16_t>(v)));
        return;
    case tkEnumeration:
        WriteIdent(GetEnumName(&prop, v));
        return;
    case tkSet:
        WriteValue(vaSet);
        for (size_t i = 0; i < prop.EnumNames().size() && i < 64; ++i)
            if (v & (int64_t(1) << i))
                WriteStr(prop.EnumNames()[i]);
        WriteStr("");
        return;
    case tkFloat:
        WriteFloat(GetFloatProp(&instance, &prop));
        return;
    case tkString:
    case tkLString:
        WriteString(GetStrProp(&instance, &prop));
        return;
    case tkWString:
    case tkUString:
        WriteWideString(GetWideStrProp(&instance, &prop));
        return;
    default: // integers
        WriteInteger(v);
        return;
    }
}

void TWriter::DefineProperty(const std::string &name, const TReaderProc &,
                             const TWriterProc &writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    WriteStr(JoinPath(FPrefix, name));
    writeData(*this);
}

void TWriter::DefineBinaryProperty(const std::string &name, const TStreamProc &,
                                   const TStreamProc &writeData, bool hasData)
{
    if (!hasData || !writeData)
        return;
    TMemoryStream data;
    writeData(data);
    WriteStr(JoinPath(FPrefix, name));
    const auto &bytes = data.Bytes();
    WriteBinary(std::string(bytes.begin(), bytes.end()));
}

// ---------------------------------------------------------------------------
// Reader

void TReader::Invalid(const std::string &what)
{
    throw EReadError(what);
}

void TReader::ReadBytes(void *data, int64_t count)
{
    if (count < 0 || FStream.Read(data, count) != count)
        Invalid("Stream read error");
}

TValueType TReader::ReadValue()
{
    uint8_t b;
    ReadBytes(&b, 1);
    if (b > vaDouble)
        Invalid(Format("Invalid property value type %d", b));
    return static_cast<TValueType>(b);
}

TValueType TReader::NextValue()
{
    uint8_t b;
    ReadBytes(&b, 1);
    FStream.Seek(-1, soFromCurrent);
    return static_cast<TValueType>(b);
}

void TReader::ReadListBegin()
{
    if (ReadValue() != vaList)
        Invalid("Invalid property value");
}

void TReader::ReadListEnd()
{
    if (ReadValue() != vaNull)
        Invalid("Invalid property value");
}

int64_t TReader::ReadCount()
{
    int32_t n;
    ReadBytes(&n, 4);
    if (n < 0 || n > FStream.Size() - FStream.Position())
        Invalid("Stream read error");
    return n;
}

std::string TReader::ReadStr()
{
    uint8_t len;
    ReadBytes(&len, 1);
    std::string s(len, '\0');
    ReadBytes(s.data(), len);
    return s;
}

int64_t TReader::ReadInteger()
{
    switch (ReadValue()) {
    case vaInt8: {
        int8_t v;
        ReadBytes(&v, 1);
        return v;
    }
    case vaInt16: {
        int16_t v;
        ReadBytes(&v, 2);
        return v;
    }
    case vaInt32: {
        int32_t v;
        ReadBytes(&v, 4);
        return v;
    }
    case vaInt64: {
        int64_t v;
        ReadBytes(&v, 8);
        return v;
    }
    default:
        Invalid("Invalid property value");
    }
}

bool TReader::ReadBoolean()
{
    const TValueType v = ReadValue();
    if (v != vaFalse && v != vaTrue)
        Invalid("Invalid property value");
    return v == vaTrue;
}

double TReader::ReadFloat()
{
    switch (NextValue()) {
    case vaExtended: {
        ReadValue();
        uint8_t ext[10];
        ReadBytes(ext, 10);
        return ExtendedToDouble(ext);
    }
    case vaDouble: {
        ReadValue();
        double v;
        ReadBytes(&v, 8);
        return v;
    }
    case vaSingle: {
        ReadValue();
        float v;
        ReadBytes(&v, 4);
        return v;
    }
    default:
        return static_cast<double>(ReadInteger());
    }
}

std::string TReader::ReadString()
{
    const TValueType type = ReadValue();
    switch (type) {
    case vaString:
        return ReadStr();
    case vaLString:
    case vaUTF8String: {
        std::string s(static_cast<size_t>(ReadCount()), '\0');
        ReadBytes(s.data(), static_cast<int64_t>(s.size()));
        return type == vaUTF8String ? Utf8ToCodePage(s, CP_ACP) : s;
    }
    case vaWString:
        FStream.Seek(-1, soFromCurrent);
        return WideToCodePage(ReadWideString(), CP_ACP);
    default:
        Invalid("Invalid property value");
    }
}

std::u16string TReader::ReadWideString()
{
    if (NextValue() != vaWString)
        return CodePageToWide(ReadString(), CP_ACP);
    ReadValue();
    int32_t n;
    ReadBytes(&n, 4);
    if (n < 0 || int64_t(n) * 2 > FStream.Size() - FStream.Position())
        Invalid("Stream read error");
    std::u16string s(static_cast<size_t>(n), u'\0');
    for (char16_t &c : s) {
        uint8_t b[2];
        ReadBytes(b, 2);
        c = static_cast<char16_t>(b[0] | b[1] << 8);
    }
    return s;
}

std::string TReader::ReadIdent()
{
    switch (ReadValue()) {
    case vaIdent:
        return ReadStr();
    case vaFalse:
        return "False";
    case vaTrue:
        return "True";
    case vaNil:
        return "nil";
    case vaNull:
        return "Null";
    default:
        Invalid("Invalid property value");
    }
}

std::string TReader::ReadBinary()
{
    if (ReadValue() != vaBinary)
        Invalid("Invalid property value");
    std::string bytes(static_cast<size_t>(ReadCount()), '\0');
    ReadBytes(bytes.data(), static_cast<int64_t>(bytes.size()));
    return bytes;
}

void TReader::SkipValue()
{
    if (++FDepth > kMaxDepth)
        Invalid("Stored objects nest too deep");
    switch (ReadValue()) {
    case vaNull:
    case vaFalse:
    case vaTrue:
    case vaNil:
        break;
    case vaList:
        while (!EndOfList())
            SkipValue();
        ReadValue();
        break;
    case vaInt8:
        FStream.Seek(1, soFromCurrent);
        break;
    case vaInt16:
        FStream.Seek(2, soFromCurrent);
        break;
    case vaInt32:
    case vaSingle:
        FStream.Seek(4, soFromCurrent);
        break;
    case vaInt64:
    case vaDouble:
    case vaCurrency:
    case vaDate:
        FStream.Seek(8, soFromCurrent);
        break;
    case vaExtended:
        FStream.Seek(10, soFromCurrent);
        break;
    case vaString:
    case vaIdent:
        ReadStr();
        break;
    case vaLString:
    case vaUTF8String:
    case vaBinary:
        FStream.Seek(ReadCount(), soFromCurrent);
        break;
    case vaWString: {
        int32_t n;
        ReadBytes(&n, 4);
        if (n < 0 || int64_t(n) * 2 > FStream.Size() - FStream.Position())
            Invalid("Stream read error");
        FStream.Seek(int64_t(n) * 2, soFromCurrent);
        break;
    }
    case vaSet:
        while (!ReadStr().empty()) {
        }
        break;
    case vaCollection:
        while (!EndOfList()) {
            if (NextValue() >= vaInt8 && NextValue() <= vaInt32)
                ReadInteger();
            ReadListBegin();
            while (!EndOfList()) {
                ReadStr();
                SkipValue();
            }
            ReadListEnd();
        }
        ReadValue();
        break;
    }
    if (FStream.Position() > FStream.Size())
        Invalid("Stream read error");
    --FDepth;
}

void TReader::ReadProperties(TPersistent &instance)
{
    while (!EndOfList())
        ReadProperty(instance);
    ReadListEnd();
}

void TReader::ReadCollection(TCollection &collection)
{
    if (++FDepth > kMaxDepth)
        Invalid("Stored objects nest too deep");
    collection.BeginUpdate();
    try {
        collection.Clear();
        while (!EndOfList()) {
            const TValueType order = NextValue();
            if (order >= vaInt8 && order <= vaInt32)
                ReadInteger(); // the item's order, not used
            ReadListBegin();
            TCollectionItem *item = collection.Add();
            ReadProperties(*item);
        }
        ReadListEnd();
    } catch (...) {
        collection.EndUpdate();
        --FDepth;
        throw;
    }
    collection.EndUpdate();
    --FDepth;
}

void TReader::ReadProperty(TPersistent &instance)
{
    const std::string path = ReadStr();
    TPersistent *target = &instance;
    std::string name = path;
    // "Font.Name": the sub-objects on the way.
    for (size_t dot; (dot = name.find('.')) != std::string::npos;) {
        const TPropInfo *p = GetPropInfo(target, name.substr(0, dot), tkClass);
        auto *sub =
            p && p->IsReadable() ? dynamic_cast<TPersistent *>(GetObjectProp(target, p)) : nullptr;
        if (!sub || dynamic_cast<TComponent *>(sub))
            Invalid(Format("Property %s does not exist", path.c_str()));
        target = sub;
        name = name.substr(dot + 1);
    }
    if (const TPropInfo *p = GetPropInfo(target, name); p && p->Kind() != tkMethod) {
        try {
            ReadPropValue(*target, *p);
        } catch (const EReadError &) {
            throw;
        } catch (const Exception &e) {
            // The value does not fit the property (a name the enumeration
            // lacks, a read-only property): say which.
            Invalid(Format("Error reading %s: %s", path.c_str(), e.Message().c_str()));
        }
        return;
    }
    FPropName = name;
    FFound = false;
    target->DefineProperties(*this);
    FPropName.clear();
    if (!FFound)
        Invalid(Format("Property %s does not exist", path.c_str()));
}

void TReader::ReadPropValue(TPersistent &instance, const TPropInfo &prop)
{
    TObject *self = &instance;
    switch (prop.Kind()) {
    case tkInteger:
    case tkInt64:
        SetOrdProp(self, &prop, ReadInteger());
        return;
    case tkChar: {
        const TValueType next = NextValue();
        if (next == vaInt8 || next == vaInt16 || next == vaInt32 || next == vaInt64) {
            SetOrdProp(self, &prop, ReadInteger() & 0xFF);
            return;
        }
        const std::string s = ReadString();
        if (s.size() != 1)
            Invalid(Format("Invalid value of property %s", prop.Name().c_str()));
        SetOrdProp(self, &prop, static_cast<unsigned char>(s[0]));
        return;
    }
    case tkWChar: {
        const std::u16string s = ReadWideString();
        if (s.size() != 1)
            Invalid(Format("Invalid value of property %s", prop.Name().c_str()));
        SetOrdProp(self, &prop, s[0]);
        return;
    }
    case tkEnumeration: {
        const std::string ident = ReadIdent();
        const int v = GetEnumValue(&prop, ident);
        if (v < 0)
            Invalid(Format("Invalid property value %s for %s", ident.c_str(), prop.Name().c_str()));
        SetOrdProp(self, &prop, v);
        return;
    }
    case tkSet: {
        if (ReadValue() != vaSet)
            Invalid(Format("Invalid value of property %s", prop.Name().c_str()));
        int64_t bits = 0;
        for (std::string element = ReadStr(); !element.empty(); element = ReadStr()) {
            const auto &names = prop.EnumNames();
            int v = -1;
            for (size_t i = 0; i < names.size() && v < 0; ++i)
                if (SameText(names[i], element))
                    v = static_cast<int>(i);
            if (v < 0 || v >= 64)
                Invalid(Format("Invalid value of property %s", prop.Name().c_str()));
            bits |= int64_t(1) << v;
        }
        SetOrdProp(self, &prop, bits);
        return;
    }
    case tkFloat:
        SetFloatProp(self, &prop, ReadFloat());
        return;
    case tkString:
    case tkLString:
        SetStrProp(self, &prop, ReadString());
        return;
    case tkWString:
    case tkUString:
        SetWideStrProp(self, &prop, ReadWideString());
        return;
    case tkClass:
        break;
    default:
        SkipValue();
        return;
    }
    switch (NextValue()) {
    case vaCollection: {
        ReadValue();
        auto *collection = dynamic_cast<TCollection *>(GetObjectProp(self, &prop));
        if (!collection)
            Invalid(Format("Invalid value of property %s", prop.Name().c_str()));
        ReadCollection(*collection);
        return;
    }
    case vaNil:
        ReadValue();
        if (prop.IsWritable())
            SetObjectProp(self, &prop, nullptr);
        return;
    case vaIdent: {
        const std::string name = ReadIdent();
        TComponent *component = nullptr;
        if (FRoot)
            component = SameText(FRoot->Name(), name) ? FRoot : FRoot->FindComponent(name);
        if (component && prop.IsWritable() && prop.PropClass() &&
            component->InheritsFrom(*prop.PropClass()))
            SetObjectProp(self, &prop, component);
        return;
    }
    default:
        Invalid(Format("Invalid value of property %s", prop.Name().c_str()));
    }
}

void TReader::DefineProperty(const std::string &name, const TReaderProc &readData,
                             const TWriterProc &, bool)
{
    if (FFound || !readData || !SameText(name, FPropName))
        return;
    FFound = true;
    readData(*this);
}

void TReader::DefineBinaryProperty(const std::string &name, const TStreamProc &readData,
                                   const TStreamProc &, bool)
{
    if (FFound || !readData || !SameText(name, FPropName))
        return;
    FFound = true;
    const std::string bytes = ReadBinary();
    TMemoryStream data;
    data.WriteBuffer(bytes.data(), static_cast<int64_t>(bytes.size()));
    data.SetPosition(0);
    readData(data);
}

} // namespace rtl
