// Qt widgets seen as the class library's components.
#include "platform/ui/component_adapters.h"

#include "platform/rtl/typinfo.h"

#include <QAction>
#include <QBoxLayout>
#include <QCheckBox>
#include <QComboBox>
#include <QFontMetrics>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMdiArea>
#include <QMdiSubWindow>
#include <QMenu>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QStatusBar>
#include <QToolBar>
#include <QToolButton>

#include <gtest/gtest.h>

#include <memory>

namespace {

template <class W> W *Named(QObject *parent, const char *name)
{
    W *w;
    if constexpr (std::is_base_of_v<QWidget, W>)
        w = new W(qobject_cast<QWidget *>(parent));
    else
        w = new W(parent);
    w->setObjectName(name);
    return w;
}

std::string ClassOf(ui::TFormAdapter *form, const char *name)
{
    rtl::TComponent *c = form->FindComponent(name);
    return c ? c->ClassName() : std::string("(none)");
}

} // namespace

TEST(ComponentAdapters, WidgetsGetTheClassLibrarysClasses)
{
    QWidget window;
    Named<QLabel>(&window, "lblA");
    Named<QPushButton>(&window, "btnRun");
    Named<QToolButton>(&window, "sbZoom");
    auto *toolBar = Named<QToolBar>(&window, "ToolBar1");
    Named<QToolButton>(toolBar, "tbOpen");
    Named<QCheckBox>(&window, "chkA");
    Named<QRadioButton>(&window, "rbA");
    Named<QGroupBox>(&window, "gbA");
    Named<QLineEdit>(&window, "edtA");
    Named<QLineEdit>(&window, "medtA")->setInputMask("99:99");
    Named<QComboBox>(&window, "cmbA");
    Named<QListWidget>(&window, "lbA");
    Named<QPlainTextEdit>(&window, "memA");
    Named<QStatusBar>(&window, "StatusBar1");
    Named<QAction>(&window, "mnuExit");
    Named<QMenu>(&window, "File1");
    Named<QWidget>(&window, "pnlGraph");
    Named<QLabel>(&window, "lblA");       // a second "lblA": the first keeps the name
    Named<QLabel>(&window, "qt_private"); // Qt's own objects are left out
    Named<QLabel>(&window, "not valid");

    ui::TFormAdapter *form = ui::CreateFormComponent(&window, "TfrmMain");
    EXPECT_EQ(form->ClassName(), "TfrmMain");
    EXPECT_TRUE(form->InheritsFrom(std::string("TCustomForm")));
    EXPECT_EQ(ui::FormComponentOf(&window), form);
    const std::pair<const char *, const char *> expected[] = {
        {"lblA", "TLabel"},           {"btnRun", "TButton"},    {"sbZoom", "TSpeedButton"},
        {"tbOpen", "TToolButton"},    {"chkA", "TCheckBox"},    {"rbA", "TRadioButton"},
        {"gbA", "TGroupBox"},         {"edtA", "TEdit"},        {"medtA", "TMaskEdit"},
        {"cmbA", "TComboBox"},        {"lbA", "TListBox"},      {"memA", "TMemo"},
        {"StatusBar1", "TStatusBar"}, {"mnuExit", "TMenuItem"}, {"File1", "TMenuItem"},
        {"pnlGraph", "TControl"},     {"qt_private", "(none)"}, {"ToolBar1", "TControl"}};
    for (const auto &[name, cls] : expected)
        EXPECT_EQ(ClassOf(form, name), cls) << name;
    EXPECT_TRUE(form->FindComponent("cmbA")->InheritsFrom(std::string("TCustomListControl")));
    EXPECT_TRUE(form->FindComponent("memA")->InheritsFrom(std::string("TCustomMemo")));
    EXPECT_EQ(form->ComponentCount(), 17);
}

