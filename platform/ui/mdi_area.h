// The MDI client area of the main window on QMdiArea: no border; scroll bars
// only while a child window reaches past the visible area. No child's size
// ever makes the area (and with it the main window) larger. Child windows
// (forms, plain QWidgets) are added with AddChild, which wraps each in a
// sub-window the area owns; a child closed by the user or by close() is
// deleted together with its sub-window. A form can veto its close in its
// closeEvent (the close query).
//
// Closing the main window asks first and closes afterwards: QueryCloseChildren
// asks every form that may refuse (a TCloseQuery) and closes none of them;
// CloseAllChildren then closes them all, and a form that has already agreed
// finds CloseAgreed(this) true in its closeEvent and does not ask again.
// A question runs a message loop, in which a form that agreed may take new
// data (a running measurement adds to it); one whose ChangedSinceAgreed is
// then true is asked again before QueryCloseChildren agrees.
#pragma once

#include <QMdiArea>

#include <functional>
#include <type_traits>

class QMdiSubWindow;

namespace ui {

// A child form whose close may be refused (it holds unsaved data).
class TCloseQuery {
public:
    // Asks what the form must ask before it closes (and saves when told to);
    // false keeps the form open with its data.
    virtual bool CloseQuery() = 0;
    // After CloseQuery agreed: whether the form has since taken data that
    // its agreement does not cover, so that it must be asked again.
    virtual bool ChangedSinceAgreed() { return false; }

protected:
    ~TCloseQuery() = default;
};

// True while the form is being closed after it agreed in QueryCloseChildren.
bool CloseAgreed(const QWidget *form);

// The least height Tile and Cascade give a chart in a child window (a widget
// marked with MarkChart): its axes with their labels and a plot of about
// 160 pixels to read levels on.
inline constexpr int kUsableChartHeight = 240;
// Marks a widget of a child form as a chart that Tile and Cascade keep at
// least kUsableChartHeight high.
void MarkChart(QWidget *chart);

class TMdiArea : public QMdiArea {
    Q_OBJECT
public:
    explicit TMdiArea(QWidget *parent = nullptr);

    // Adds a form as a child window and shows it. flags: extra window flags
    // of the sub-window (Qt::FramelessWindowHint for a window without a
    // title bar). The sub-window takes the form's size and caption; one that
    // the area would show only in part is moved to where it shows whole (or
    // its top left part, when it is larger than the area).
    QMdiSubWindow *AddChild(QWidget *form, Qt::WindowFlags flags = {});

    // The forms of the child windows in creation order.
    QList<QWidget *> Children() const;
    int ChildCount() const { return static_cast<int>(Children().size()); }
    // The active child's form, nullptr when none is active.
    QWidget *ActiveChild() const;
    template <class T> T *ActiveChildAs() const { return qobject_cast<T *>(ActiveChild()); }
    // The first child whose form satisfies the test / has the caption.
    QWidget *FindChild(const std::function<bool(QWidget *)> &test) const;
    QWidget *FindChildByCaption(const QString &caption) const;
    template <class T> T *FindChildOf() const
    {
        return qobject_cast<T *>(FindChild([](QWidget *w) { return qobject_cast<T *>(w); }));
    }
    // The sub-window that holds a form (nullptr when it is none of ours).
    QMdiSubWindow *SubWindowOf(const QWidget *form) const;

    // Brings a child to the front and activates it.
    void Activate(QWidget *form);
    // Restores a minimised or maximised child to normal and activates it.
    void Restore(QWidget *form);
    // Minimises a child.
    void Minimize(QWidget *form);
    // Moves and sizes a child's window in area coordinates.
    void SetChildGeometry(QWidget *form, const QRect &rect);
    void MoveChild(QWidget *form, const QPoint &topLeft);

    // Window > Tile and Window > Cascade (mdi_arrange.cpp), inside the
    // visible area; the main window keeps its size. A child of fixed size
    // (the front panel) keeps its size and place, moved only as far as it
    // takes to show it whole; the others are arranged in the largest part of
    // the area beside it. Every window gets at least what it needs: its
    // layout's minimum size at its width (fields that wrap need more rows
    // when narrower) and kUsableChartHeight for each chart it holds. Tile
    // gives them cells in rows, each row as high as its windows need and
    // the height left shared in proportion to those needs; Cascade stacks
    // them, each caption bar below and right of the one before, every window
    // with its caption bar inside the area and at least half of the area's
    // height. Where the visible area cannot hold the windows so, it scrolls
    // (a window larger than the area comes after those that fit).
    // Minimised children stay where they are; maximised ones are restored.
    void Tile();
    void Cascade();
    // What the area needs at least: never its children's sizes (a smaller
    // area scrolls).
    QSize minimumSizeHint() const override;

    // Asks every child that may refuse its close, last made first, and
    // closes none: false at the first refusal (then no child counts as
    // having agreed, and the rest are not asked). Children whose data
    // changed after they agreed are asked again, until none has.
    bool QueryCloseChildren();
    // Asks every child to close, last made first; false (and the rest kept)
    // when one refuses. The children that agreed in QueryCloseChildren are
    // not asked again.
    bool CloseAllChildren();

signals:
    // The form of the child window that became active (nullptr: none). Its
    // handlers run guarded: an error is shown and goes no further.
    void childActivated(QWidget *form);

protected:
    bool eventFilter(QObject *watched, QEvent *event) override;

private:
    void KeepInView(QMdiSubWindow *sub, QMdiSubWindow *previous);
    // mdi_arrange.cpp: the children to arrange (not minimised, not closing,
    // restored to normal); the part of the area the others go in, beside
    // the fixed ones, which are made whole in it first (FreePart): the part
    // the scroll bars leave when overflows says the windows do not fit in
    // the part of the whole area.
    QList<QMdiSubWindow *> ArrangedSubWindows(QMdiArea::WindowOrder order) const;
    QRect ArrangeArea(const QList<QMdiSubWindow *> &fixed,
                      const std::function<bool(const QRect &)> &overflows);
    static QRect FreePart(const QRect &area, const QList<QMdiSubWindow *> &fixed);
    QList<QMdiSubWindow *> OpenSubWindows() const; // last made first
    void ForgetCloseAgreements();

    QWidget *FForwarding = nullptr; // the form whose own close is being asked
};

} // namespace ui
