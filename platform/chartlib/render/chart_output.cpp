#include "platform/chartlib/render/chart_output.h"

#include "platform/chartlib/render/chart_view.h"
#include "platform/chartlib/render/render_props.h"
#include "platform/rtl/streams.h"
#include "platform/ui/printer.h"
#include "platform/ui/ui_services.h"

#include <QApplication>
#include <QBuffer>
#include <QCheckBox>
#include <QClipboard>
#include <QComboBox>
#include <QDialog>
#include <QDialogButtonBox>
#include <QDoubleSpinBox>
#include <QFile>
#include <QFileInfo>
#include <QFontComboBox>
#include <QFormLayout>
#include <QImageWriter>
#include <QLabel>
#include <QLineEdit>
#include <QLocale>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPageLayout>
#include <QPainter>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QTabWidget>
#include <QVBoxLayout>
#include <QWidget>

#include <algorithm>
#include <functional>
#include <tuple>
#include <vector>

namespace chartlib {

namespace {

class QtChartDialogs : public ChartDialogs {
public:
    bool ExecDialog(QDialog &dialog) override { return dialog.exec() == QDialog::Accepted; }
    bool ExecPrintDialog(QPrinter &printer) override
    {
        ui::TPrinter &current = ui::Printer();
        if (&printer == &current.QtPrinter())
            return ui::ExecutePrintDialog(current);
        QPrintDialog dialog(&printer);
        return dialog.exec() == QDialog::Accepted;
    }
    bool DefaultPrinter(QPrinter &printer) override
    {
        if (&printer == &ui::Printer().QtPrinter())
            return true; // the program's current printer, as its dialogs left it
        QPrinterInfo info = QPrinterInfo::defaultPrinter();
        if (info.isNull())
            return false;
        printer.setPrinterName(info.printerName());
        return true;
    }
    bool SaveFileName(const QString &title, const QString &filter, QString &fileName,
                      int &filterIndex) override
    {
        ui::TFileDialog dialog;
        dialog.Kind = ui::TFileDialogKind::Save;
        dialog.Title = title;
        dialog.Filter = filter;
        dialog.FilterIndex = filterIndex;
        dialog.FileName = fileName;
        dialog.Options |= ui::ofOverwritePrompt;
        if (!ui::Services().ExecuteFileDialog(dialog))
            return false;
        fileName = dialog.FileName;
        filterIndex = dialog.FilterIndex;
        return true;
    }
    QAction *ExecMenu(QMenu &menu, const QPoint &globalPos) override
    {
        return menu.exec(globalPos);
    }
};

ChartDialogs *gDialogs = nullptr;

int IntOr(const ChartObject &o, std::int32_t id, int def)
{
    return o.Has(id) ? o.GetInt(id) : def;
}

QWidget *ParentWidget(const ChartObject &o)
{
    auto *v = dynamic_cast<ChartView *>(o.Attachment());
    return v ? v->parentWidget.data() : nullptr;
}

// The caption of the window the chart stands in: the first of the chart's widget and its
// parents that is a window of its own or a document window in a main window.
QString WindowCaption(const ChartObject &o)
{
    for (QWidget *w = ParentWidget(o); w; w = w->parentWidget())
        if (w->isWindow() || qobject_cast<QMdiSubWindow *>(w->parentWidget()))
            return w->windowTitle();
    return QString();
}

QString ColorText(std::uint32_t c)
{
    return ChartColor(c).name(QColor::HexRgb);
}

const char *const kLineTypes[] = {"Thin solid",   "Dash",         "Dot",        "Dash dot",
                                  "Dash dot dot", "Medium solid", "Thick solid"};

void Finish(ChartView &v)
{
    v.ResetImage();
    if (v.sink) {
        v.sink->ChartInvalidate(v.Object().Handle(), nullptr);
    }
}

// The customise dialog's tabs, built page by page. Each control remembers
// what it showed; OK writes only the settings the user changed, so that
// values the dialog cannot show exactly (fonts that are not installed,
// colours with their alpha byte, more decimals than the spin boxes have) stay
// as they are.
class CustomizePages {
public:
    CustomizePages(ChartObject &o, QTabWidget *tabs) : o_(o), tabs_(tabs) {}

