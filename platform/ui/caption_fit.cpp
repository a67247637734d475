#include "platform/ui/caption_fit.h"

#include <QFontDatabase>
#include <QFontMetrics>
#include <QFormLayout>
#include <QGridLayout>
#include <QGuiApplication>
#include <QScreen>
#include <QStyle>
#include <QWidget>

#include <algorithm>

namespace ui {

namespace {

const char *const kStrutName = "nivoraCaptionStrut";

QFont TitleFont(const QWidget &window)
{
    QFont title = QFontDatabase::systemFont(QFontDatabase::TitleFont);
    QFont own = window.font();
    title.setBold(true);
    own.setBold(true);
    return QFontMetrics(own).height() > QFontMetrics(title).height() ? own : title;
}

} // namespace

int CaptionWidth(const QWidget &window)
{
    const QFontMetrics metrics(TitleFont(window));
    // A title bar of the style's height or the font's, whichever is
    // higher; its icon and buttons are about as wide as it is high, and
    // the frame and the room around the caption take one more.
    const int bar =
        std::max(window.style()->pixelMetric(QStyle::PM_TitleBarHeight, nullptr, &window),
                 metrics.height() + 6);
    int width = metrics.horizontalAdvance(window.windowTitle()) + 5 * bar;
    if (const QScreen *screen =
            window.screen() ? window.screen() : QGuiApplication::primaryScreen())
        width = std::min(width, screen->availableGeometry().width());
    return width;
}

void FitCaption(QWidget &window)
{
    const int width = CaptionWidth(window);
    if (QLayout *layout = window.layout()) {
        // A strut of no height as wide as the caption needs, in the layout.
        auto *strut = window.findChild<QWidget *>(QString::fromLatin1(kStrutName),
                                                  Qt::FindDirectChildrenOnly);
        if (!strut) {
            strut = new QWidget(&window);
            strut->setObjectName(QString::fromLatin1(kStrutName));
        }
        if (layout->indexOf(strut) < 0) {
            if (auto *grid = qobject_cast<QGridLayout *>(layout))
                grid->addWidget(strut, grid->rowCount(), 0, 1, std::max(1, grid->columnCount()));
            else if (auto *form = qobject_cast<QFormLayout *>(layout))
                form->addRow(strut);
            else
                layout->addWidget(strut);
        }
        const QMargins margins = layout->contentsMargins();
        strut->setFixedSize(std::max(0, width - margins.left() - margins.right()), 0);
        strut->show();
        layout->activate();
    }
    if (window.width() >= width)
        return;
    if (window.minimumWidth() == window.maximumWidth())
        window.setFixedWidth(width);
    else
        window.resize(width, window.height());
}

} // namespace ui
