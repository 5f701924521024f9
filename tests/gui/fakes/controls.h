// The main window's controls, found by the names the design gives them.
#pragma once

#include <gtest/gtest.h>

#include <QComboBox>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QSlider>
#include <QTimer>

#include "gui/main_window/plot_canvas.h"
#include "gui/widgets/cr_text_edit.h"
#include "gui/widgets/line_control.h"

namespace limenta::testing {

// The main window's controls, found by their names.
struct Controls {
    explicit Controls(const QWidget* window = nullptr) : window_(window) {}

    template <typename Control>
    Control* find(const char* name) const {
        auto* control = window_->findChild<Control*>(QLatin1String(name));
        EXPECT_NE(control, nullptr) << name;
        return control;
    }
    [[nodiscard]] QLabel* label(const char* name) const { return find<QLabel>(name); }
    [[nodiscard]] QLineEdit* field(const char* name) const { return find<QLineEdit>(name); }
    [[nodiscard]] QPushButton* button(const char* name) const { return find<QPushButton>(name); }
    [[nodiscard]] QComboBox* menu(const char* name) const { return find<QComboBox>(name); }
    [[nodiscard]] QSlider* slider(const char* name) const { return find<QSlider>(name); }
    [[nodiscard]] QTimer* timer(const char* name) const { return find<QTimer>(name); }
    [[nodiscard]] LineControl* line(const char* name) const { return find<LineControl>(name); }
    [[nodiscard]] PlotCanvas* canvas() const { return find<PlotCanvas>("Canvas1"); }
    [[nodiscard]] CrTextEdit* history() const { return find<CrTextEdit>("EditField2"); }
    [[nodiscard]] QString text(const char* name) const { return label(name)->text(); }

  private:
    const QWidget* window_;
};

}  // namespace limenta::testing
