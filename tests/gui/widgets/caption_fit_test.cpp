// Every caption of every window is whole: no label, button, check box or group box title
// is wider or taller than the room its control gives it.
#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QPushButton>
#include <QStyle>
#include <QStyleOptionButton>
#include <QStyleOptionComboBox>
#include <QStyleOptionGroupBox>
#include <algorithm>
#include <string>
#include <vector>

#include "core/console/notices.h"
#include "core/display/history_line.h"
#include "core/patient/patient_code.h"
#include "core/run/run.h"
#include "core/trial/response_keys.h"
#include "gui/fakes/main_window_fixture.h"
#include "gui/main_window/window1_places.h"
#include "gui/patients/erase_dialog.h"
#include "gui/patients/patients_window.h"
#include "gui/patients/setup_dialog.h"
#include "gui/prefs/key_capture_dialog.h"
#include "gui/prefs/preferences_dialog.h"
#include "gui/report/output_window.h"
#include "gui/widgets/status_notice.h"

namespace limenta::testing {
namespace {

std::string describe(const QWidget& w, const QString& text, int need, int room) {
    return (w.objectName().isEmpty() ? std::string(w.metaObject()->className())
                                     : w.objectName().toStdString()) +
           " \"" + text.toStdString() + "\" needs " + std::to_string(need) + " px, has " +
           std::to_string(room);
}

// Where the text of a label, button, check box or group box does not fit.
std::vector<std::string> clippedCaptions(const QWidget& window) {
    std::vector<std::string> clipped;
    // Width: the laid-out text against the room. Height: the ink of its lines, placed as
    // the control aligns them, against the room (a line's unused descent may overhang).
    const auto check = [&](const QWidget& w, const QString& text, QRect room, int flags,
                           Qt::Alignment align) {
        if (text.isEmpty() || !w.isVisibleTo(&window)) {
            return;
        }
        const QFontMetrics metrics(w.font());
        const QRect block = metrics.boundingRect(room, flags | static_cast<int>(align), text);
        if (block.width() > room.width()) {
            clipped.push_back(describe(w, text, block.width(), room.width()));
        }
        const int lines = std::max(1, (block.height() + metrics.leading()) / metrics.lineSpacing());
        const QRect ink = metrics.tightBoundingRect(text);
        const int inkTop = block.top() + metrics.ascent() + ink.top();
        const int inkBottom =
            block.top() + (lines - 1) * metrics.lineSpacing() + metrics.ascent() + ink.bottom();
        if (inkTop < room.top() || inkBottom > room.bottom()) {
            const int need = std::max(inkBottom, room.bottom()) - std::min(inkTop, room.top()) + 1;
            clipped.push_back(describe(w, text, need, room.height()) + " (height)");
        }
    };
    for (const QLabel* label : window.findChildren<QLabel*>()) {
        if (!label->pixmap().isNull() || label->textFormat() == Qt::RichText) {
            continue;
        }
        const int flags = label->wordWrap() ? Qt::TextWordWrap : Qt::TextSingleLine;
        check(*label, label->text(), label->contentsRect(), flags, label->alignment());
    }
    for (const QPushButton* button : window.findChildren<QPushButton*>()) {
        QStyleOptionButton option;
        option.initFrom(button);
        const QRect room =
            button->style()->subElementRect(QStyle::SE_PushButtonContents, &option, button);
        check(*button, button->text().remove(QLatin1Char('&')), room, Qt::TextSingleLine,
              Qt::AlignCenter);
    }
    for (const QCheckBox* box : window.findChildren<QCheckBox*>()) {
        QStyleOptionButton option;
        option.initFrom(box);
        option.text = box->text();
        const QRect room = box->style()->subElementRect(QStyle::SE_CheckBoxContents, &option, box);
        check(*box, box->text(), room, Qt::TextSingleLine, Qt::AlignLeft | Qt::AlignVCenter);
    }
    for (const QComboBox* menu : window.findChildren<QComboBox*>()) {
        // Every item, as the closed menu shows it.
        QStyleOptionComboBox option;
        option.initFrom(menu);
        const QRect room = menu->style()->subControlRect(QStyle::CC_ComboBox, &option,
                                                         QStyle::SC_ComboBoxEditField, menu);
        for (int i = 0; i < menu->count(); ++i) {
            check(*menu, menu->itemText(i), room, Qt::TextSingleLine,
                  Qt::AlignLeft | Qt::AlignVCenter);
        }
    }
    for (const QGroupBox* group : window.findChildren<QGroupBox*>()) {
        // The title runs from the frame's left indent to the box's right edge.
        QStyleOptionGroupBox option;
        option.initFrom(group);
        option.text = group->title();
        option.subControls = QStyle::SC_GroupBoxLabel | QStyle::SC_GroupBoxFrame;
        const QRect label = group->style()->subControlRect(QStyle::CC_GroupBox, &option,
                                                           QStyle::SC_GroupBoxLabel, group);
        const QRect room(label.left(), label.top(), group->width() - label.left(), label.height());
        check(*group, group->title(), room, Qt::TextSingleLine, Qt::AlignLeft | Qt::AlignVCenter);
    }
    return clipped;
}

std::string joined(const std::vector<std::string>& lines) {
    std::string all;
    for (const std::string& line : lines) {
        all += "\n  " + line;
    }
    return all;
}

class CaptionFit : public MainWindowTest {};

TEST_F(CaptionFit, EveryCaptionOfEveryWindowIsWhole) {
    Window1& main = open(std::nullopt);  // a first start
    EXPECT_TRUE(clippedCaptions(main).empty()) << "main window:" << joined(clippedCaptions(main));
    // Also the longest caption the main window can show.
    click("PushButton1");
    for (int i = 0; i <= 200; ++i) {  // the 201st is refused
        answer('y');
    }
    ASSERT_EQ(caption().toStdString(), kTrialLimitMessage);
    EXPECT_TRUE(clippedCaptions(main).empty())
        << "at the trial limit:" << joined(clippedCaptions(main));

    // And the widest quick-reference value: the estimate 100 at 120 %, and corrected.
    click("PushButton3");
    typeInto("EditField1", QStringLiteral("97"));
    click("PushButton1");
    type("nn");
    typeInto("EditField7", QStringLiteral("10"));
    typeInto("EditField6", QStringLiteral("40"));
    ASSERT_EQ(ui.text("StaticText9"), "100+");
    ASSERT_EQ(ui.text("StaticText13"), "100+");
    EXPECT_TRUE(clippedCaptions(main).empty()) << "above 100:" << joined(clippedCaptions(main));
    // The interval line at its longest: a three-digit bound, 200 pulses and the warning
    // (a wide interval has at most one three-digit bound; digits are all alike wide).
    const CredibleInterval widest{10.5, 60, 99.5};  // 10 – 100
    ASSERT_TRUE(widest.wide());
    ui.label("StaticText20")->setText(QString::fromStdString(intervalLine(widest, 200)));
    EXPECT_TRUE(clippedCaptions(main).empty())
        << "the widest interval:" << joined(clippedCaptions(main));

    // A new run's caption is back at its design size.
    click("PushButton3");
    click("PushButton1");
    EXPECT_EQ(ui.label("StaticText5")->font().pixelSize(), kCaptionPixelSize);

    Window2 prefs(&main, *store, fake.platform);
    prefs.show();
    EXPECT_TRUE(clippedCaptions(prefs).empty()) << "Preferences:" << joined(clippedCaptions(prefs));

    std::int32_t key = 0;
    Window3 capture(&prefs, key);
    capture.show();
    EXPECT_TRUE(clippedCaptions(capture).empty())
        << "key capture:" << joined(clippedCaptions(capture));
    for (const MenuKey& menu : kMenuKeys) {  // its refusals
        capture.Event_KeyDown(menu.code);
        EXPECT_TRUE(clippedCaptions(capture).empty())
            << "key capture:" << joined(clippedCaptions(capture));
    }

    // The patients' dialogs, with the longest parts they take.
    SetupDialog setup(&main, {Hemisphere::Right, std::string(40, 'W'), std::string(40, 'W'),
                              std::string(40, 'W'), Judged::Twitch});
    setup.show();
    EXPECT_TRUE(clippedCaptions(setup).empty()) << "Setup:" << joined(clippedCaptions(setup));
    JournalRun theirs;
    theirs.patient = std::string(32, 'W');
    theirs.started = "2026-12-08T09:30:15Z";
    EraseDialog erase(&main, QString(32, QLatin1Char('W')), {theirs, theirs},
                      {QStringLiteral("/home/a-clinician/limenta-runs.sqlite.damaged-20261208")});
    erase.show();
    EXPECT_TRUE(clippedCaptions(erase).empty()) << "Erase:" << joined(clippedCaptions(erase));
    PatientsWindow patients(&main, nullptr, fake.dialogs, {}, {});
    patients.show();
    EXPECT_TRUE(clippedCaptions(patients).empty())
        << "Patients:" << joined(clippedCaptions(patients));

    Window4 output(&main, fake.dialogs);
    output.show();
    EXPECT_TRUE(clippedCaptions(output).empty()) << "Output:" << joined(clippedCaptions(output));
}

TEST_F(CaptionFit, EveryNoticeLeadsWithASentenceThatFitsTheStatusBar) {
    // Beside the "No sound" indicator, with long values where a notice names any.
    fake.sounds.audible = false;
    Window1& w = open();
    const QString longPath = QStringLiteral("/home/a-clinician/Documents/limenta/").repeated(4);
    for (const char* text : notice::kEveryNotice) {
        QString told = QString::fromLatin1(text);
        // A new patient's notice names their code, which is never longer than 32 characters.
        const QString value =
            text == notice::kNewPatient ? QString(kPatientCodeLongest, QLatin1Char('W')) : longPath;
        for (const char* mark : {"%1", "%2", "%3", "%4"}) {
            told.replace(QLatin1String(mark), value);
        }
        w.tell(told);
        EXPECT_EQ(QString::fromStdString(window->console().view().notice), told);
        const auto* shown = w.findChild<QLabel*>(QStringLiteral("StatusNotice"));
        ASSERT_NE(shown, nullptr);
        EXPECT_EQ(shown->text(),
                  firstSentence(QString::fromStdString(window->console().view().notice)));
        EXPECT_FALSE(shown->text().contains(longPath)) << text;
        EXPECT_EQ(shown->toolTip(),
                  shown->text() == QString::fromStdString(window->console().view().notice)
                      ? QString()
                      : QString::fromStdString(window->console().view().notice));
        EXPECT_TRUE(clippedCaptions(w).empty()) << "notice:" << joined(clippedCaptions(w));
    }
    EXPECT_EQ(w.width(), kWindow1Width);  // no notice widens the window
}

}  // namespace
}  // namespace limenta::testing
