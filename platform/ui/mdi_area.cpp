#include "platform/ui/mdi_area.h"

#include "platform/ui/app_application.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QMdiSubWindow>
#include <QPointer>
#include <QStyle>

#include <algorithm>

namespace ui {

TMdiArea::TMdiArea(QWidget *parent) : QMdiArea(parent)
{
    setFrameShape(QFrame::NoFrame);
    setHorizontalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setVerticalScrollBarPolicy(Qt::ScrollBarAsNeeded);
    setActivationOrder(QMdiArea::ActivationHistoryOrder);
    // Activation comes from inside Qt's own handling: the handlers of
    // childActivated have their errors shown here.
    connect(this, &QMdiArea::subWindowActivated, this, GuardedSlot([this](QMdiSubWindow *sub) {
                emit childActivated(sub ? sub->widget() : nullptr);
            }));
}

QMdiSubWindow *TMdiArea::AddChild(QWidget *form, Qt::WindowFlags flags)
{
    const QSize size = form->size();
    QMdiSubWindow *previous = activeSubWindow();
    auto *sub = new QMdiSubWindow(this, flags);
    sub->setAttribute(Qt::WA_DeleteOnClose);
    sub->setWidget(form);
    form->setAttribute(Qt::WA_DeleteOnClose, false); // the sub-window deletes it
    addSubWindow(sub);
    sub->installEventFilter(this);
    form->installEventFilter(this);
    sub->setWindowTitle(form->windowTitle());
    sub->show();
    // The form keeps its size; the sub-window grows by its frame.
    if (size.isValid() && form->size() != size)
        sub->resize(sub->size() + (size - form->size()));
    KeepInView(sub, previous);
    return sub;
}

void TMdiArea::KeepInView(QMdiSubWindow *sub, QMdiSubWindow *previous)
{
    const QRect area = viewport()->rect();
    if (area.isEmpty() || area.contains(sub->geometry()))
        return;
    // Cascaded below and right of the window that was active, pushed back
    // as far as it takes to show it whole (its top left corner first).
    const int step = sub->style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, sub);
    QPoint at = previous && previous != sub ? previous->pos() + QPoint(step, step) : QPoint();
    at.setX(std::max(0, std::min(at.x(), area.width() - sub->width())));
    at.setY(std::max(0, std::min(at.y(), area.height() - sub->height())));
    sub->move(at);
}

namespace {
const char *const kSubClosing = "nivoraSubWindowClosing";
const char *const kSubClosed = "nivoraSubWindowClosed"; // waiting to be deleted
const char *const kCloseAgreed = "nivoraCloseAgreed";   // agreed in QueryCloseChildren
} // namespace

bool CloseAgreed(const QWidget *form)
{
    return form && form->property(kCloseAgreed).toBool();
}

bool TMdiArea::eventFilter(QObject *watched, QEvent *event)
{
    if (event->type() != QEvent::Close)
        return QMdiArea::eventFilter(watched, event);
    // The sub-window is closing (close box, CloseAllChildren): it asks its
    // form itself; let that question through.
    if (auto *sub = qobject_cast<QMdiSubWindow *>(watched)) {
        if (sub->widget())
            sub->setProperty(kSubClosing, true);
        return QMdiArea::eventFilter(watched, event);
    }
    auto *form = qobject_cast<QWidget *>(watched);
    QMdiSubWindow *sub = SubWindowOf(form);
    if (!form || !sub || form == FForwarding)
        return QMdiArea::eventFilter(watched, event);
    if (sub->property(kSubClosing).toBool()) {
        sub->setProperty(kSubClosing, QVariant());
        return QMdiArea::eventFilter(watched, event);
    }
    // The form closes itself (close()): ask it once, and when it agrees the
    // window goes with it.
    QPointer<QWidget> guard = form;
    FForwarding = form;
    QCoreApplication::sendEvent(form, event);
    FForwarding = nullptr;
    if (guard && event->isAccepted()) {
        sub->setProperty(kSubClosed, true);
        sub->hide();
        sub->deleteLater();
    }
    return true;
}

QList<QWidget *> TMdiArea::Children() const
{
    QList<QWidget *> forms;
    for (QMdiSubWindow *sub : subWindowList(QMdiArea::CreationOrder)) {
        if (sub->widget() && !sub->property(kSubClosed).toBool())
            forms << sub->widget();
    }
    return forms;
}

