#include "gui/prefs/preferences_dialog.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>

#include "core/prefs/prefs_format.h"
#include "core/run/methods.h"
#include "gui/prefs/key_capture_dialog.h"
#include "gui/prefs/prefs_store.h"
#include "gui/widgets/design.h"
#include "gui/widgets/typing_limit.h"

namespace limenta {

namespace {

const QColor kIgnoredKeyGrey(200, 200, 200);

// Entry texts go into the file as they stand, except for the characters that would split
// a field or the line: those become blanks, so no text can corrupt the file.
std::string fieldText(const QLineEdit* field) {
    QString text = field->text();
    for (const QChar separator :
         {QChar(QLatin1Char('\t')), QChar(QLatin1Char('\r')), QChar(QLatin1Char('\n'))}) {
        text.replace(separator, QLatin1Char(' '));
    }
    return text.toStdString();
}

}  // namespace

QString keyCaption(std::int32_t code) {
    return QStringLiteral("KEY =     ") + QString::fromStdString(keyDisplayName(code));
}

Window2::Window2(QWidget* parent, PrefsStore& store, Platform& platform)
    : QDialog(parent), store_(store), platform_(platform) {
    setObjectName(QStringLiteral("Window2"));
    setWindowTitle(QStringLiteral("Preferences"));
    setFixedSize(552, 470);
    buildControls();
    connectEvents();
    Event_Open();
}

void Window2::buildControls() {
    const QFont label = designFont(Face::Times, 12);
    const QFont caption = designFont(Face::Times, 12, true);
    const QFont entry = designFont(Face::Times, 16);
    const QFont keyFont = designFont(Face::Times, 16, true);
    const Qt::Alignment right = Qt::AlignRight | Qt::AlignVCenter;

    const auto group = [&](const char* name, QRect place_, const QString& title) {
        return place(new QGroupBox(title, this), name, place_, caption);
    };
    const auto text = [&](const char* name, QRect place_, const QString& words,
                          Qt::Alignment alignment = Qt::AlignLeft | Qt::AlignVCenter) {
        auto* control = place(new QLabel(words, this), name, place_, label);
        control->setAlignment(alignment);
        return control;
    };
    const auto edit = [&](const char* name, QRect place_, const QString& words) {
        auto* control = place(new QLineEdit(words, this), name, place_, entry);
        limitTyping(control);
        showFromStart(control);
        return control;
    };
    const auto slider = [&](const char* name, QRect place_) {
        auto* control = place(new QSlider(Qt::Horizontal, this), name, place_, label);
        control->setRange(0, 100);
        return control;
    };
    const auto button = [&](const char* name, QRect place_, const QString& words) {
        auto* control = place(new QPushButton(words, this), name, place_, label);
        control->setAutoDefault(false);
        return control;
    };
    const auto check = [&](const char* name, QRect place_, const QString& words) {
        return place(new QCheckBox(words, this), name, place_, label);
    };

    GroupBox1 = group("GroupBox1", {15, 8, 231, 99}, QStringLiteral("Adaptive PEST Settings"));
    GroupBox2 =
        group("GroupBox2", {15, 119, 231, 129}, QStringLiteral("Max-Likelihood PEST Settings"));
    GroupBox3 = group("GroupBox3", {278, 13, 255, 131},
                      QStringLiteral("Select key to indicate success (MEP):"));
    GroupBox4 = group("GroupBox4", {278, 161, 255, 131},
                      QStringLiteral("Select key to indicate failure (no MEP)"));

    StaticText1 =
        text("StaticText1", {20, 30, 143, 20}, QStringLiteral("Initial output value:"), right);
    EditField1 = edit("EditField1", {174, 27, 60, 22}, QString());
    StaticText3 = text("StaticText3", {41, 56, 121, 20}, QStringLiteral("Step Size:"), right);
    EditField4 = edit("EditField4", {174, 53, 60, 22}, QString());
    StaticText2 = text("StaticText2", {36, 83, 126, 20}, QStringLiteral("Diff. Threshold:"), right);
    EditField3 = edit("EditField3", {174, 79, 60, 22}, QString());

    StaticText9 = text("StaticText9", {20, 141, 143, 20}, QStringLiteral("Lower Boundary:"), right);
    EditField2 = edit("EditField2", {174, 138, 60, 22}, QString());
    StaticText11 =
        text("StaticText11", {41, 167, 121, 20}, QStringLiteral("Upper Boundary:"), right);
    EditField6 = edit("EditField6", {174, 164, 60, 22}, QString());
    StaticText10 = text("StaticText10", {36, 194, 126, 20},
                        QStringLiteral("Relative threshold spread:"), right);
    EditField5 = edit("EditField5", {174, 190, 60, 22}, QString());
    StaticText12 =
        text("StaticText12", {36, 221, 126, 20}, QStringLiteral("Diff. Threshold:"), right);
    EditField7 = edit("EditField7", {174, 217, 60, 22}, QString());

    // The values of a window method that the 17 fields have no place for: a group of their
    // own.
    int fieldNumber = 8;
    for (const Method& method : methods()) {
        if (!method.inWindow) {
            continue;
        }
        std::vector<const Parameter*> kept;
        for (const Parameter& parameter : method.parameters) {
            if (parameter.prefsKey != nullptr) {
                kept.push_back(&parameter);
            }
        }
        if (kept.empty()) {
            continue;
        }
        GroupBox5 = group("GroupBox5", {15, 254, 231, 24 + 26 * static_cast<int>(kept.size())},
                          QString::fromLatin1(method.label) + QStringLiteral(" Settings"));
        for (std::size_t i = 0; i < kept.size(); ++i) {
            const int y = 273 + 26 * static_cast<int>(i);
            const QByteArray caption = "StaticText" + QByteArray::number(fieldNumber + 5);
            const QByteArray field = "EditField" + QByteArray::number(fieldNumber++);
            text(caption.constData(), {20, y + 3, 143, 20}, QString::fromLatin1(kept[i]->caption),
                 right);
            keptFields_.push_back(
                {&method, kept[i], edit(field.constData(), {174, y, 60, 22}, QString())});
        }
    }

    StaticText4 = text("StaticText4", {29, 338, 100, 20}, QStringLiteral("Speech Volume:"));
    Slider1 = slider("Slider1", {29, 356, 189, 16});
    StaticText7 = text("StaticText7", {29, 378, 100, 20}, QStringLiteral("Signal Volume:"));
    Slider2 = slider("Slider2", {29, 396, 189, 16});
    StaticText8 = text("StaticText8", {29, 416, 100, 20}, QStringLiteral("Click Volume:"));
    Slider3 = slider("Slider3", {29, 434, 189, 16});

    PushButton2 =
        button("PushButton2", {289, 43, 228, 22}, QStringLiteral("Click here to select a key"));
    CheckBox1 = check("CheckBox1", {289, 74, 228, 19}, QStringLiteral("OR use all other keys"));
    StaticText5 = place(new QLabel(QStringLiteral("KEY =      y"), this), "StaticText5",
                        {294, 110, 212, 20}, keyFont);
    PushButton3 =
        button("PushButton3", {289, 191, 228, 22}, QStringLiteral("Click here to select a key"));
    CheckBox2 = check("CheckBox2", {289, 222, 228, 19}, QStringLiteral("OR use all other keys"));
    StaticText6 = place(new QLabel(QStringLiteral("KEY =     n"), this), "StaticText6",
                        {294, 260, 212, 20}, keyFont);
    // The method Start begins with: those the window offers.
    StaticText15 = text("StaticText15", {278, 306, 70, 20}, QStringLiteral("Method:"));
    PopupMenu1 = place(new QComboBox(this), "PopupMenu1", {350, 304, 183, 24}, label);
    for (const Method& method : methods()) {
        if (method.inWindow) {
            PopupMenu1->addItem(QString::fromLatin1(method.label), QString::fromLatin1(method.key));
        }
    }

    PushButton1 = button("PushButton1", {246, 425, 125, 20}, QStringLiteral("Reset Defaults"));
    PushButton5 = button("PushButton5", {383, 425, 69, 20}, QStringLiteral("Cancel"));
    PushButton4 = button("PushButton4", {464, 425, 69, 20}, QStringLiteral("OK"));
    PushButton4->setDefault(true);
    showSettings(kDefaultSettings);
}

void Window2::connectEvents() {
    connect(PushButton1, &QPushButton::clicked, this, [this] { PushButton1_Action(); });
    connect(PushButton2, &QPushButton::clicked, this, [this] { PushButton2_Action(); });
    connect(PushButton3, &QPushButton::clicked, this, [this] { PushButton3_Action(); });
    connect(PushButton4, &QPushButton::clicked, this, [this] { PushButton4_Action(); });
    connect(PushButton5, &QPushButton::clicked, this, [this] { PushButton5_Action(); });
    connect(CheckBox1, &QCheckBox::toggled, this, [this] { CheckBox1_Action(); });
    connect(CheckBox2, &QCheckBox::toggled, this, [this] { CheckBox2_Action(); });
}

void Window2::Event_Open() {
    tempsuccesskey = kDefaultSuccessKey;
    tempfailkey = kDefaultFailKey;
    loadprefsfromfile();
}

void Window2::PushButton1_Action() {
    showSettings(kDefaultSettings);
    // Reset Defaults has captions of its own, a blank wider than a chosen key's.
    StaticText5->setText(QStringLiteral("KEY =      y"));
    StaticText6->setText(QStringLiteral("KEY =      n"));
}

void Window2::showSettings(const Settings& settings) {
    EditField1->setText(QString::fromStdString(settings.initialOutput));
    EditField4->setText(QString::fromStdString(settings.stepSize));
    EditField3->setText(QString::fromStdString(settings.diffThreshold));
    Slider1->setValue(settings.voiceVolume);
    Slider2->setValue(settings.signalVolume);
    Slider3->setValue(settings.clickVolume);
    tempsuccesskey = settings.successKey;
    tempfailkey = settings.failKey;
    CheckBox1->setChecked(settings.successAll);
    CheckBox2->setChecked(settings.failAll);
    EditField2->setText(QString::fromStdString(settings.lowerBound));
    EditField6->setText(QString::fromStdString(settings.upperBound));
    EditField5->setText(QString::fromStdString(settings.spread));
    EditField7->setText(QString::fromStdString(settings.mlDiffThreshold));
    const Method& stored = storedMethod(methods(), settings);
    PopupMenu1->setCurrentIndex(PopupMenu1->findData(QString::fromLatin1(stored.key)));
    for (const KeptField& kept : keptFields_) {
        kept.field->setText(
            QString::fromStdString(keptValue(*kept.method, *kept.parameter, settings)));
    }
}

Settings Window2::shownSettings() const {
    const Method& chosen =
        *findMethod(methods(), PopupMenu1->currentData().toString().toStdString());
    std::vector<std::pair<std::string, std::string>> kept;
    for (const KeptField& k : keptFields_) {
        kept.emplace_back(k.parameter->prefsKey, fieldText(k.field));
    }
    return {fieldText(EditField1),  fieldText(EditField4),
            fieldText(EditField3),  Slider1->value(),
            Slider2->value(),       Slider3->value(),
            tempsuccesskey,         tempfailkey,
            CheckBox1->isChecked(), CheckBox2->isChecked(),
            fieldText(EditField2),  fieldText(EditField6),
            fieldText(EditField5),  fieldText(EditField7),
            chosen.prefsFlag,       prefsExtension(methods(), chosen, kept)};
}

bool Window2::captureKey() {
    Window3 keyWindow(this, selectedkey);
    // Closed by its window control, the key window chooses nothing.
    return platform_.dialogs.runModal(keyWindow) == QDialog::Accepted;
}

bool Window2::refusedAsTheOtherKey(std::int32_t otherKey, const QString& otherName) {
    // One key for both answers would make every press a failure.
    if (!sameKey(selectedkey, otherKey)) {
        return false;
    }
    platform_.dialogs.message(
        this, QStringLiteral("This key is already the %1 key: choose another.").arg(otherName));
    return true;
}

void Window2::PushButton2_Action() {
    if (captureKey() && !refusedAsTheOtherKey(tempfailkey, QStringLiteral("failure"))) {
        tempsuccesskey = selectedkey;
        StaticText5->setText(keyCaption(selectedkey));
    }
}

void Window2::PushButton3_Action() {
    if (captureKey() && !refusedAsTheOtherKey(tempsuccesskey, QStringLiteral("success"))) {
        tempfailkey = selectedkey;
        StaticText6->setText(keyCaption(selectedkey));
    }
}

void Window2::allKeysChanged(QCheckBox* own, QCheckBox* other, QLabel* caption) {
    if (own->isChecked() && other->isChecked()) {
        platform_.dialogs.message(
            this,
            QStringLiteral("You cannot have both successes AND failures represented by all keys."));
        own->setChecked(false);  // runs this handler again, which recolours the caption
        return;
    }
    // A grey caption: with all other keys answering, the single key no longer matters.
    setTextColour(caption, own->isChecked() ? kIgnoredKeyGrey : kDesignBlack);
}

void Window2::CheckBox1_Action() {
    allKeysChanged(CheckBox1, CheckBox2, StaticText5);
}

void Window2::CheckBox2_Action() {
    allKeysChanged(CheckBox2, CheckBox1, StaticText6);
}

bool Window2::refusedStartValues() {
    const std::optional<StartProblem> problem =
        checkStoredStart(PrefsText(composePrefs(shownSettings())));
    if (!problem) {
        return false;
    }
    // A field by its caption, and its group where two fields share a caption.
    const auto name = [this](StartValue value) {
        switch (value) {
            case StartValue::InitialOutput:
                return StaticText1->text();
            case StartValue::StepSize:
                return StaticText3->text();
            case StartValue::DiffThreshold:
                return StaticText2->text() + QStringLiteral(" (%1)").arg(GroupBox1->title());
            case StartValue::LowerBound:
                return StaticText9->text();
            case StartValue::UpperBound:
                return StaticText11->text();
            case StartValue::Spread:
                return StaticText10->text();
            case StartValue::MlDiffThreshold:
            case StartValue::Width:  // not among these fields
            case StartValue::Lapse:
                break;
        }
        return StaticText12->text() + QStringLiteral(" (%1)").arg(GroupBox2->title());
    };
    const auto plain = [](QString caption) { return caption.remove(QLatin1Char(':')); };
    platform_.dialogs.message(
        this, QStringLiteral("Not saved: %1 %2.")
                  .arg(plain(name(problem->value)),
                       QString::fromStdString(ruleText(
                           problem->rule, plain(name(StartValue::UpperBound)).toStdString()))));
    return true;
}

void Window2::PushButton4_Action() {
    // Nothing is written that a later Start would refuse; the dialog stays open.
    if (refusedStartValues()) {
        return;
    }
    saveprefs();
    accept();
}

void Window2::PushButton5_Action() {
    reject();
}

void Window2::saveprefs() {
    store_.write(composePrefs(shownSettings()));
}

void Window2::loadprefsfromfile() {
    loadprefsfromfile(true);
}

void Window2::loadprefsfromfile(bool mayWriteMissing) {
    const std::optional<std::string> text = store_.read();
    if (!text) {
        if (mayWriteMissing) {
            saveprefs();  // a missing file is written from the dialog's current values
            loadprefsfromfile(false);
        }
        return;
    }
    const PrefsText prefs(*text);
    if (!prefs.marked()) {
        return;
    }
    showSettings(readSettings(prefs));
    StaticText5->setText(keyCaption(tempsuccesskey));
    StaticText6->setText(keyCaption(tempfailkey));
}

}  // namespace limenta
