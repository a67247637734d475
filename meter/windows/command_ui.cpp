#include "meter/windows/command_ui.h"

#include "i18n/lx_comp.h"
#include "platform/ui/ansi_text.h"
#include "platform/ui/cursor.h"
#include "platform/ui/ui_services.h"

#include <QCoreApplication>

namespace meter {

void TQtCommandUi::ShowMessage(const std::string &text)
{
    ui::ShowMessage(ui::AnsiToQString(text));
}

bool TQtCommandUi::Confirm(const std::string &text)
{
    // The question is English in every language, and so are its buttons.
    return ui::MessageDlg(ui::AnsiToQString(text), ui::mtConfirmation, ui::mbYesNo,
                          {QStringLiteral("Yes"), QStringLiteral("No")}) == ui::mrYes;
}

std::string TQtCommandUi::StringById(const std::string &id)
{
    return FLang ? FLang->GetStringById(id) : std::string();
}

void TQtCommandUi::SetHourglass(bool on)
{
    ui::SetScreenCursor(on ? ui::crHourGlass : ui::crDefault);
}

void TQtCommandUi::ProcessMessages()
{
    QCoreApplication::processEvents();
}

} // namespace meter
