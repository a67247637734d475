#include "app/about_link.h"

#include "views/about_box.h"

#include <QLabel>

namespace app {

void ShowSplash(i18n::TlxLangDispatcher *dispatcher)
{
    views::frmAbout = new views::TfrmAbout(dispatcher); // owned by the application
    views::frmAbout->ShowSplash();
}

void CloseSplash()
{
    if (!views::frmAbout)
        return;
    views::frmAbout->Label4->setText(QString());
    views::frmAbout->close();
}

void ShowAboutBox(i18n::TlxLangDispatcher *dispatcher, QWidget *owner)
{
    if (!views::gAboutForm)
        views::gAboutForm = new views::TfrmAbout(dispatcher, owner);
    views::gAboutForm->ShowModal();
}

bool SplashShown()
{
    return views::frmAbout != nullptr;
}

} // namespace app
