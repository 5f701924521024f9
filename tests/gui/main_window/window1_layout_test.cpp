// The main window as designed: its places table, and the controls built from it.
#include <QApplication>
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QSlider>
#include <QStatusBar>
#include <QTimer>
#include <algorithm>
#include <set>
#include <string_view>

#include "core/trial/response_keys.h"
#include "gui/app/menu_bar.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/main_window/window1_places.h"
#include "gui/widgets/design.h"
#include "gui/widgets/line_control.h"

namespace limenta::testing {
namespace {

struct Designed {
    const char* name;
    const char* text;
    int pixelSize;
};

// The designed overlaps, either way round.
bool overlapsByDesign(std::string_view a, std::string_view b) {
    return std::any_of(kWindow1Overlaps.begin(), kWindow1Overlaps.end(), [&](const auto& pair) {
        return (pair.first == a && pair.second == b) || (pair.first == b && pair.second == a);
    });
}

TEST(Window1Layout, ThePlacesTableHasUniqueNamesInsideTheWindowAndOnlyDesignedOverlaps) {
    const QRect window(0, 0, kWindow1Width, kWindow1Height);
    std::set<std::string_view> names;
    for (const ControlPlace& c : kWindow1Places) {
        EXPECT_TRUE(names.insert(c.name).second) << c.name;
        EXPECT_FALSE(c.rect.isEmpty()) << c.name;
        EXPECT_TRUE(window.contains(c.rect)) << c.name;
    }
    for (const ControlPlace& a : kWindow1Places) {
        for (const ControlPlace& b : kWindow1Places) {
            if (a.name >= b.name || !a.rect.intersects(b.rect)) {
                continue;
            }
            // A group box holds its controls whole; anything else must not touch.
            const bool grouped = (a.name.starts_with("GroupBox") && a.rect.contains(b.rect)) ||
                                 (b.name.starts_with("GroupBox") && b.rect.contains(a.rect));
            EXPECT_TRUE(grouped || overlapsByDesign(a.name, b.name)) << a.name << " and " << b.name;
        }
    }
    for (const auto& [a, b] : kWindow1Overlaps) {
        EXPECT_TRUE(placeOf(a).intersects(placeOf(b))) << a << " no longer overlaps " << b;
    }
    // Three anchors of the design: the plot, the big number, the history.
    EXPECT_EQ(placeOf("Canvas1"), QRect(9, 13, 550, 387));
    EXPECT_EQ(placeOf("StaticText4"), QRect(499, 503, 337, 166));
    EXPECT_EQ(placeOf("EditField2"), QRect(9, 445, 411, 222));
    EXPECT_TRUE(placeOf("NoSuchControl").isNull());
}

TEST(Window1Layout, TheWindowFitsTheScreenAndScrollsOnlyWhenItMust) {
    FakePlatform fake;
    QTemporaryDir dir;
    PrefsStore store(dir.filePath(QStringLiteral("PREFS")));
    Window1 w(fake.platform, store);
    const Controls ui(&w);
    w.setMenuBar(createMenuBar1(&w));
    const auto* scroller = w.findChild<QScrollArea*>(QStringLiteral("Window1Scroller"));
    ASSERT_NE(scroller, nullptr);

    // A 1920 x 1080 screen: the whole design, no scroll bars, content at its place.
    w.fitToScreen();
    w.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&w));
    const QSize whole = w.size();
    EXPECT_EQ(whole.width(), 905);
    EXPECT_EQ(whole.height(), w.menuBar()->height() + 690 + w.statusBar()->height());
    EXPECT_FALSE(scroller->horizontalScrollBar()->isVisible());
    EXPECT_FALSE(scroller->verticalScrollBar()->isVisible());
    EXPECT_EQ(scroller->widget()->mapTo(&w, QPoint(0, 0)), QPoint(0, w.menuBar()->height()));
    w.resize(2000, 1500);  // never larger than the design
    EXPECT_EQ(w.size(), whole);

    // 1280 x 800 at 150 %: 853 x 533 device-independent pixels, less the frame.
    const QSize room(853 - 16, 533 - 48);
    w.fitInto(room);
    QApplication::processEvents();
    EXPECT_EQ(w.size(), room);
    EXPECT_GT(scroller->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);
    // Only as high as needed, a screen of 1920 x 1080 at 200 %: the vertical scroll bar
    // widens the window rather than call for a horizontal one too.
    w.fitInto(QSize(960 - 16, 540 - 48));
    QApplication::processEvents();
    EXPECT_EQ(scroller->horizontalScrollBar()->maximum(), 0);
    EXPECT_GT(scroller->verticalScrollBar()->maximum(), 0);
    w.fitInto(room);
    QApplication::processEvents();