    void General();
    void Plot();
    void Subsets();
    void Fonts();
    void Colors();
    void Style();
    void Axis();

    // The tab a dialog opened for colours (1) or fonts (2) starts on.
    int PreferredIndex(int preferredTab) const;
    // Writes what the user changed.
    void Apply() const
    {
        for (const auto &f : apply_)
            f();
    }

private:
    // A new tab when the chart allows it (its gate is on), else null.
    QFormLayout *Page(std::int32_t gate, const char *name, const char *title);
    static QWidget *Named(QWidget *w, const char *name)
    {
        w->setObjectName(QString::fromLatin1(name));
        return w;
    }
    QWidget *PageOf(QFormLayout *form) const { return form->parentWidget(); }

    void TextRow(QFormLayout *form, const char *label, const char *name, std::int32_t id);
    void ComboRow(QFormLayout *form, const char *label, const char *name, std::int32_t id, int def,
                  const QStringList &items);
    void CheckRow(QFormLayout *form, const char *label, const char *name, std::int32_t id, int def);
    void FontRow(QFormLayout *form, const char *label, const char *name, std::int32_t id);
    void SpinRow(QFormLayout *form, const char *label, const char *name, std::int32_t id);
    QLineEdit *ColorEdit(QWidget *page, const QString &name, std::uint32_t value,
                         std::function<void(std::uint32_t)> write);