TEST(ComponentAdapters, PropertiesReachTheWidgetsInWindows1252)
{
    QWidget window;
    auto *label = Named<QLabel>(&window, "lblA");
    auto *menu = Named<QMenu>(&window, "File1");
    auto *action = Named<QAction>(&window, "mnuExit");
    auto *combo = Named<QComboBox>(&window, "cmbA");
    combo->addItems({"alpha", "beta"});
    ui::TFormAdapter *form = ui::CreateFormComponent(&window, "TfrmMain");

    rtl::SetStrProp(form->FindComponent("lblA"), "Caption", "caf\xE9 \x80");
    EXPECT_EQ(label->text(), QString::fromUtf8("caf\u00e9 \u20ac"));
    EXPECT_EQ(rtl::GetStrProp(form->FindComponent("lblA"), "Caption"), "caf\xE9 \x80");
    rtl::SetStrProp(form->FindComponent("File1"), "Caption", "&Datei");
    EXPECT_EQ(menu->title(), "&Datei");
    // An ampersand before a blank marks no key and shows as written; one
    // before a letter and a doubled one keep their meaning. The captions
    // read back as they were given.
    for (const char *caption : {"Change Date & Time", "E&xit", "Salt && Pepper", "Rock &"}) {
        rtl::SetStrProp(form->FindComponent("mnuExit"), "Caption", caption);
        EXPECT_EQ(rtl::GetStrProp(form->FindComponent("mnuExit"), "Caption"), caption);
    }
    rtl::SetStrProp(form->FindComponent("mnuExit"), "Caption", "Change Date & Time");
    EXPECT_EQ(action->text(), "Change Date && Time");
    rtl::SetStrProp(form->FindComponent("File1"), "Caption", "&Datei & Co");
    EXPECT_EQ(menu->title(), "&Datei && Co");
    rtl::SetStrProp(form->FindComponent("File1"), "Caption", "&Datei");
    rtl::SetStrProp(form->FindComponent("mnuExit"), "Hint", "Quit");
    EXPECT_EQ(action->statusTip(), "Quit");
    rtl::SetStrProp(form, "Caption", "Main");
    rtl::SetStrProp(form, "Hint", "tip");
    EXPECT_EQ(window.windowTitle(), "Main");
    EXPECT_EQ(window.toolTip(), "tip");

    // A non-editable combo box's Text selects the matching item.
    rtl::SetStrProp(form->FindComponent("cmbA"), "Text", "beta");
    EXPECT_EQ(combo->currentIndex(), 1);

    // Fonts: name through the font object; ParentFont resets it.
    rtl::TComponent *lbl = form->FindComponent("lblA");
    EXPECT_EQ(rtl::GetOrdProp(lbl, "ParentFont"), 1);
    rtl::TObject *font = rtl::GetObjectProp(lbl, "Font");
    rtl::SetStrProp(font, "Name", "Serif");
    EXPECT_EQ(label->font().family(), "Serif");
    EXPECT_EQ(rtl::GetOrdProp(lbl, "ParentFont"), 0);
    rtl::SetOrdProp(lbl, "ParentFont", 1);
    EXPECT_NE(label->font().family(), "Serif");
}

TEST(ComponentAdapters, ControlBackedLists)
{
    QWidget window;
    auto *list = Named<QListWidget>(&window, "lbA");
    auto *memo = Named<QPlainTextEdit>(&window, "memA");
    ui::TFormAdapter *form = ui::CreateFormComponent(&window, "TfrmList");

    auto *items =
        static_cast<rtl::TStrings *>(rtl::GetObjectProp(form->FindComponent("lbA"), "Items"));
    items->Add("un");
    items->Add("deux");
    rtl::TPersistent marker;
    items->PutObject(1, &marker);
    items->Put(1, "zwei");
    EXPECT_EQ(list->item(1)->text(), "zwei");
    EXPECT_EQ(items->Objects(1), &marker); // the object stays with its line
    EXPECT_THROW(items->Strings(2), rtl::EListError);
    items->Insert(0, "\xE9t\xE9");
    EXPECT_EQ(list->item(0)->text(), QString::fromUtf8("\u00e9t\u00e9"));

    auto *lines =
        static_cast<rtl::TStrings *>(rtl::GetObjectProp(form->FindComponent("memA"), "Lines"));
    EXPECT_EQ(lines->Count(), 0); // an empty memo has no lines
    lines->SetText("a\r\nb\r\n");
    EXPECT_EQ(memo->toPlainText(), "a\nb");
    lines->Delete(0);
    EXPECT_EQ(lines->Text(), "b\r\n");
    // An empty first line survives the line that follows it.
    lines->Put(0, "");
    lines->Add("c");
    EXPECT_EQ(memo->toPlainText(), "\nc");
    EXPECT_EQ(lines->Count(), 2);
    lines->Clear();
    EXPECT_EQ(lines->Count(), 0);
}

