// The Preferences dialog: edits everything the preferences file keeps.
#pragma once

#include <QDialog>
#include <cstdint>
#include <vector>

#include "core/prefs/settings.h"
#include "core/run/methods.h"
#include "core/trial/response_keys.h"
#include "gui/platform/platform.h"

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QSlider;

namespace limenta {

class PrefsStore;

class Window2 final : public QDialog {
    Q_OBJECT

  public:
    // OK writes the preferences file, from which the main window takes them all.
    Window2(QWidget* parent, PrefsStore& store, Platform& platform);
    Q_DISABLE_COPY_MOVE(Window2)

    void PushButton1_Action();  // Reset Defaults
    void PushButton2_Action();  // choose the success key
    void PushButton3_Action();  // choose the failure key
    void PushButton4_Action();  // OK
    void PushButton5_Action();  // Cancel
    void CheckBox1_Action();    // success: OR use all other keys
    void CheckBox2_Action();    // failure: OR use all other keys
    void saveprefs();
    void loadprefsfromfile();
    // Puts `settings` into the controls, captions aside.
    void showSettings(const Settings& settings);
    [[nodiscard]] Settings shownSettings() const;

    std::int32_t tempsuccesskey = 0;
    std::int32_t tempfailkey = 0;
    std::int32_t selectedkey = 0;

    QGroupBox* GroupBox1 = nullptr;
    QGroupBox* GroupBox2 = nullptr;
    QGroupBox* GroupBox3 = nullptr;
    QGroupBox* GroupBox4 = nullptr;
    QLabel* StaticText1 = nullptr;
    QLabel* StaticText2 = nullptr;
    QLabel* StaticText3 = nullptr;
    QLabel* StaticText4 = nullptr;
    QLabel* StaticText5 = nullptr;
    QLabel* StaticText6 = nullptr;
    QLabel* StaticText7 = nullptr;
    QLabel* StaticText8 = nullptr;
    QLabel* StaticText9 = nullptr;
    QLabel* StaticText10 = nullptr;
    QLabel* StaticText11 = nullptr;
    QLabel* StaticText12 = nullptr;
    QLineEdit* EditField1 = nullptr;
    QLineEdit* EditField2 = nullptr;
    QLineEdit* EditField3 = nullptr;
    QLineEdit* EditField4 = nullptr;
    QLineEdit* EditField5 = nullptr;
    QLineEdit* EditField6 = nullptr;
    QLineEdit* EditField7 = nullptr;
    QSlider* Slider1 = nullptr;
    QSlider* Slider2 = nullptr;
    QSlider* Slider3 = nullptr;
    QPushButton* PushButton1 = nullptr;
    QPushButton* PushButton2 = nullptr;
    QPushButton* PushButton3 = nullptr;
    QPushButton* PushButton4 = nullptr;
    QPushButton* PushButton5 = nullptr;
    QCheckBox* CheckBox1 = nullptr;
    QCheckBox* CheckBox2 = nullptr;
    QGroupBox* GroupBox5 = nullptr;  // the values only the extension of PREFS keeps
    QLabel* StaticText15 = nullptr;
    QComboBox* PopupMenu1 = nullptr;  // the stored method

  private:
    void buildControls();
    void connectEvents();
    void Event_Open();
    void loadprefsfromfile(bool mayWriteMissing);
    bool captureKey();
    void allKeysChanged(QCheckBox* own, QCheckBox* other, QLabel* caption);
    // Tells the operator and returns true when the key just chosen is `otherKey`.
    bool refusedAsTheOtherKey(std::int32_t otherKey, const QString& otherName);
    // Tells the operator and returns true when a start value shown would be refused at Start.
    bool refusedStartValues();

    // A field of GroupBox5, and the method's value it shows.
    struct KeptField {
        const Method* method;
        const Parameter* parameter;
        QLineEdit* field;
    };
    std::vector<KeptField> keptFields_;
    PrefsStore& store_;
    Platform& platform_;
};

// "KEY =     " and the key's name, as a chosen or loaded key is shown.
QString keyCaption(std::int32_t code);

}  // namespace limenta
