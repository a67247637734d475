#include "views/about_box.h"

#include "controls/translation_data.h"
#include "controls/version_info.h"
#include "views/show_modal.h"

#include "controls/lang_form.h"
#include "i18n/base/lx_languages.h"
#include "i18n/lx_linked.h"
#include "platform/ui/app_application.h"
#include "platform/ui/caption_fit.h"
#include "platform/ui/component_adapters.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QElapsedTimer>
#include <QGridLayout>
#include <QGuiApplication>
#include <QLabel>
#include <QPushButton>
#include <QScreen>
#include <QThread>
#include <QWindow>

namespace views {

TfrmAbout *frmAbout = nullptr;
TfrmAbout *gAboutForm = nullptr;

namespace {

constexpr qint64 kSplashPaintLimitMs = 1000;

QLabel *MakeLabel(QWidget *parent, const char *name, const QString &text)
{
    auto *label = new QLabel(text, parent);
    label->setObjectName(QString::fromLatin1(name));
    return label;
}

void CentreOnScreen(QWidget *window)
{
    QScreen *screen = window->screen() ? window->screen() : QGuiApplication::primaryScreen();
    if (!screen)
        return;
    QRect area = screen->availableGeometry();
    window->move(area.center() - QPoint(window->width() / 2, window->height() / 2));
}

} // namespace

TfrmAbout::TfrmAbout(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::CustomizeWindowHint |
                          Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                          Qt::WindowCloseButtonHint | Qt::MSWindowsFixedSizeDialogHint)
{
    setObjectName(QStringLiteral("frmAbout"));
    setAttribute(Qt::WA_DeleteOnClose);
    setWindowTitle(QStringLiteral("About Nivora For Sound Level Meter"));

    Label1 = MakeLabel(this, "Label1", QStringLiteral("Version:"));
    Label2 = MakeLabel(this, "Label2", QString());
    Label3 = MakeLabel(this, "Label3", QStringLiteral("Sound Level Meter Software"));
    Label4 = MakeLabel(this, "Label4", QString());
    BitBtn1 = new QPushButton(QStringLiteral("OK"), this);
    BitBtn1->setObjectName(QStringLiteral("BitBtn1"));
    BitBtn1->setDefault(true);
    QFont title = Label3->font();
    title.setBold(true);
    Label3->setFont(title);

    auto *grid = new QGridLayout(this);
    grid->setContentsMargins(24, 20, 24, 16);
    grid->setHorizontalSpacing(8);
    grid->setVerticalSpacing(10);
    grid->addWidget(Label3, 0, 0, 1, 2);
    grid->addWidget(Label1, 1, 0);
    grid->addWidget(Label2, 1, 1);
    grid->addWidget(Label4, 2, 0, 1, 2);
    grid->addWidget(BitBtn1, 3, 0, 1, 2, Qt::AlignHCenter);
    grid->setColumnStretch(1, 1);
    connect(BitBtn1, &QPushButton::clicked, this, ui::GuardedSlot(this, &TfrmAbout::BitBtn1Click));

    // The stored components, read as the form loads: the version label,
    // then the translation component; each is told the form has loaded
    // once both exist.
    FForm = ui::CreateFormComponent(this, "TfrmAbout");
    VersionInfo1 = new controls::TVersionInfo(FForm);
    VersionInfo1->SetName("VersionInfo1");
    VersionInfo1->Loading();
    VersionInfo1->SetFileVersionLabel(
        dynamic_cast<ui::TLabelAdapter *>(FForm->FindComponent("Label2")));
    lxLangLinked_frmAbout = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        FForm, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmAbout"));
    lxLangLinked_frmAbout->SetName("lxLangLinked_frmAbout");
    VersionInfo1->Loaded();

    setMinimumWidth(320);
    ui::FitCaption(*this); // in the language of the translation just loaded
    adjustSize();
    setFixedSize(size());
    CentreOnScreen(this);
}

TfrmAbout::~TfrmAbout()
{
    ClearGlobals();
}

void TfrmAbout::ClearGlobals()
{
    if (frmAbout == this)
        frmAbout = nullptr;
    if (gAboutForm == this)
        gAboutForm = nullptr;
}

void TfrmAbout::ShowSplash()
{
    BitBtn1->hide();
    show();
    raise();
    // The main window goes on building, and then waits, before its message
    // loop runs. Under a window manager the window is mapped, and can be
    // painted, only some time after show(): until it has been painted on the
    // screen, let the window system's events in (a second at most).
    QElapsedTimer waited;
    waited.start();
    while (!FPaintedOnScreen && waited.elapsed() < kSplashPaintLimitMs) {
        QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents);
        if (FPaintedOnScreen)
            break;
        if (windowHandle() && windowHandle()->isExposed())
            repaint();
        else
            QThread::msleep(5);
    }
}

void TfrmAbout::paintEvent(QPaintEvent *event)
{
    QDialog::paintEvent(event);
    if (windowHandle() && windowHandle()->isExposed())
        FPaintedOnScreen = true;
}

int TfrmAbout::ShowModal()
{
    BitBtn1->show();
    return views::ShowModal(*this);
}

void TfrmAbout::BitBtn1Click()
{
    close();
}

void TfrmAbout::closeEvent(QCloseEvent *event)
{
    QDialog::closeEvent(event);
    if (event->isAccepted())
        ClearGlobals();
}

} // namespace views
