#include "platform/ui/ansi_text.h"

#include "platform/rtl/codepage.h"

namespace ui {

QString AnsiToQString(const std::string &text)
{
    return QString::fromStdU16String(rtl::CodePageToWide(text, rtl::SystemCodePage));
}

std::string QStringToAnsi(const QString &text)
{
    return rtl::WideToCodePage(text.toStdU16String(), rtl::SystemCodePage);
}

QString CharsetToQString(const std::string &text, int charset)
{
    return QString::fromStdU16String(rtl::CodePageToWide(text, rtl::CharsetToCodePage(charset)));
}

std::string QStringToCharset(const QString &text, int charset)
{
    return rtl::WideToCodePage(text.toStdU16String(), rtl::CharsetToCodePage(charset));
}

} // namespace ui
