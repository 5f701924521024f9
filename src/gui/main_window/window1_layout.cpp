// The main window's controls at their design places, and the wiring of their events.
#include <QApplication>
#include <QComboBox>
#include <QCompleter>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QMenuBar>
#include <QPushButton>
#include <QScreen>
#include <QScrollArea>
#include <QSlider>
#include <QStatusBar>
#include <QStringListModel>
#include <QStyle>
#include <QTimer>

#include "core/display/history_line.h"
#include "gui/main_window/key_router.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/main_window/window1_places.h"
#include "gui/prefs/prefs_store.h"
#include "gui/report/output_window.h"
#include "gui/widgets/caption_fit.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/design.h"
#include "gui/widgets/line_control.h"
#include "gui/widgets/status_notice.h"
#include "gui/widgets/typing_limit.h"

namespace limenta {

namespace {

// Digits follow one another as soon as the previous one has ended, and a waiting undo
// follows the end of the answer's wait.
constexpr int kPollPeriodMs = 10;
// The window manager's frame and title bar, outside the window's own area.
constexpr QSize kWindowFrameAllowance(16, 48);

// A control at its place in the table, with its name and font.
template <typename Control>
Control* at(Control* control, const char* name, const QFont& font) {
    return place(control, name, placeOf(name), font);
}

QLabel* label(QWidget* parent, const char* name, const QString& text, const QFont& font,
              Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
    auto* control = at(new QLabel(text, parent), name, font);
    control->setAlignment(alignment);
    return control;
}

QLineEdit* field(QWidget* parent, const char* name, const QString& text, const QFont& font) {
    auto* control = at(new QLineEdit(text, parent), name, font);
    limitTyping(control);
    showFromStart(control);
    return control;
}

QPushButton* button(QWidget* parent, const char* name, const QString& caption, const QFont& font) {
    return at(new QPushButton(caption, parent), name, font);
}

QSlider* slider(QWidget* parent, const char* name, const QFont& font) {
    auto* control = at(new QSlider(Qt::Horizontal, parent), name, font);
    control->setRange(0, 100);
    control->setValue(85);
    return control;
}

QGroupBox* group(QWidget* parent, const char* name, const QString& title, const QFont& font) {
    return at(new QGroupBox(title, parent), name, font);
}

LineControl* bracketLine(QWidget* parent, const char* name, QPoint from, QPoint to) {
    auto* line = new LineControl(parent, from, to, kDesignGrey);
    line->setObjectName(QLatin1String(name));
    return line;
}

// The 201 percentages 0% to 200%: the selected index is the percent.
QComboBox* percentages(QWidget* parent, const char* name, const QFont& font) {
    auto* menu = at(new QComboBox(parent), name, font);
    for (int i = 0; i <= 200; ++i) {
        menu->addItem(QStringLiteral("%1%").arg(i));
    }
    return menu;
}

QTimer* pollTimer(QObject* parent, const char* name) {
    auto* timer = new QTimer(parent);
    timer->setObjectName(QLatin1String(name));
    timer->setInterval(kPollPeriodMs);
    return timer;
}

}  // namespace

Window1::Window1(Platform& platform, PrefsStore& prefs)
    : platform_(platform),
      prefs_(prefs),
      host_(platform, prefs),
      console_(host_),
      keyRouter_(std::make_unique<KeyRouter>(*this, platform.clocks)) {
    setObjectName(QStringLiteral("Window1"));
    buildControls();
    paint(console_.view());
    connectEvents();
    fitToScreen();
    qApp->installEventFilter(keyRouter_.get());
}

void Window1::fitToScreen() {
    if (screen() != nullptr) {
        // What the screen leaves for the window, less room for its frame and title bar.
        fitInto(screen()->availableGeometry().size() - kWindowFrameAllowance);
    }
}

void Window1::fitInto(QSize room) {
    // The window with all its content, and never larger: beyond it lies only empty grey.
    QSize whole(kWindow1Width,
                menuBar()->sizeHint().height() + kWindow1Height + statusBar()->sizeHint().height());
    // A scroll bar one way takes room the other way, which must not need one for that.
    const int bar = style()->pixelMetric(QStyle::PM_ScrollBarExtent);
    const bool tooHigh = whole.height() > room.height();
    const bool tooWide = whole.width() > room.width();
    whole += QSize(tooHigh ? bar : 0, tooWide ? bar : 0);
    setMaximumSize(whole);
    resize(whole.boundedTo(room));
}

Window1::~Window1() {
    qApp->removeEventFilter(keyRouter_.get());
}

void Window1::buildControls() {
    auto* content = new QWidget(this);
    content->setObjectName(QStringLiteral("Window1Content"));
    content->setFixedSize(kWindow1Width, kWindow1Height);
    QPalette background = content->palette();
    background.setColor(QPalette::Window, kMainBackground);
    // Disabled controls stay readable on the grey background.
    for (const QPalette::ColorRole role :
         {QPalette::WindowText, QPalette::ButtonText, QPalette::Text}) {
        background.setColor(QPalette::Disabled, role, QColor(105, 105, 105));
    }
    content->setPalette(background);
    content->setAutoFillBackground(true);
    // The design has one size; on a screen too small for it at the current scale, the
    // content scrolls rather than lose Print/Save, Quit or the big number off screen.
    auto* scroller = new QScrollArea(this);
    scroller->setObjectName(QStringLiteral("Window1Scroller"));
    scroller->setFrameShape(QFrame::NoFrame);
    scroller->setPalette(background);
    scroller->setWidget(content);
    setCentralWidget(scroller);
    notice_ = new StatusNotice(statusBar());

    const QFont times12 = designFont(Face::Times, 12);
    const QFont times16 = designFont(Face::Times, 16);
    const QFont times16Bold = designFont(Face::Times, 16, true);
    const QFont courier16 = designFont(Face::Courier, 16);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;
    const Qt::Alignment centre = Qt::AlignCenter;

    // Group boxes first, so the controls drawn over them stay on top.
    GroupBox1 = group(content, "GroupBox1", QStringLiteral("Getting Started"), times12);
    GroupBox3 = group(content, "GroupBox3", QStringLiteral("Distance Correct"), times12);
    GroupBox2 = group(content, "GroupBox2", QStringLiteral("Quick Reference"), times12);

    Canvas1 = new PlotCanvas(content);
    Canvas1->setObjectName(QStringLiteral("Canvas1"));
    Canvas1->setGeometry(placeOf("Canvas1"));

    StaticText1 =
        label(content, "StaticText1", QStringLiteral("Initial output value:"), times12, right);
    EditField1 = field(content, "EditField1", QStringLiteral("50"), times16);
    StaticText3 = label(content, "StaticText3", QStringLiteral("Step Size:"), times12, right);
    EditField4 = field(content, "EditField4", QStringLiteral("7"), times16);
    StaticText2 = label(content, "StaticText2", QStringLiteral("Diff. Threshold:"), times12, right);
    EditField3 = field(content, "EditField3", QStringLiteral(".45"), times16);

    StaticText10 = label(content, "StaticText10", QStringLiteral("Voice Volume:"), times12);
    Slider1 = slider(content, "Slider1", times12);
    StaticText11 = label(content, "StaticText11", QStringLiteral("Signal Volume:"), times12);
    Slider2 = slider(content, "Slider2", times12);
    StaticText12 = label(content, "StaticText12", QStringLiteral("Click Volume:"), times12);
    Slider3 = slider(content, "Slider3", times12);

    PushButton1 = button(content, "PushButton1", QStringLiteral("Start"), times12);
    PushButton3 = button(content, "PushButton3", QStringLiteral("Reset"), times12);
    PushButton4 = button(content, "PushButton4", QStringLiteral("Print/Save"), times12);
    PopupMenu4 = at(new QComboBox(content), "PopupMenu4", times12);
    for (const Method* method : Console::offeredMethods()) {
        PopupMenu4->addItem(QString::fromLatin1(method->label), QString::fromLatin1(method->key));
    }
    PushButton6 = button(content, "PushButton6", QStringLiteral("Prefs"), times12);
    PushButton2 = button(content, "PushButton2", QStringLiteral("Quit"), times12);

    const Qt::Alignment top = Qt::AlignLeft | Qt::AlignTop;
    StaticText16 = label(content, "StaticText16", QStringLiteral("Distance to M1:"),
                         designFont(Face::Times, 11), top);
    StaticText18 = label(content, "StaticText18", QStringLiteral("mm="), times12, right);
    EditField7 = field(content, "EditField7", QStringLiteral("0"), designFont(Face::Times, 13));
    StaticText17 = label(content, "StaticText17", QStringLiteral("Distance to target:"),
                         designFont(Face::Times, 11), top);
    StaticText19 = label(content, "StaticText19", QStringLiteral("mm="), times12, right);
    EditField6 = field(content, "EditField6", QStringLiteral("0"), designFont(Face::Times, 13));
    BevelButton1 =
        button(content, "BevelButton1", QStringLiteral("Adjust"), designFont(Face::Times, 10));
    fitCaption(BevelButton1);

    const QFont times14 = designFont(Face::Times, 14);
    PopupMenu1 = percentages(content, "PopupMenu1", times14);
    PopupMenu2 = percentages(content, "PopupMenu2", times14);
    PopupMenu3 = percentages(content, "PopupMenu3", times14);
    StaticText7 = label(content, "StaticText7", QStringLiteral("###"), times16Bold, centre);
    StaticText8 = label(content, "StaticText8", QStringLiteral("###"), times16Bold, centre);
    StaticText9 = label(content, "StaticText9", QStringLiteral("###"), times16Bold, centre);
    StaticText13 = label(content, "StaticText13", QStringLiteral("###"), times16Bold, centre);
    StaticText14 = label(content, "StaticText14", QStringLiteral("###"), times16Bold, centre);
    StaticText15 = label(content, "StaticText15", QStringLiteral("###"), times16Bold, centre);
    for (QLabel* corrected : {StaticText13, StaticText14, StaticText15}) {
        setTextColour(corrected, kDesignGrey);
    }

    Line1 = bracketLine(content, "Line1", {672, 389}, {859, 389});
    Line2 = bracketLine(content, "Line2", {859, 389}, {859, 377});
    Line3 = bracketLine(content, "Line3", {672, 309}, {672, 389});
    Line4 = bracketLine(content, "Line4", {663, 309}, {672, 309});
    Line5 = bracketLine(content, "Line5", {663, 356}, {672, 356});

    EditField5 = field(content, "EditField5", QString::fromLatin1(kHistoryHeader), courier16);
    EditField5->setReadOnly(true);
    EditField2 = at(new CrTextEdit(content), "EditField2", courier16);
    EditField2->setReadOnly(true);

    StaticText6 = label(content, "StaticText6", QString(), designFont(Face::Times, 24));
    StaticText5 =
        label(content, "StaticText5", QString(), designFont(Face::Times, kCaptionPixelSize, true));
    StaticText5->setWordWrap(true);
    StaticText20 =
        label(content, "StaticText20", QString(), designFont(Face::Times, 16), Qt::AlignCenter);
    StaticText4 = label(content, "StaticText4", QString(), designFont(Face::Times, 170, true));
    PracticeBanner = label(content, "PracticeBanner", QString::fromUtf8(kPracticeTitle),
                           designFont(Face::Times, 18, true), centre);
    PracticeBanner->setAutoFillBackground(true);
    QPalette inverse = PracticeBanner->palette();
    inverse.setColor(QPalette::Window, kDesignBlack);
    inverse.setColor(QPalette::WindowText, kMainBackground);
    PracticeBanner->setPalette(inverse);
    PracticeBanner->hide();

    PatientCaption = label(content, "PatientCaption", QStringLiteral("Patient:"), times12);
    PatientField = field(content, "PatientField", QString(), times12);
    PatientField->setToolTip(
        QStringLiteral("The clinic's code for the patient; leave it empty for a run that belongs "
                       "to no patient"));
    SetupButton = button(content, "SetupButton", QStringLiteral("Setup\u2026"), times12);
    fitCaption(SetupButton);
    SetupText = label(content, "SetupText", QString(), times12);
    patientCompleter_ = new QCompleter(this);
    patientCompleter_->setModel(new QStringListModel(patientCompleter_));
    patientCompleter_->setCaseSensitivity(Qt::CaseInsensitive);
    patientCompleter_->setWidget(PatientField);

    Timer1 = pollTimer(this, "Timer1");
    Timer2 = pollTimer(this, "Timer2");
    Timer3 = pollTimer(this, "Timer3");
    Timer4 = pollTimer(this, "Timer4");
    Timer5 = pollTimer(this, "Timer5");
}

}  // namespace limenta