    ChartObject &o_;
    QTabWidget *tabs_;
    std::vector<std::function<void()>> apply_;
    int subsetsPage_ = -1, fontsPage_ = -1, colorPage_ = -1;
};

QFormLayout *CustomizePages::Page(std::int32_t gate, const char *name, const char *title)
{
    if (!(IntOr(o_, gate, 1) & 0xFF))
        return nullptr;
    QWidget *page = Named(new QWidget, name);
    tabs_->addTab(page, QString::fromLatin1(title));
    return new QFormLayout(page);
}

void CustomizePages::TextRow(QFormLayout *form, const char *label, const char *name,
                             std::int32_t id)
{
    auto *e = new QLineEdit(FromU16(o_.GetText(id)), PageOf(form));
    Named(e, name);
    form->addRow(QString::fromLatin1(label), e);
    apply_.push_back([&o = o_, e, id, before = e->text()] {
        if (e->text() != before)
            o.SetText(id, ToU16(e->text()));
    });
}

void CustomizePages::ComboRow(QFormLayout *form, const char *label, const char *name,
                              std::int32_t id, int def, const QStringList &items)
{
    auto *c = new QComboBox(PageOf(form));
    Named(c, name);
    c->addItems(items);
    c->setCurrentIndex(std::clamp(IntOr(o_, id, def), 0, int(items.size()) - 1));
    form->addRow(QString::fromLatin1(label), c);
    apply_.push_back([&o = o_, c, id, before = c->currentIndex()] {
        if (c->currentIndex() != before)
            o.SetInt(id, c->currentIndex());
    });
}

void CustomizePages::CheckRow(QFormLayout *form, const char *label, const char *name,
                              std::int32_t id, int def)
{
    auto *c = new QCheckBox(QString::fromLatin1(label), PageOf(form));
    Named(c, name);
    c->setChecked(IntOr(o_, id, def) & 0xFF);
    form->addRow(c);
    apply_.push_back([&o = o_, c, id, before = c->isChecked()] {
        if (c->isChecked() != before)
            o.SetInt(id, c->isChecked() ? 1 : 0);
    });
}

void CustomizePages::FontRow(QFormLayout *form, const char *label, const char *name,
                             std::int32_t id)
{
    auto *c = new QFontComboBox(PageOf(form));
    Named(c, name);
    const QString family = FromU16(o_.GetText(id));
    if (!family.isEmpty())
        c->setCurrentFont(QFont(family));
    form->addRow(QString::fromLatin1(label), c);
    apply_.push_back([&o = o_, c, id, before = c->currentFont().family()] {
        if (c->currentFont().family() != before)
            o.SetText(id, ToU16(c->currentFont().family()));
    });
}

void CustomizePages::SpinRow(QFormLayout *form, const char *label, const char *name,
                             std::int32_t id)
{
    auto *sb = new QDoubleSpinBox(PageOf(form));
    Named(sb, name);
    sb->setRange(-1.0e9, 1.0e9);
    sb->setDecimals(3);
    double value = 0.0;
    o_.GetDouble(id, value);
    sb->setValue(value);
    form->addRow(QString::fromLatin1(label), sb);
    apply_.push_back([&o = o_, sb, id, before = sb->value()] {
        if (sb->value() != before)
            o.SetDouble(id, sb->value());
    });
}

QLineEdit *CustomizePages::ColorEdit(QWidget *page, const QString &name, std::uint32_t value,
                                     std::function<void(std::uint32_t)> write)
{
    auto *e = new QLineEdit(ColorText(value), page);
    e->setObjectName(name);
    apply_.push_back([e, before = e->text(), write] {
        QColor c(e->text().trimmed());
        if (e->text() != before && c.isValid())
            write(ChartArgb(255, std::uint8_t(c.red()), std::uint8_t(c.green()),
                            std::uint8_t(c.blue())));
    });
    return e;
}

void CustomizePages::General()
{
    if (QFormLayout *form = Page(rprop::AllowPage1, "pageGeneral", "General")) {
        TextRow(form, "Main title", "edtMainTitle", rprop::MainTitle);
        TextRow(form, "Sub title", "edtSubTitle", rprop::SubTitle);
        TextRow(form, "X axis label", "edtXAxisLabel", rprop::XAxisLabel);
        TextRow(form, "Y axis label", "edtYAxisLabel", rprop::YAxisLabel);
    }
}

void CustomizePages::Plot()
{
    if (QFormLayout *form = Page(rprop::AllowPage2, "pagePlot", "Plot")) {
        CheckRow(form, "Show legend", "chkShowLegend", rprop::ShowLegend, 1);
        CheckRow(form, "Show annotations", "chkShowAnnotations", rprop::ShowGraphAnnotations, 0);
    }
}

void CustomizePages::Subsets()
{
    QFormLayout *form = Page(rprop::AllowSubsetsPage, "pageSubsets", "Subsets");
    if (!form)
        return;
    QWidget *page = PageOf(form);
    subsetsPage_ = tabs_->count() - 1;
    QStringList types;
    for (const char *t : kLineTypes)
        types << QString::fromLatin1(t);
    for (std::int32_t s = 0; s < std::min(o_.Subsets(), 16); ++s) {
        QString label = FromU16(o_.GetElementText(rprop::SubsetLabels, s));
        if (label.isEmpty())
            label = QStringLiteral("Subset %1").arg(s + 1);
        const auto colour = std::uint32_t(std::int64_t(o_.GetElement(rprop::SubsetColors, s)));
        form->addRow(label, ColorEdit(page, QStringLiteral("edtSubsetColor%1").arg(s), colour,
                                      [&o = o_, s](std::uint32_t c) {
                                          // The colour's 32 bits as the int32 the element holds.
                                          o.SetElement(rprop::SubsetColors, s,
                                                       double(std::int32_t(c)), ElemKind::Int);
                                      }));
        auto *t = new QComboBox(page);
        t->setObjectName(QStringLiteral("cmbLineType%1").arg(s));
        t->addItems(types);
        t->setCurrentIndex(
            std::clamp(int(o_.GetElement(rprop::SubsetLineTypes, s)), 0, int(types.size()) - 1));
        form->addRow(QString(), t);
        apply_.push_back([&o = o_, t, s, before = t->currentIndex()] {
            if (t->currentIndex() != before)
                o.SetElement(rprop::SubsetLineTypes, s, t->currentIndex(), ElemKind::Int);
        });
    }
}

void CustomizePages::Fonts()
{
    QFormLayout *form = Page(rprop::AllowFontPage, "pageFonts", "Fonts");
    if (!form)
        return;
    fontsPage_ = tabs_->count() - 1;
    FontRow(form, "Main title", "cmbMainTitleFont", rprop::MainTitleFont);
    FontRow(form, "Sub title", "cmbSubTitleFont", rprop::SubTitleFont);
    FontRow(form, "Labels", "cmbLabelFont", rprop::LabelFont);
    ComboRow(form, "Size", "cmbFontSize", rprop::FontSize, 1,
             {QStringLiteral("Large"), QStringLiteral("Medium"), QStringLiteral("Small")});
}

void CustomizePages::Colors()
{
    QFormLayout *form = Page(rprop::AllowColorPage, "pageColor", "Color");
    if (!form)
        return;
    colorPage_ = tabs_->count() - 1;
    ComboRow(form, "Viewing style", "cmbViewingStyle", rprop::ViewingStyle, 0,
             {QStringLiteral("Color"), QStringLiteral("Monochrome"),
              QStringLiteral("Monochrome with symbols")});
    for (auto [label, name, id] :
         {std::tuple{"Desk", "edtDeskColor", rprop::DeskColor},
          {"Text", "edtTextColor", rprop::TextColor},
          {"Graph background", "edtGraphBackColor", rprop::GraphBackColor},
          {"Graph foreground", "edtGraphForeColor", rprop::GraphForeColor}})
        form->addRow(
            QString::fromLatin1(label),
            ColorEdit(PageOf(form), QString::fromLatin1(name), std::uint32_t(o_.GetInt(id)),
                      [&o = o_, id = id](std::uint32_t c) { o.SetInt(id, std::int32_t(c)); }));
}

void CustomizePages::Style()
{
    if (QFormLayout *form = Page(rprop::AllowStylePage, "pageStyle", "Style")) {
        ComboRow(form, "Grid lines", "cmbGridLines", rprop::GridLineControl, 0,
                 {QStringLiteral("Y and X"), QStringLiteral("Y"), QStringLiteral("X"),
                  QStringLiteral("None")});
        ComboRow(form, "Grid style", "cmbGridStyle", rprop::GridStyle, 0,
                 {QStringLiteral("Thin"), QStringLiteral("Thick"), QStringLiteral("Dot"),
                  QStringLiteral("Dash"), QStringLiteral("Pixel")});
    }
}

void CustomizePages::Axis()
{
    QFormLayout *form = Page(rprop::AllowAxisPage, "pageAxis", "Axis");
    if (!form)
        return;
    auto *manualY = new QCheckBox(QStringLiteral("Manual Y scale"), PageOf(form));
    Named(manualY, "chkManualY");
    const int control = IntOr(o_, rprop::ManualScaleControlY, 0);
    manualY->setChecked(control == 3);
    form->addRow(manualY);
    apply_.push_back([&o = o_, manualY, control] {
        if (manualY->isChecked() != (control == 3))
            o.SetInt(rprop::ManualScaleControlY, manualY->isChecked() ? 3 : 0);
    });
    SpinRow(form, "Minimum Y", "edtMinY", rprop::ManualMinY);
    SpinRow(form, "Maximum Y", "edtMaxY", rprop::ManualMaxY);
}

int CustomizePages::PreferredIndex(int preferredTab) const
{
    if (preferredTab == 1)
        return colorPage_ >= 0 ? colorPage_ : subsetsPage_;
    if (preferredTab == 2)
        return fontsPage_;
    return -1;
}

bool RunCustomize(HCHART h, int preferredTab)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    ChartObject &o = v->Object();
    o.SetInt(prop::DialogResult, 0);
    if (!(IntOr(o, rprop::AllowCustomization, 1) & 0xFF))
        return false;

