// The layout of LXB translation files: the translation components of several
// forms in one binary file. Integers little-endian, unsigned:
//
//   offset 0   42 bytes  "LXB file: TlxLang binary translation data" and a zero byte
//   42         2         form count
//   44         2         L, the length of the fixed-languages text
//   46         L         the fixed-languages text (lines separated by CR LF)
//   46 + L     ...       per form: 2 bytes name length M, M bytes form class
//                        name, 4 bytes offset from the file's start of its component
//   elsewhere            each form's translation component as streamed by
//                        rtl::WriteComponent (platform/rtl/component_stream.h)
//
// This piece reads and writes the header and the directory; the components
// themselves are read and written by lx_lxb.h in i18n/.
#pragma once

#include "platform/rtl/strings.h"

#include <cstdint>
#include <string>
#include <vector>

namespace rtl {
class TStream;
} // namespace rtl

namespace i18n {

inline constexpr char kLXBHeader[42] = "LXB file: TlxLang binary translation data";

// Reads a LXB file's start from the stream's start: its header, which must
// be header (the zero byte included), its fixed-languages text (into
// fixedText) and its directory. Gives the offset of the component stored for
// the form class ownerClassName (case-sensitive; the first of that name), -1
// when the file holds none. Raises rtl::EFilerError "Unrecognized stream
// format!" for another header, and rtl::EReadError for a start cut short or
// an offset beyond the stream.
int64_t ReadLXBDirectory(rtl::TStream &stream, const std::string &header,
                         const std::string &ownerClassName, std::string &fixedText);

// One form as a LXB file stores it: its class name and its streamed
// translation component.
struct TLXBFormData {
    std::string ClassName;
    std::string Component;
};

// Writes a LXB file of the forms, in their order, at the stream's position
// (offsets count from there).
void WriteLXBFile(rtl::TStream &stream, const rtl::TStrings &fixedLanguages,
                  const std::vector<TLXBFormData> &forms);

} // namespace i18n
