// Brings every key pressed in the main window to its answer handling: keys typed into an
// editable field stay there; every other key goes to the window's or the canvas's
// key handler, so buttons, sliders and read-only fields never swallow an answer.
#pragma once

#include <QObject>

class QKeyEvent;

namespace limenta {

class Clocks;
class Window1;

// A key released and pressed again within this many ticks was never let go: the keyboard's
// own repeat, which the window system sends as such a pair, flagged or not. A finger that
// lifts between two pulses stays up far longer.
inline constexpr int kRepeatGapTicks = 4;

class KeyRouter final : public QObject {
    Q_OBJECT

  public:
    KeyRouter(Window1& window, Clocks& clocks);

  protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

  private:
    // A press of `key` would only repeat a key still held down.
    [[nodiscard]] bool stillDown(int key) const;
    // The same, and `key` is held down from now on.
    [[nodiscard]] bool repeats(int key);
    // A menu's key held down gives its command once (Ctrl+Z takes back one answer): true
    // for a repeat, which the menus then never see.
    bool heldMenuKey(QObject* watched, QKeyEvent& key);

    Window1& window_;
    Clocks& clocks_;
    int heldKey_ = 0;  // the key pressed last and not yet released; 0 none
    int releasedKey_ = 0;
    qint64 releasedAt_ = 0;
};

}  // namespace limenta