    QDialog dialog(ParentWidget(o));
    dialog.setObjectName(QStringLiteral("ChartCustomizeDialog"));
    dialog.setWindowTitle(QStringLiteral("Customization"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *tabs = new QTabWidget(&dialog);
    tabs->setObjectName(QStringLiteral("tabs"));
    tabs->setUsesScrollButtons(false); // the dialog is as wide as all its tabs
    layout->addWidget(tabs);
    auto *buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, &dialog);
    QObject::connect(buttons, &QDialogButtonBox::accepted, &dialog, &QDialog::accept);
    QObject::connect(buttons, &QDialogButtonBox::rejected, &dialog, &QDialog::reject);
    layout->addWidget(buttons);

    CustomizePages pages(o, tabs);
    pages.General();
    pages.Plot();
    pages.Subsets();
    pages.Fonts();
    pages.Colors();
    pages.Style();
    pages.Axis();
    if (tabs->count() == 0)
        return false;
    if (const int index = pages.PreferredIndex(preferredTab); index >= 0)
        tabs->setCurrentIndex(index);

    const bool ok = ChartDialogsService().ExecDialog(dialog);
    if (ok) {
        pages.Apply();
        o.SetInt(prop::DialogResult, 1);
        Finish(*v);
    }
    if (v->sink)
        v->sink->ChartNotify(h, code::CustomizeDlg);
    return ok;
}

QImage ImageFor(HCHART h, const ChartPair *pair)
{
    int w = pair && pair->a > 0 ? pair->a : 0;
    int hgt = pair && pair->b > 0 ? pair->b : 0;
    return ChartRenderImage(h, w, hgt);
}

bool ToClip(HCHART h, const ChartPair *pair)
{
    if (!ChartFind(h))
        return false;
    QImage img = ImageFor(h, pair);
    if (img.isNull())
        return false;
    QApplication::clipboard()->setImage(img);
    return true;
}

// Replaces the file through a temporary file and a rename, every write and
// the flush checked: a failed write keeps the old file.
bool WriteWholeFile(const QString &fileName, const QByteArray &bytes)
{
    return rtl::TryWriteFileAtomically(QFile::encodeName(fileName).toStdString(), bytes.constData(),
                                       static_cast<size_t>(bytes.size()));
}

bool ToFile(HCHART h, const ChartPair *pair, const QString &fileName, const char *format)
{
    ChartObject *o = ChartFind(h);
    if (!o || fileName.isEmpty())
        return false;
    QImage img = ImageFor(h, pair);
    if (img.isNull())
        return false;
    // Encoded in memory first: the image writers do not all check their
    // writes, the file write below checks every one.
    QByteArray bytes;
    QBuffer buffer(&bytes);
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, format);
    if (qstrcmp(format, "jpg") == 0) {
        int q = o->Has(rprop::JpgQuality) ? o->GetInt(rprop::JpgQuality) : 90;
        writer.setQuality(std::clamp(q, 1, 100));
    }
    return writer.write(img) && WriteWholeFile(fileName, bytes);
}

bool WriteText(const QString &fileName, const QString &text)
{
    return WriteWholeFile(fileName, text.toUtf8());
}

} // namespace

