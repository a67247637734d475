// Showing a window modally. The program runs the window's own modal loop;
// tests install a runner that answers at once (sets the fields it wants,
// returns a modal result) so that no test blocks.
#pragma once

#include "platform/ui/ui_services.h"

#include <functional>

class QDialog;

namespace views {

// Runs dialog modally, made wide enough for its caption, and returns its
// modal result (ui::mrOk, ui::mrCancel, ...). A dialog with
// Qt::WA_DeleteOnClose is freed before this returns.
ui::TModalResult ShowModal(QDialog &dialog);

// What ShowModal runs in place of the dialog's modal loop: it is given the
// dialog (shown, modal) and returns the result; the dialog is then hidden
// (and freed when it deletes itself on close). Empty: the real modal loop.
using TModalRunner = std::function<ui::TModalResult(QDialog &dialog)>;
void SetModalRunner(TModalRunner runner);

// Installs a runner for the lifetime of the guard (tests).
class TModalRunnerScope {
public:
    explicit TModalRunnerScope(TModalRunner runner);
    ~TModalRunnerScope();
    TModalRunnerScope(const TModalRunnerScope &) = delete;
    TModalRunnerScope &operator=(const TModalRunnerScope &) = delete;

private:
    TModalRunner FPrevious;
};

} // namespace views
