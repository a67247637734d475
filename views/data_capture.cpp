#include "views/data_capture.h"

#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "meter/leq_record.h"
#include "meter/link_guard.h"
#include "platform/ui/app_application.h"
#include "platform/ui/string_grid.h"
#include "platform/ui/ui_services.h"

#include <QCloseEvent>
#include <QVBoxLayout>

namespace views {

TfrmDataCapture *gDataCaptureForm = nullptr;

namespace {

static_assert(TfrmDataCapture::Columns == LeqRecordColumns);

} // namespace

TfrmDataCapture::TfrmDataCapture(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QWidget(parent)
{
    setObjectName(QStringLiteral("frmDataCapture"));
    setWindowTitle(QStringLiteral("LEQ"));
    Grid1 = new ui::TStringGrid(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->SetColCount(Columns);
    Grid1->SetRowCount(Rows);
    Grid1->SetFixedRows(1);
    Grid1->SetFixedCols(1);
    Grid1->SetOptions(ui::goRangeSelect | ui::goColSizing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Grid1);

    auto *form = ui::CreateFormComponent(this, "TfrmDataCapture");
    lxLangLinked_frmDataCapture = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        form, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmDataCapture"));
    lxLangLinked_frmDataCapture->SetName("lxLangLinked_frmDataCapture");

    // Visible from creation: the show handler runs while the window is made.
    FormShow();
    int width = 0;
    for (int c = 0; c < Columns; ++c)
        width += Grid1->ColWidth(c);
    resize(width + 40, 420);
}

TfrmDataCapture::~TfrmDataCapture()
{
    if (gDataCaptureForm == this)
        gDataCaptureForm = nullptr;
}

void TfrmDataCapture::FormShow()
{
    for (int c = 0; c < Columns; ++c) {
        Grid1->SetCell(c, 0, QString::fromLatin1(LeqRecordTitles[c]));
        if (LeqRecordWidths[c] > 0)
            Grid1->SetColWidth(c, LeqRecordWidths[c]);
    }
    for (int r = 1; r < Rows; ++r)
        Grid1->SetCell(0, r, QString::asprintf("%02d", r));
}

void TfrmDataCapture::FormClose()
{
    FClosed = true;
    if (gDataCaptureForm == this)
        gDataCaptureForm = nullptr;
}

void TfrmDataCapture::closeEvent(QCloseEvent *event)
{
    const bool done = ui::Guarded([&] {
        // The LEQ-record load writes into this window between its blocks.
        if (!meter::TLinkGuard::Instance().CanClose(this)) {
            ui::ShowMessage(controls::StringById(lxLangLinked_frmDataCapture, "IDS_140"));
            event->ignore();
            return;
        }
        event->accept();
        if (!FClosed)
            FormClose();
    });
    if (!done)
        event->ignore();
}

} // namespace views
