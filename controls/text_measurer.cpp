#include "controls/text_measurer.h"

#include "i18n/lx_comp.h"
#include "platform/ui/ansi_text.h"

#include <QFont>
#include <QFontMetrics>

namespace controls {

int ScreenTextWidth(const std::string &text)
{
    static const QFontMetrics metrics(QFont(QStringLiteral("Tahoma"), 8));
    return metrics.horizontalAdvance(ui::AnsiToQString(text));
}

void InstallTestModeMeasurer()
{
    i18n::SetTestModeTextMeasurer(&ScreenTextWidth);
}

} // namespace controls
