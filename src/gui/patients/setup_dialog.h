// How a patient's threshold is measured, set in a small dialog that never blocks a quick run:
// hemisphere, muscle (one of the usual ones or typed), coil, stimulator, and EMG or a visible
// twitch. It keeps only a setup whose every part can be kept, and says which cannot.
#pragma once

#include <QDialog>

#include "core/patient/setup.h"

class QComboBox;
class QLabel;
class QLineEdit;

namespace limenta {

class SetupDialog final : public QDialog {
    Q_OBJECT

  public:
    SetupDialog(QWidget* parent, const Setup& setup);
    [[nodiscard]] Setup setup() const;

    void accept() override;

  private:
    QComboBox* hemisphere_;
    QComboBox* muscle_;
    QLineEdit* coil_;
    QLineEdit* stimulator_;
    QComboBox* judged_;
    QLabel* problem_;
};

}  // namespace limenta
