// The window services of the meter commands on Qt: message boxes through the
// UI services, string ids from a window's translation component, the screen
// cursor and the event loop.
#pragma once

#include "meter/meter_commands.h"

namespace i18n {
class TlxCustomLang;
}

namespace meter {

class TQtCommandUi : public TCommandUi {
public:
    // lang: the translation component whose string ids the command shows
    // (may be null: every id is then an empty text).
    explicit TQtCommandUi(i18n::TlxCustomLang *lang) : FLang(lang) {}

    void ShowMessage(const std::string &text) override;
    bool Confirm(const std::string &text) override;
    std::string StringById(const std::string &id) override;
    void SetHourglass(bool on) override;
    void ProcessMessages() override;

private:
    i18n::TlxCustomLang *FLang;
};

} // namespace meter