ChartDialogs &ChartDialogsService()
{
    static QtChartDialogs qtDialogs;
    return gDialogs ? *gDialogs : qtDialogs;
}

void SetChartDialogs(ChartDialogs *dialogs)
{
    gDialogs = dialogs;
}

bool ChartCustomizeDialog(HCHART h)
{
    return RunCustomize(h, 0);
}
bool ChartColorDialog(HCHART h)
{
    return RunCustomize(h, 1);
}
bool ChartFontDialog(HCHART h)
{
    return RunCustomize(h, 2);
}

QString ChartDataText(HCHART h)
{
    ChartObject *o = ChartFind(h);
    if (!o)
        return {};
    QLocale locale;
    bool dateTime = o->Has(rprop::DateTimeMode) && o->GetInt(rprop::DateTimeMode) != 0;
    QString out = QStringLiteral("Point");
    for (std::int32_t s = 0; s < o->Subsets(); ++s) {
        QString label = FromU16(o->GetElementText(rprop::SubsetLabels, s));
        if (label.isEmpty())
            label = QStringLiteral("Subset %1").arg(s + 1);
        out += QStringLiteral("\t%1 X\t%1 Y").arg(label);
    }
    out += QStringLiteral("\r\n");
    for (std::int32_t i = 0; i < o->Points(); ++i) {
        out += QString::number(i + 1);
        for (std::int32_t s = 0; s < o->Subsets(); ++s) {
            double x = o->GetElement2D(prop::XDataII, s, i);
            double y = o->GetElement2D(prop::YDataII, s, i);
            QString xs;
            if (dateTime) {
                QDateTime t = DateTimeFromDays(x);
                xs = locale.toString(t.date(), QLocale::ShortFormat) + QLatin1Char(' ') +
                     locale.toString(t.time(), QLocale::LongFormat);
            } else {
                xs = locale.toString(x, 'g', 12);
            }
            out += QLatin1Char('\t') + xs + QLatin1Char('\t') + locale.toString(y, 'g', 9);
        }
        out += QStringLiteral("\r\n");
    }
    return out;
}

