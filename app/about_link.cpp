#include "app/about_link.h"

#ifdef NIVORA_HAVE_ABOUT_BOX
#include "views/about_box.h"

#include <QLabel>
#endif

namespace app {

#ifdef NIVORA_HAVE_ABOUT_BOX

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

#else

// MINIMAL CALL SITE: the About box is not in the build yet.
void ShowSplash(i18n::TlxLangDispatcher *) {}
void CloseSplash() {}
void ShowAboutBox(i18n::TlxLangDispatcher *, QWidget *) {}
bool SplashShown()
{
    return false;
}

#endif

} // namespace app