QWidget *TMdiArea::ActiveChild() const
{
    QMdiSubWindow *sub = activeSubWindow();
    return sub && !sub->property(kSubClosed).toBool() ? sub->widget() : nullptr;
}

QWidget *TMdiArea::FindChild(const std::function<bool(QWidget *)> &test) const
{
    for (QWidget *form : Children()) {
        if (test(form))
            return form;
    }
    return nullptr;
}

QWidget *TMdiArea::FindChildByCaption(const QString &caption) const
{
    return FindChild([&caption](QWidget *w) { return w->windowTitle() == caption; });
}

QMdiSubWindow *TMdiArea::SubWindowOf(const QWidget *form) const
{
    if (!form)
        return nullptr;
    for (QMdiSubWindow *sub : subWindowList()) {
        if (sub->widget() == form)
            return sub;
    }
    return nullptr;
}

void TMdiArea::Activate(QWidget *form)
{
    if (QMdiSubWindow *sub = SubWindowOf(form)) {
        sub->raise();
        setActiveSubWindow(sub);
    }
}

void TMdiArea::Restore(QWidget *form)
{
    if (QMdiSubWindow *sub = SubWindowOf(form)) {
        sub->showNormal();
        Activate(form);
    }
}

void TMdiArea::Minimize(QWidget *form)
{
    if (QMdiSubWindow *sub = SubWindowOf(form))
        sub->showMinimized();
}

void TMdiArea::SetChildGeometry(QWidget *form, const QRect &rect)
{
    if (QMdiSubWindow *sub = SubWindowOf(form))
        sub->setGeometry(rect);
}

void TMdiArea::MoveChild(QWidget *form, const QPoint &topLeft)
{
    if (QMdiSubWindow *sub = SubWindowOf(form))
        sub->move(topLeft);
}

QList<QMdiSubWindow *> TMdiArea::OpenSubWindows() const
{
    QList<QMdiSubWindow *> subs;
    const QList<QMdiSubWindow *> all = subWindowList(QMdiArea::CreationOrder);
    for (auto it = all.rbegin(); it != all.rend(); ++it)
        if (!(*it)->property(kSubClosed).toBool())
            subs << *it;
    return subs;
}

void TMdiArea::ForgetCloseAgreements()
{
    for (QMdiSubWindow *sub : subWindowList())
        if (sub->widget())
            sub->widget()->setProperty(kCloseAgreed, QVariant());
}

bool TMdiArea::QueryCloseChildren()
{
    ForgetCloseAgreements();
    // A question runs a message loop: a window may go meanwhile.
    QList<QPointer<QMdiSubWindow>> subs;
    for (QMdiSubWindow *sub : OpenSubWindows())
        subs << sub;
    // One round asks every child that must be asked: all of them first,
    // then those whose data changed after they agreed; false when one
    // refuses, and whether any was asked.
    auto round = [&subs](bool again, bool &asked) {
        for (const QPointer<QMdiSubWindow> &sub : subs) {
            QWidget *form = sub ? sub->widget() : nullptr;
            auto *query = dynamic_cast<TCloseQuery *>(form);
            if (!query || (again && !query->ChangedSinceAgreed()))
                continue;
            asked = true;
            QPointer<QWidget> guard = form;
            if (!query->CloseQuery())
                return false;
            if (guard)
                guard->setProperty(kCloseAgreed, true);
        }
        return true;
    };
    bool agreed = true;
    try {
        bool asked = true;
        for (bool again = false; agreed && asked; again = true) {
            asked = false;
            agreed = round(again, asked);
        }
    } catch (...) {
        ForgetCloseAgreements();
        throw;
    }
    if (!agreed)
        ForgetCloseAgreements();
    return agreed;
}

bool TMdiArea::CloseAllChildren()
{
    QList<QPointer<QMdiSubWindow>> subs;
    for (QMdiSubWindow *sub : OpenSubWindows())
        subs << sub;
    bool closed = true;
    for (const QPointer<QMdiSubWindow> &sub : subs)
        if (sub && !sub->close()) {
            closed = false;
            break;
        }
    // The windows left open ask again at their next close.
    ForgetCloseAgreements();
    return closed;
}

} // namespace ui