bool ChartExportDialog(HCHART h)
{
    ChartObject *o = ChartFind(h);
    if (!o)
        return false;
    static const char *const kExt[] = {"png", "jpg", "bmp", "txt"};
    QString fileName = FromU16(o->GetText(rprop::ExportFileDef));
    int index = 1;
    if (!ChartDialogsService().SaveFileName(
            QStringLiteral("Export"),
            QStringLiteral("PNG image (*.png)|*.png|JPEG image (*.jpg)|*.jpg|"
                           "BMP image (*.bmp)|*.bmp|Text (*.txt)|*.txt"),
            fileName, index))
        return false;
    QString ext = QFileInfo(fileName).suffix().toLower();
    if (ext.isEmpty()) {
        ext = QString::fromLatin1(kExt[std::clamp(index, 1, 4) - 1]);
        fileName += QLatin1Char('.') + ext;
    }
    if (ext == QLatin1String("txt"))
        return WriteText(fileName, ChartDataText(h));
    if (ext == QLatin1String("jpg") || ext == QLatin1String("jpeg"))
        return ToFile(h, nullptr, fileName, "jpg");
    if (ext == QLatin1String("bmp"))
        return ToFile(h, nullptr, fileName, "bmp");
    return ToFile(h, nullptr, fileName, "png");
}

bool ChartTextExportDialog(HCHART h, std::int32_t, const std::u16string &text)
{
    if (!ChartFind(h))
        return false;
    QString fileName = FromU16(text);
    int index = 1;
    if (!ChartDialogsService().SaveFileName(QStringLiteral("Export text"),
                                            QStringLiteral("Text (*.txt)|*.txt"), fileName, index))
        return false;
    return WriteText(fileName, ChartDataText(h));
}

bool ChartPrintTo(HCHART h, ui::TPrinter &printer, const ChartPair *sizeMm)
{
    ChartObject *o = ChartFind(h);
    if (!o)
        return false;
    // The job is named after the window the chart stands in, not after the printer's last job.
    // It goes through the printer object, so that a job printed to a file replaces the file
    // only when the whole page was drawn and the job finished.
    if (!printer.Printing())
        printer.SetTitle(WindowCaption(*o));
    if (!printer.BeginDoc())
        return false;
    QPrinter &device = printer.QtPrinter();
    int res = device.resolution();
    QRect page = device.pageLayout().paintRectPixels(res);
    page.moveTo(0, 0);
    // The printable area of the page, whatever the shape of the chart's window; a size in
    // millimetres narrows it.
    QRect target = page;
    if (sizeMm && sizeMm->a > 0)
        target.setWidth(std::min(page.width(), int(sizeMm->a / 25.4 * res)));
    if (sizeMm && sizeMm->b > 0)
        target.setHeight(std::min(page.height(), int(sizeMm->b / 25.4 * res)));
    if (!ChartDrawToDC(h, *printer.Canvas(), target)) {
        printer.Abort();
        return false;
    }
    return printer.EndDoc();
}

bool ChartPrintDialog(HCHART h, std::int32_t flag, const ChartPair *pair)
{
    ChartObject *o = ChartFind(h);
    if (!o)
        return false;
    ui::TPrinter &current = ui::Printer();
    QPrinter &printer = current.QtPrinter();
    int orientation = o->Has(rprop::DefOrientation) ? o->GetInt(rprop::DefOrientation) : 1;
    if (orientation == 1)
        printer.setPageOrientation(QPageLayout::Landscape);
    else if (orientation == 2)
        printer.setPageOrientation(QPageLayout::Portrait);
    if (!ChartDialogsService().ExecPrintDialog(printer))
        return false;
    return ChartPrintTo(h, current, flag == 1 ? nullptr : pair);
}