TEST(ComponentAdapters, LabelsSizeThemselvesToANewCaption)
{
    QWidget window;
    window.resize(400, 200);
    auto *left = Named<QLabel>(&window, "lblLeft");
    auto *right = Named<QLabel>(&window, "lblRight");
    auto *centred = Named<QLabel>(&window, "lblCentre");
    for (QLabel *l : {left, right, centred})
        l->setText("No Connection");
    right->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    centred->setAlignment(Qt::AlignCenter);
    left->setGeometry(10, 10, 80, 20);
    right->setGeometry(10, 40, 80, 20);
    centred->setGeometry(10, 70, 80, 20);
    ui::TFormAdapter *form = ui::CreateFormComponent(&window, "TfrmPanel");

    const std::string text = "Nessuna connessione, ancora";
    for (const char *name : {"lblLeft", "lblRight", "lblCentre"})
        rtl::SetStrProp(form->FindComponent(name), "Caption", text);
    const int wide = QFontMetrics(left->font()).horizontalAdvance(QString::fromStdString(text));
    for (QLabel *l : {left, right, centred})
        EXPECT_GE(l->width(), wide) << l->objectName().toStdString();
    EXPECT_EQ(left->x(), 10);                             // left edge kept
    EXPECT_EQ(right->geometry().right(), 89);             // right edge kept
    EXPECT_NEAR(centred->geometry().center().x(), 49, 1); // centre kept

    // A label a layout places is left to the layout.
    QWidget boxed;
    auto *layout = new QVBoxLayout(&boxed);
    auto *inner = new QHBoxLayout;
    layout->addLayout(inner);
    auto *laidOut = Named<QLabel>(&boxed, "lblLaidOut");
    inner->addWidget(laidOut);
    laidOut->setGeometry(5, 5, 20, 10);
    ui::TFormAdapter *boxedForm = ui::CreateFormComponent(&boxed, "TfrmBox");
    rtl::SetStrProp(boxedForm->FindComponent("lblLaidOut"), "Caption", text);
    EXPECT_EQ(laidOut->geometry(), QRect(5, 5, 20, 10));
}

TEST(ComponentAdapters, FontsSizedInPixelsStayInPixels)
{
    QWidget window;
    auto *label = Named<QLabel>(&window, "lblNoConnection");
    QFont big("DejaVu Sans");
    big.setPixelSize(20);
    label->setFont(big);
    ui::TFormAdapter *form = ui::CreateFormComponent(&window, "TfrmPanel");

    rtl::TComponent *lbl = form->FindComponent("lblNoConnection");
    rtl::TObject *font = rtl::GetObjectProp(lbl, "Font");
    EXPECT_EQ(rtl::GetOrdProp(font, "Height"), -20);
    EXPECT_EQ(rtl::GetOrdProp(font, "Size"), 15);
    // A font row writes the name and the font back: the size stays 20 pixels.
    rtl::SetStrProp(font, "Name", "DejaVu Serif");
    rtl::SetObjectProp(lbl, "Font", font);
    EXPECT_EQ(label->font().family(), "DejaVu Serif");
    EXPECT_EQ(label->font().pixelSize(), 20);
    // Writing Size makes it a point size.
    rtl::SetOrdProp(font, "Size", 12);
    EXPECT_EQ(label->font().pointSize(), 12);
    EXPECT_EQ(label->font().pixelSize(), -1);
    rtl::SetOrdProp(font, "Height", -13);
    EXPECT_EQ(label->font().pixelSize(), 13);
}

TEST(ComponentAdapters, AWindowsPlacementIsPublishedThroughItsFrame)
{
    // In the MDI area the placement is the sub-window's, frame and all.
    QMdiArea area;
    area.resize(800, 600);
    area.show();
    auto *window = new QWidget;
    window->setObjectName("frmGraph");
    window->resize(300, 200);
    QMdiSubWindow *sub = area.addSubWindow(window);
    sub->show();
    ui::TFormAdapter *form = ui::CreateFormComponent(window, "TfrmGraph");
    rtl::SetOrdProp(form, "Left", 40);
    rtl::SetOrdProp(form, "Top", 30);
    rtl::SetOrdProp(form, "Width", 350);
    rtl::SetOrdProp(form, "Height", 250);
    EXPECT_EQ(sub->geometry(), QRect(40, 30, 350, 250));
    EXPECT_EQ(rtl::GetOrdProp(form, "Left"), 40);
    EXPECT_EQ(rtl::GetOrdProp(form, "Height"), 250);
    EXPECT_EQ(rtl::GetEnumProp(form, "WindowState"), "wsNormal");
    rtl::SetEnumProp(form, "WindowState", "wsMaximized");
    EXPECT_TRUE(sub->isMaximized());
    EXPECT_EQ(rtl::GetEnumProp(form, "WindowState"), "wsMaximized");
    rtl::SetEnumProp(form, "WindowState", "wsNormal");
    EXPECT_FALSE(sub->isMaximized());
}
