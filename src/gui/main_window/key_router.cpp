#include "gui/main_window/key_router.h"

#include <QKeyEvent>
#include <QKeySequence>
#include <QPushButton>
#include <algorithm>

#include "core/trial/response_keys.h"
#include "gui/main_window/plot_canvas.h"
#include "gui/main_window/window1.h"
#include "gui/platform/platform.h"
#include "gui/practice/practice_window.h"
#include "gui/widgets/editable_text.h"
#include "gui/widgets/qt_key_code.h"

namespace limenta {

namespace {

// One of the keys the menus take (Ctrl+Z...), whatever text the platform gives it.
bool isMenuKey(const QKeyEvent& key) {
    const QKeySequence pressed(key.keyCombination());
    return std::ranges::any_of(kMenuKeys, [&pressed](const MenuKey& menu) {
        return pressed == QKeySequence(QLatin1String(menu.name));
    });
}

}  // namespace

KeyRouter::KeyRouter(Window1& window, Clocks& clocks) : window_(window), clocks_(clocks) {}

bool KeyRouter::stillDown(int key) const {
    return key == heldKey_ ||
           (key == releasedKey_ && clocks_.ticks() - releasedAt_ <= kRepeatGapTicks);
}

bool KeyRouter::repeats(int key) {
    const bool down = stillDown(key);
    heldKey_ = key;
    return down;
}

bool KeyRouter::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::ShortcutOverride) {
        return heldMenuKey(watched, static_cast<QKeyEvent&>(*event));
    }
    if (event->type() != QEvent::KeyPress && event->type() != QEvent::KeyRelease) {
        return false;
    }
    const auto& key = static_cast<const QKeyEvent&>(*event);
    if (event->type() == QEvent::KeyRelease) {
        // Only watched, in any window (a dialog may have opened while the key was down):
        // whether the next press of this key is a new one.
        if (key.key() == heldKey_) {
            heldKey_ = 0;
        }
        releasedKey_ = key.key();
        releasedAt_ = clocks_.ticks();
        return false;
    }
    auto* widget = qobject_cast<QWidget*>(watched);
    // The practice window's keys are the main window's: the operator judges its sweeps.
    if (widget == nullptr ||
        (widget->window() != &window_ && widget->window() != window_.practiceWindow())) {
        return false;
    }
    const std::int32_t code = keyCodeOf(key);
    if (code == 0) {
        return false;  // Shift alone, a function key: nothing an answer could be
    }
    const bool tab = key.key() == Qt::Key_Tab || key.key() == Qt::Key_Backtab;
    if (tab ? !window_.console().runInProgress() : isEditableText(widget)) {
        return false;  // typing, or moving between fields while no run is under way
    }
    // A finger resting on the key is one answer, not one per repeat.
    if (repeats(key.key()) || key.isAutoRepeat()) {
        return true;
    }
    if (widget == window_.Canvas1) {
        window_.Canvas1_KeyDown(code);
    } else {
        window_.Event_KeyDown(code);
    }
    return true;
}

bool KeyRouter::heldMenuKey(QObject* watched, QKeyEvent& key) {
    auto* widget = qobject_cast<QWidget*>(watched);
    if (widget == nullptr || widget->window() != &window_ || isEditableText(widget) ||
        !isMenuKey(key)) {
        return false;
    }
    // Asked again of each widget up to the window while no one takes it: the answer must
    // not change, so a new press leaves no trace here.
    if (!stillDown(key.key()) && !key.isAutoRepeat()) {
        return false;  // a new press: its menu command goes ahead
    }
    // Taken from the menus: the press that follows arrives here as a repeat and goes no
    // further.
    heldKey_ = key.key();
    key.accept();
    return true;
}

}  // namespace limenta