bool ChartPrintGraph(HCHART h, std::int32_t, std::int32_t, std::int32_t orientation)
{
    if (!ChartFind(h))
        return false;
    ui::TPrinter &current = ui::Printer();
    QPrinter &printer = current.QtPrinter();
    if (orientation == 1)
        printer.setPageOrientation(QPageLayout::Landscape);
    else if (orientation == 2)
        printer.setPageOrientation(QPageLayout::Portrait);
    if (!ChartDialogsService().DefaultPrinter(printer))
        return false;
    return ChartPrintTo(h, current, nullptr);
}

bool ChartBmpToClip(HCHART h, const ChartPair *pair)
{
    return ToClip(h, pair);
}
bool ChartJpegToClip(HCHART h, const ChartPair *pair)
{
    return ToClip(h, pair);
}
bool ChartPngToClip(HCHART h, const ChartPair *pair)
{
    return ToClip(h, pair);
}
bool ChartBmpToFile(HCHART h, const ChartPair *pair, const std::u16string &fileName)
{
    return ToFile(h, pair, FromU16(fileName), "bmp");
}
bool ChartJpegToFile(HCHART h, const ChartPair *pair, const std::u16string &fileName)
{
    return ToFile(h, pair, FromU16(fileName), "jpg");
}
bool ChartPngToFile(HCHART h, const ChartPair *pair, const std::u16string &fileName)
{
    return ToFile(h, pair, FromU16(fileName), "png");
}
bool ChartMetaToClip(HCHART, const ChartPair *)
{
    return false;
}
bool ChartMetaToFile(HCHART, const ChartPair *, const std::u16string &)
{
    return false;
}

bool ChartMaximize(HCHART h)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    QDialog dialog(ParentWidget(v->Object()));
    dialog.setObjectName(QStringLiteral("ChartMaximizeDialog"));
    auto *layout = new QVBoxLayout(&dialog);
    auto *label = new QLabel(&dialog);
    label->setPixmap(QPixmap::fromImage(ChartRenderImage(h, 1024, 700)));
    layout->addWidget(label);
    ChartDialogsService().ExecDialog(dialog);
    return true;
}

bool ChartPopupMenu(HCHART h, const ChartPair *pair)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    ChartObject &o = v->Object();
    QMenu menu(ParentWidget(o));
    menu.setObjectName(QStringLiteral("ChartPopupMenu"));
    QAction *undo = menu.addAction(QStringLiteral("Undo Zoom"));
    undo->setEnabled(v->Zoomed());
    QAction *customize = nullptr, *exporting = nullptr, *maximize = nullptr;
    if (IntOr(o, rprop::AllowCustomization, 1) & 0xFF)
        customize = menu.addAction(QStringLiteral("Customization Dialog..."));
    if (IntOr(o, rprop::AllowExporting, 1) & 0xFF)
        exporting = menu.addAction(QStringLiteral("Export Dialog..."));
    if (IntOr(o, rprop::AllowMaximization, 1) & 0xFF)
        maximize = menu.addAction(QStringLiteral("Maximize..."));
    QAction *print = menu.addAction(QStringLiteral("Print..."));
    QPoint at(pair ? pair->a : 0, pair ? pair->b : 0);
    if (QWidget *w = ParentWidget(o))
        at = w->mapToGlobal(at);
    if (v->sink)
        v->sink->ChartNotify(h, code::PopupMenu);
    QAction *chosen = ChartDialogsService().ExecMenu(menu, at);
    if (!chosen)
        return true;
    if (chosen == undo)
        ChartSendMessage(h, msg::Command, std::uint32_t(msg::UndoZoomCommand), 0);
    else if (chosen == customize)
        ChartCustomizeDialog(h);
    else if (chosen == exporting)
        ChartExportDialog(h);
    else if (chosen == maximize)
        ChartMaximize(h);
    else if (chosen == print)
        ChartPrintDialog(h, 1, nullptr);
    return true;
}

bool ChartReinitCustoms(HCHART h)
{
    return ChartReinitialize(h);
}

bool ChartReset(HCHART h)
{
    ChartView *v = ViewOf(h);
    if (!v)
        return false;
    v->UndoZoom();
    ChartReinitialize(h);
    v->ResetImage();
    return true;
}

void ChartView::PopupMenu(QPoint at)
{
    ChartPair pair{at.x(), at.y()};
    ChartPopupMenu(FObject.Handle(), &pair);
}

} // namespace chartlib
