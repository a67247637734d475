#include "i18n/base/lx_lxbfile.h"

#include "platform/rtl/classes.h"
#include "platform/rtl/exceptions.h"
#include "platform/rtl/streams.h"

namespace i18n {

namespace {

uint16_t ReadWord(rtl::TStream &stream)
{
    uint8_t b[2];
    stream.ReadBuffer(b, 2);
    return static_cast<uint16_t>(b[0] | b[1] << 8);
}

uint32_t ReadLong(rtl::TStream &stream)
{
    uint8_t b[4];
    stream.ReadBuffer(b, 4);
    return uint32_t(b[0]) | uint32_t(b[1]) << 8 | uint32_t(b[2]) << 16 | uint32_t(b[3]) << 24;
}

// count bytes, which must all be there.
std::string ReadBytes(rtl::TStream &stream, int64_t count)
{
    if (count > stream.Size() - stream.Position())
        throw rtl::EReadError("Stream read error");
    std::string bytes(static_cast<size_t>(count), '\0');
    if (count > 0)
        stream.ReadBuffer(bytes.data(), count);
    return bytes;
}

void PutWord(std::string &out, uint32_t v)
{
    out += static_cast<char>(v & 0xFF);
    out += static_cast<char>(v >> 8 & 0xFF);
}

void PutLong(std::string &out, uint32_t v)
{
    PutWord(out, v & 0xFFFF);
    PutWord(out, v >> 16);
}

} // namespace

int64_t ReadLXBDirectory(rtl::TStream &stream, const std::string &header,
                         const std::string &ownerClassName, std::string &fixedText)
{
    stream.SetPosition(0);
    const int64_t size = stream.Size();
    std::string start;
    while (stream.Position() < size - 2) {
        char c;
        stream.ReadBuffer(&c, 1);
        start += c;
        if (c == '\0')
            break;
    }
    if (start != header)
        throw rtl::EFilerError("Unrecognized stream format!");

    const uint16_t forms = ReadWord(stream);
    const uint16_t fixedLength = ReadWord(stream);
    fixedText = ReadBytes(stream, fixedLength);
    int64_t offset = -1;
    for (uint16_t i = 0; i < forms && offset < 0; ++i) {
        const std::string name = ReadBytes(stream, ReadWord(stream));
        const uint32_t at = ReadLong(stream);
        if (name == ownerClassName)
            offset = at;
    }
    if (offset >= size)
        throw rtl::EReadError("Stream read error");
    return offset;
}

void WriteLXBFile(rtl::TStream &stream, const rtl::TStrings &fixedLanguages,
                  const std::vector<TLXBFormData> &forms)
{
    std::string fixed;
    for (int i = 0; i < fixedLanguages.Count(); ++i)
        fixed += (i ? "\r\n" : "") + fixedLanguages.Strings(i);
    size_t directory = 0;
    for (const TLXBFormData &f : forms)
        directory += 2 + f.ClassName.size() + 4;

    std::string out(kLXBHeader, sizeof kLXBHeader);
    PutWord(out, static_cast<uint32_t>(forms.size()));
    PutWord(out, static_cast<uint32_t>(fixed.size()));
    out += fixed;
    std::string components;
    const size_t first = out.size() + directory;
    for (const TLXBFormData &f : forms) {
        PutWord(out, static_cast<uint32_t>(f.ClassName.size()));
        out += f.ClassName;
        PutLong(out, static_cast<uint32_t>(first + components.size()));
        components += f.Component;
    }
    out += components;
    stream.WriteBuffer(out.data(), static_cast<int64_t>(out.size()));
}

} // namespace i18n
