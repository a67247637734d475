#include "views/list_form.h"

#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "platform/ui/string_grid.h"

#include <QFontMetrics>
#include <QHeaderView>
#include <QVBoxLayout>

#include <algorithm>

namespace views {

namespace {
const char *const kTitles[] = {"No", "Date", "Time", "Value"};
} // namespace

TfrmList::TfrmList(TListHost &host, i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QWidget(parent), FHost(host)
{
    setObjectName(QStringLiteral("frmList"));
    setAttribute(Qt::WA_DeleteOnClose);
    Grid1 = new ui::TStringGrid(this);
    Grid1->setObjectName(QStringLiteral("Grid1"));
    Grid1->SetColCount(Columns);
    Grid1->SetRowCount(InitialRows);
    Grid1->SetFixedRows(1);
    Grid1->SetFixedCols(1);
    Grid1->SetDefaultRowHeight(RowHeight);
    Grid1->SetOptions(ui::goRangeSelect | ui::goColSizing);
    auto *layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(Grid1);

    ui::TFormAdapter *form = ui::CreateFormComponent(this, "TfrmList");
    lxLangLinked_frmList = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        form, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmList"));
    lxLangLinked_frmList->SetName("lxLangLinked_frmList");

    FormShow();
    resize(Columns * Grid1->DefaultColWidth() + 40, 360);
}

void TfrmList::FormShow()
{
    for (int col = 0; col < 4; ++col)
        Grid1->SetCell(col, 0, QString::fromLatin1(kTitles[col]));
}

void TfrmList::FitColumns(const std::vector<int> &rows)
{
    const QFontMetrics texts(Grid1->font()), titles(Grid1->horizontalHeader()->font());
    const int padding = 2 * texts.horizontalAdvance(QLatin1Char('0'));
    for (int col = 0; col < Grid1->ColCount(); ++col) {
        int width = titles.horizontalAdvance(Grid1->Cell(col, 0));
        if (std::size_t(col) < rows.size() && rows[std::size_t(col)] > 0)
            width =
                std::max(width, texts.horizontalAdvance(Grid1->Cell(col, rows[std::size_t(col)])));
        if (width + padding > Grid1->ColWidth(col))
            Grid1->SetColWidth(col, width + padding);
    }
}

void TfrmList::FormActivate()
{
    FHost.ListActivated(*this);
}

} // namespace views
