#include "views/open_save_form.h"

#include "controls/lang_form.h"
#include "controls/translation_data.h"
#include "i18n/base/lx_languages.h"
#include "platform/ui/ui_services.h"

#include <QGuiApplication>
#include <QPushButton>
#include <QScreen>
#include <QVBoxLayout>

namespace views {

TfrmOpenSave *frmOpenSave = nullptr;

TfrmOpenSave::TfrmOpenSave(i18n::TlxLangDispatcher *dispatcher, QWidget *parent)
    : QDialog(parent, Qt::Dialog | Qt::WindowStaysOnTopHint | Qt::WindowTitleHint |
                          Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint)
{
    setObjectName(QStringLiteral("frmOpenSave"));
    setWindowTitle(QStringLiteral("Save File"));
    auto button = [this](const char *name, const char *caption, ui::TModalResult result) {
        auto *b = new QPushButton(QString::fromLatin1(caption), this);
        b->setObjectName(QString::fromLatin1(name));
        b->setMinimumHeight(30);
        connect(b, &QPushButton::clicked, this, [this, result] { done(result); });
        return b;
    };
    btnOpenSets =
        button("btnOpenSets", "Save all data sets to a data set collection file(*.set)", ui::mrOk);
    btnOpenSingleSet =
        button("btnOpenSingleSet", "Save single selected  data set to a  file", ui::mrNo);
    Button1 = button("Button1", "Cancel", ui::mrCancel);
    btnOpenSets->setDefault(true);

    auto *layout = new QVBoxLayout(this);
    layout->setSpacing(8);
    layout->setContentsMargins(16, 16, 16, 16);
    layout->addWidget(btnOpenSets);
    layout->addWidget(btnOpenSingleSet);
    auto *cancel = new QHBoxLayout;
    cancel->addStretch(1);
    cancel->addWidget(Button1);
    cancel->addStretch(1);
    layout->addLayout(cancel);

    FForm = ui::CreateFormComponent(this, "TfrmOpenSave");
    lxLangLinked_frmOpenSave = controls::LoadFormTranslation<i18n::TlxLangLinked>(
        FForm, dispatcher, i18n::kLanguageCount, controls::TranslationData("TfrmOpenSave"));
    lxLangLinked_frmOpenSave->SetName("lxLangLinked_frmOpenSave");
    FitAndCentre();
}

TfrmOpenSave::~TfrmOpenSave()
{
    if (frmOpenSave == this)
        frmOpenSave = nullptr;
}

void TfrmOpenSave::FitAndCentre()
{
    // The choices stand one above the other at the width of the longest text.
    layout()->activate();
    resize(std::max(420, sizeHint().width()), sizeHint().height());
    QScreen *s = screen() ? screen() : QGuiApplication::primaryScreen();
    if (s)
        move(s->availableGeometry().center() - QPoint(width() / 2, height() / 2));
}

} // namespace views