    // Everything can be scrolled into view: Quit, Print/Save and the big number.
    for (QWidget* control : std::initializer_list<QWidget*>{
             ui.button("PushButton2"), ui.button("PushButton4"), ui.label("StaticText4")}) {
        const_cast<QScrollArea*>(scroller)->ensureWidgetVisible(control);
        const QRect inView(control->mapTo(scroller->viewport(), QPoint(0, 0)), control->size());
        EXPECT_TRUE(scroller->viewport()->rect().contains(inView))
            << control->objectName().toStdString();
    }
}

TEST(Window1Layout, EveryControlStandsAtItsPlaceWithItsTextAndFont) {
    FakePlatform fake;
    QTemporaryDir dir;
    PrefsStore store(dir.filePath(QStringLiteral("PREFS")));
    Window1 w(fake.platform, store);  // before the open handler
    const Controls ui(&w);
    EXPECT_EQ(w.windowTitle(), "Adaptive PEST Procedure ");
    const auto* content = w.findChild<QWidget*>(QStringLiteral("Window1Content"));
    ASSERT_NE(content, nullptr);
    EXPECT_EQ(content->size(), QSize(905, 690));
    EXPECT_EQ(content->palette().color(QPalette::Window), QColor(191, 191, 191));
    for (const ControlPlace& c : kWindow1Places) {
        const auto* control = w.findChild<QWidget*>(QString::fromLatin1(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->geometry(), c.rect) << c.name;
    }

    const std::vector<Designed> controls{
        {"GroupBox1", "Getting Started", 12},
        {"StaticText1", "Initial output value:", 12},
        {"EditField1", "50", 16},
        {"StaticText3", "Step Size:", 12},
        {"EditField4", "7", 16},
        {"StaticText2", "Diff. Threshold:", 12},
        {"EditField3", ".45", 16},
        {"StaticText10", "Voice Volume:", 12},
        {"Slider1", nullptr, 12},
        {"StaticText11", "Signal Volume:", 12},
        {"StaticText12", "Click Volume:", 12},
        {"PushButton1", "Start", 12},
        {"PushButton3", "Reset", 12},
        {"PushButton4", "Print/Save", 12},
        {"PopupMenu4", nullptr, 12},
        {"PushButton6", "Prefs", 12},
        {"PushButton2", "Quit", 12},
        {"GroupBox3", "Distance Correct", 12},
        {"StaticText16", "Distance to M1:", 11},
        {"StaticText18", "mm=", 12},
        {"EditField7", "0", 13},
        {"StaticText17", "Distance to target:", 11},
        {"EditField6", "0", 13},
        {"BevelButton1", "Adjust", 9},  // 10 does not fit its 12-pixel frame
        {"GroupBox2", "Quick Reference", 12},
        {"PopupMenu1", nullptr, 14},
        {"PopupMenu3", nullptr, 14},
        {"StaticText7", "###", 16},
        {"StaticText13", "###", 16},
        {"StaticText15", "###", 16},
        {"EditField5", "#    SETTING  ROUND MEP   DIFF", 16},
        {"EditField2", nullptr, 16},
        {"StaticText6", "", 24},
        {"StaticText5", "", 24},
        {"StaticText4", "", 170},
    };
    for (const Designed& c : controls) {
        const auto* control = w.findChild<QWidget*>(QLatin1String(c.name));
        ASSERT_NE(control, nullptr) << c.name;
        EXPECT_EQ(control->font().pixelSize(), c.pixelSize) << c.name;
        // Drawn in the face it asks for, never one the machine substitutes.
        EXPECT_EQ(QFontInfo(control->font()).family(), control->font().family()) << c.name;
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
    // The bracket lines, from their end points: one pixel wide.
    const std::vector<std::pair<const char*, QRect>> lines{
        {"Line1", {672, 389, 188, 1}}, {"Line2", {859, 377, 1, 13}}, {"Line4", {663, 309, 10, 1}}};
    for (const auto& [name, expected] : lines) {
        const auto* line = w.findChild<LineControl*>(QLatin1String(name));
        ASSERT_NE(line, nullptr) << name;
        EXPECT_EQ(line->geometry(), expected) << name;
    }
    EXPECT_TRUE(ui.label("StaticText4")->font().bold());
    EXPECT_TRUE(ui.label("StaticText7")->font().bold());
    for (const QSlider* slider :
         {ui.slider("Slider1"), ui.slider("Slider2"), ui.slider("Slider3")}) {
        EXPECT_EQ(slider->value(), 85);
        EXPECT_EQ(slider->maximum(), 100);
    }
    // The method choice: every method the window offers, in the table's order.
    QStringList offered;
    for (int i = 0; i < ui.menu("PopupMenu4")->count(); ++i) {
        offered << ui.menu("PopupMenu4")->itemText(i);
    }
    EXPECT_EQ(offered, (QStringList{"Adaptive PEST", "ML-PEST", "Bayesian"}));
    EXPECT_EQ(ui.menu("PopupMenu4")->currentText(), "Adaptive PEST");
    EXPECT_EQ(textColour(ui.label("StaticText13")), QColor(150, 150, 150));
    EXPECT_EQ(ui.timer("Timer1")->isActive(), false);
    EXPECT_EQ(w.console().run(), nullptr);
}

TEST(Window1Layout, EveryWindowIsDrawnInTheShippedFacesAndHintingIsPinned) {
    // The tests see only DejaVu (their fontconfig file): these faces come from the program.
    for (const bool bold : {false, true}) {
        const QFontInfo times(designFont(Face::Times, 12, bold));
        const QFontInfo courier(designFont(Face::Courier, 16, bold));
        EXPECT_EQ(times.family(), kTimesFace);
        EXPECT_EQ(courier.family(), kCourierFace);
        EXPECT_EQ(times.bold(), bold);
        EXPECT_TRUE(courier.fixedPitch());
        EXPECT_EQ(designFont(Face::Times, 12, bold).hintingPreference(), QFont::PreferNoHinting);
    }
    // Menus, the status bar and dialogs: the application face, not the desktop's.
    const QFontInfo application(QApplication::font());
    EXPECT_EQ(application.family(), kApplicationFace);
    EXPECT_EQ(application.pixelSize(), kApplicationPixelSize);
    EXPECT_EQ(QApplication::font().hintingPreference(), QFont::PreferNoHinting);
    QWidget owner;
    EXPECT_EQ(QFontInfo(createMenuBar1(&owner)->font()).family(), kApplicationFace);
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
    EXPECT_EQ(file[0]->shortcut(), QKeySequence(QStringLiteral("Ctrl+Q")));
    QStringList edit;
    for (const QAction* action : menus[1]->menu()->actions()) {
        edit << (action->isSeparator() ? QStringLiteral("-") : action->text());
    }
    EXPECT_EQ(edit, (QStringList{"&Undo", "-", "Cu&t", "&Copy", "&Paste", "Clear"}));
    // A window that can take answers back offers it after Undo, without a key.
    QWidget taking;
    const QList<QAction*> withUndo =
        createMenuBar1(&taking, {.undoAnswer = [] {}})->actions()[1]->menu()->actions();
    ASSERT_GE(withUndo.size(), 2);
    EXPECT_EQ(withUndo[1]->text(), "Undo Last Answer");
    EXPECT_TRUE(withUndo[1]->shortcut().isEmpty());
    // Every key a menu takes is one of the keys that can never be an answer key.
    int withKeys = 0;
    for (const QMenu* menu : bar->findChildren<QMenu*>()) {
        for (const QAction* action : menu->actions()) {
            for (const QKeySequence& keys : action->shortcuts()) {
                const auto* known = std::find_if(kMenuKeys.begin(), kMenuKeys.end(), [&](auto& k) {
                    return keys == QKeySequence(QLatin1String(k.name));
                });
                EXPECT_NE(known, kMenuKeys.end()) << keys.toString().toStdString();
                ++withKeys;
            }
        }
    }
    EXPECT_EQ(withKeys, static_cast<int>(kMenuKeys.size()));
}

TEST(MenuBar, PastRunsComesBeforeQuitWithoutAShortcut) {
    QWidget owner;
    int opened = 0;
    QMenuBar* bar = createMenuBar1(&owner, {.pastRuns = [&opened] { ++opened; }});
    const QList<QAction*> file = bar->actions()[0]->menu()->actions();
    ASSERT_EQ(file.size(), 2);
    EXPECT_EQ(file[0]->text(), QStringLiteral("Past Runs\u2026"));
    EXPECT_TRUE(file[0]->shortcut().isEmpty());  // any key may be an answer key
    file[0]->trigger();
    EXPECT_EQ(opened, 1);
    owner.show();
    file[1]->trigger();  // Quit closes the window
    EXPECT_FALSE(owner.isVisible());
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
