// Modal dialogs answered by a test: an action run on the dialog of a given
// type as soon as it is the active modal window, and a name typed into Qt's
// file dialog.
#pragma once

#include <QApplication>
#include <QDialog>
#include <QFileDialog>
#include <QFileSystemModel>
#include <QLineEdit>
#include <QPointer>
#include <QTimer>

#include <functional>
#include <memory>

namespace testsupport {

template <class T> void WhenModal(std::function<void(T *)> act)
{
    auto *timer =
        new QTimer(QCoreApplication::instance()); // freed with the application at the latest
    QObject::connect(timer, &QTimer::timeout, [timer, act] {
        if (auto *dialog = qobject_cast<T *>(QApplication::activeModalWidget())) {
            timer->stop();
            timer->deleteLater();
            act(dialog);
        }
    });
    timer->start(5);
}

// Types name into the next file dialog (after choosing its name filter
// nameFilter, 0-based, when given) once it lists its folder, as a user does,
// and presses its Open or Save button. A dialog that does not close on that,
// and any box it shows, are cancelled a moment later, so that a test fails
// instead of waiting for a user.
inline void TypeIntoFileDialog(const QString &name, int nameFilter = -1)
{
    WhenModal<QFileDialog>([name, nameFilter](QFileDialog *d) {
        const QPointer<QFileDialog> dialog(d);
        auto typed = std::make_shared<bool>(false);
        auto type = [name, nameFilter, dialog, typed] {
            if (!dialog || *typed)
                return;
            *typed = true;
            if (nameFilter >= 0)
                dialog->selectNameFilter(dialog->nameFilters().value(nameFilter));
            if (auto *edit = dialog->findChild<QLineEdit *>(QStringLiteral("fileNameEdit")))
                edit->setText(name);
            auto *closer = new QTimer(QCoreApplication::instance());
            QObject::connect(closer, &QTimer::timeout, [closer, dialog] {
                if (!dialog || !dialog->isVisible()) {
                    closer->stop();
                    closer->deleteLater();
                } else if (auto *top = qobject_cast<QDialog *>(QApplication::activeModalWidget())) {
                    top->reject();
                }
            });
            closer->start(250);
            QMetaObject::invokeMethod(dialog, "accept", Qt::QueuedConnection);
        };
        // The folder is listed by a thread of its own, which may have ended
        // already: a moment is plenty.
        if (auto *model = d->findChild<QFileSystemModel *>())
            QObject::connect(model, &QFileSystemModel::directoryLoaded, d, type);
        QTimer::singleShot(300, d, type);
    });
}

} // namespace testsupport
