// A layout that places its items left to right and starts a new row when
// the next one does not fit, so a row of labelled fields wraps instead of
// being cut off in a narrow window or a longer language.
#pragma once

#include <QLayout>
#include <QList>

namespace views {

class TFlowLayout : public QLayout {
public:
    explicit TFlowLayout(QWidget *parent = nullptr, int hSpacing = 12, int vSpacing = 4);
    ~TFlowLayout() override;

    void addItem(QLayoutItem *item) override;
    int count() const override { return int(FItems.size()); }
    QLayoutItem *itemAt(int index) const override;
    QLayoutItem *takeAt(int index) override;
    Qt::Orientations expandingDirections() const override { return {}; }
    bool hasHeightForWidth() const override { return true; }
    int heightForWidth(int width) const override;
    QSize minimumSize() const override;
    QSize sizeHint() const override;
    void setGeometry(const QRect &rect) override;

private:
    // Lays the items out in rect (or only measures); returns the height used.
    int Arrange(const QRect &rect, bool apply) const;

    QList<QLayoutItem *> FItems;
    int FHSpacing, FVSpacing;
};

} // namespace views
