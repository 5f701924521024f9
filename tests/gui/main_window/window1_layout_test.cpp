// The main window as designed: names, places, texts and fonts.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "fakes/main_window_fixture.h"
#include "gui/app/menu_bar.h"
#include "gui/widgets/design.h"

namespace limenta::testing {
namespace {

struct Placed {
    const char* name;
    QRect place;
    const char* text;
    int pixelSize;
};

TEST(Window1Layout, EveryControlAtItsPlaceWithItsTextAndFont) {
    FakePlatform fake;
    QTemporaryDir dir;
    PrefsStore store(dir.filePath(QStringLiteral("PREFS")));
    Window1 w(fake.platform, store);  // before the open handler
    EXPECT_EQ(w.windowTitle(), "Adaptive PEST Procedure ");
    EXPECT_EQ(w.centralWidget()->size(), QSize(905, 690));
    EXPECT_EQ(w.centralWidget()->palette().color(QPalette::Window), QColor(191, 191, 191));

    const std::vector<Placed> controls{
        {"Canvas1", {9, 13, 550, 387}, nullptr, 0},
        {"GroupBox1", {570, 13, 315, 243}, "Getting Started", 12},
        {"StaticText1", {624, 33, 143, 20}, "Initial output value:", 12},
        {"EditField1", {769, 31, 60, 22}, "50", 16},
        {"StaticText3", {646, 58, 121, 20}, "Step Size:", 12},
        {"EditField4", {769, 56, 60, 22}, "7", 16},
        {"StaticText2", {641, 84, 126, 20}, "Diff. Threshold:", 12},
        {"EditField3", {769, 82, 60, 22}, ".45", 16},
        {"StaticText10", {580, 112, 100, 20}, "Voice Volume:", 12},
        {"Slider1", {685, 116, 173, 16}, nullptr, 12},
        {"StaticText11", {580, 136, 100, 20}, "Signal Volume:", 12},
        {"StaticText12", {580, 160, 100, 20}, "Click Volume:", 12},
        {"PushButton1", {586, 198, 80, 20}, "Start", 12},
        {"PushButton3", {690, 198, 80, 20}, "Reset", 12},
        {"PushButton4", {789, 198, 80, 20}, "Print/Save", 12},
        {"CheckBox1", {586, 228, 100, 20}, "Use ML-PEST", 12},
        {"PushButton6", {690, 226, 80, 20}, "Prefs", 12},
        {"PushButton2", {789, 226, 80, 20}, "Quit", 12},
        {"GroupBox3", {570, 268, 116, 132}, "Distance Correct", 12},
        {"StaticText16", {582, 289, 88, 24}, "Distance to M1:", 11},
        {"StaticText18", {575, 306, 48, 20}, "mm=", 12},
        {"EditField7", {624, 304, 40, 18}, "0", 13},
        {"StaticText17", {582, 335, 101, 15}, "Distance to target:", 11},
        {"EditField6", {624, 350, 40, 18}, "0", 13},
        {"BevelButton1", {582, 380, 82, 12}, "Adjust", 10},
        {"GroupBox2", {695, 268, 190, 132}, "Quick Reference", 12},
        {"PopupMenu1", {707, 294, 80, 20}, nullptr, 14},
        {"PopupMenu3", {707, 358, 80, 20}, nullptr, 14},
        {"StaticText7", {795, 293, 43, 20}, "###", 16},
        {"StaticText13", {838, 294, 43, 20}, "###", 16},
        {"StaticText15", {838, 357, 43, 20}, "###", 16},
        {"Line1", {672, 389, 188, 1}, nullptr, 0},
        {"Line2", {859, 377, 1, 13}, nullptr, 0},
        {"Line4", {663, 309, 10, 1}, nullptr, 0},
        {"EditField5", {9, 425, 411, 20}, "#    SETTING  ROUND MEP   DIFF", 16},
        {"EditField2", {9, 445, 411, 222}, nullptr, 16},
        {"StaticText6", {448, 425, 437, 39}, "", 24},
        {"StaticText5", {506, 478, 337, 35}, "", 24},
        {"StaticText4", {499, 503, 337, 166}, "", 170},
    };
    for (const Placed& c : controls) {
        const auto* control = w.findChild<QWidget*>(QLatin1String(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.place) << c.name;
        if (c.pixelSize != 0) {
            EXPECT_EQ(control->font().pixelSize(), c.pixelSize) << c.name;
        }
        if (c.text != nullptr) {
            QString text;
            if (const auto* label = qobject_cast<const QLabel*>(control)) {
                text = label->text();
            } else if (const auto* field = qobject_cast<const QLineEdit*>(control)) {
                text = field->text();
            } else if (const auto* button = qobject_cast<const QAbstractButton*>(control)) {
                text = button->text();
            } else if (const auto* group = qobject_cast<const QGroupBox*>(control)) {
                text = group->title();
            }
            EXPECT_EQ(text, c.text) << c.name;
        }
    }
    EXPECT_TRUE(w.StaticText4->font().bold());
    EXPECT_TRUE(w.StaticText7->font().bold());
    for (const QSlider* slider : {w.Slider1, w.Slider2, w.Slider3}) {
        EXPECT_EQ(slider->value(), 85);
        EXPECT_EQ(slider->maximum(), 100);
    }
    EXPECT_FALSE(w.CheckBox1->isChecked());
    EXPECT_EQ(textColour(w.StaticText13), QColor(150, 150, 150));
    EXPECT_EQ(w.Timer1->isActive(), false);
    EXPECT_EQ(w.stepnum, 0);
    EXPECT_EQ(w.nrstimulus, 0);
    EXPECT_EQ(w.myrmt, 0);
}

TEST(Window1Layout, TheDesignFontsResolveToRealFaces) {
    const QFontInfo times(designFont(QStringLiteral("Times"), 12));
    const QFontInfo courier(designFont(QStringLiteral("Courier"), 16));
    EXPECT_TRUE(courier.fixedPitch()) << courier.family().toStdString();
    EXPECT_FALSE(times.fixedPitch()) << times.family().toStdString();
}

TEST(MenuBar, FileAndEditItemsInOrder) {
    QWidget owner;
    QMenuBar* bar = createMenuBar1(&owner);
    const QList<QAction*> menus = bar->actions();
    ASSERT_EQ(menus.size(), 2);
    EXPECT_EQ(menus[0]->text(), "&File");
    EXPECT_EQ(menus[1]->text(), "&Edit");
    const QList<QAction*> file = menus[0]->menu()->actions();
    ASSERT_EQ(file.size(), 1);
    EXPECT_EQ(file[0]->text(), "Quit");
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(QKeySequence::Quit));
    QStringList edit;
    for (const QAction* action : menus[1]->menu()->actions()) {
        edit << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(edit, (QStringList{"&Undo", "-", "Cu&t", "&Copy", "&Paste", "Clear"}));
}

TEST(MenuBar, EditCommandsActOnTheFocusedField) {
    QWidget owner;
    QMenuBar* bar = createMenuBar1(&owner);
    auto* field = new QLineEdit(QStringLiteral("52"), &owner);
    owner.show();
    QApplication::setActiveWindow(&owner);
    field->setFocus();
    field->selectAll();
    bar->findChild<QAction*>(QStringLiteral("EditClear"))->trigger();
    EXPECT_EQ(field->text(), "");
    bar->findChild<QAction*>(QStringLiteral("EditUndo"))->trigger();
    EXPECT_EQ(field->text(), "52");
}

}  // namespace
}  // namespace limenta::testing
