#include "views/show_modal.h"

#include "platform/ui/caption_fit.h"

#include <QDialog>
#include <QPointer>

namespace views {

namespace {
TModalRunner &Runner()
{
    static TModalRunner runner;
    return runner;
}

// A modal loop that ends without a result (Escape, the close box) gives
// Cancel, as the class library's modal forms do.
ui::TModalResult ToModalResult(int result)
{
    return result == QDialog::Rejected ? ui::mrCancel : result;
}
} // namespace

ui::TModalResult ShowModal(QDialog &dialog)
{
    ui::FitCaption(dialog);
    if (!Runner())
        return ToModalResult(dialog.exec());

    // Scripted: the dialog is shown as modal, answered by the runner, then
    // hidden and, when it frees itself on close, freed, as exec() would.
    QPointer<QDialog> guard(&dialog);
    const bool deleteOnClose = dialog.testAttribute(Qt::WA_DeleteOnClose);
    dialog.setAttribute(Qt::WA_DeleteOnClose, false);
    dialog.setResult(0);
    dialog.setWindowModality(Qt::ApplicationModal);
    dialog.show();
    ui::TModalResult result = Runner()(dialog);
    if (guard) {
        dialog.setResult(result);
        dialog.hide();
        if (deleteOnClose)
            delete guard.data();
    }
    return ToModalResult(result);
}

void SetModalRunner(TModalRunner runner)
{
    Runner() = std::move(runner);
}

TModalRunnerScope::TModalRunnerScope(TModalRunner runner) : FPrevious(std::move(Runner()))
{
    Runner() = std::move(runner);
}

TModalRunnerScope::~TModalRunnerScope()
{
    Runner() = std::move(FPrevious);
}

} // namespace views
