#include "gui/prefs/key_capture_dialog.h"

#include <QKeyEvent>
#include <QLabel>

#include "core/trial/response_keys.h"
#include "gui/widgets/caption_fit.h"
#include "gui/widgets/design.h"
#include "gui/widgets/qt_key_code.h"

namespace limenta {

namespace {

constexpr int kCaptionSize = 24;

}  // namespace

Window3::Window3(QWidget* parent, std::int32_t& selectedkey)
    : QDialog(parent), selectedkey_(selectedkey) {
    setObjectName(QStringLiteral("Window3"));
    setWindowTitle(QStringLiteral("Select a key"));
    setFixedSize(348, 81);
    StaticText1 = new QLabel(QStringLiteral("PRESS ANY KEY TO SELECT IT"), this);
    StaticText1->setObjectName(QStringLiteral("StaticText1"));
    StaticText1->setGeometry(20, 14, 308, 61);
    StaticText1->setFont(designFont(Face::Times, kCaptionSize));
    StaticText1->setAlignment(Qt::AlignCenter);
    StaticText1->setWordWrap(true);
}

bool Window3::Event_KeyDown(std::int32_t key) {
    if (key == keycode::kLeft || key == keycode::kRight || key == keycode::kUp ||
        key == keycode::kDown || !isCharacterCode(key)) {
        return false;
    }
    if (const MenuKey* menu = menuKeyOf(key)) {
        setFittingText(StaticText1, QString::fromStdString(menuKeyRefusal(*menu)), kCaptionSize);
        return false;
    }
    selectedkey_ = key;
    accept();
    return true;
}

bool Window3::event(QEvent* event) {
    // Every key, Tab and Escape included, is a candidate: none moves the focus or closes
    // the window by itself.
    if (event->type() == QEvent::KeyPress) {
        Event_KeyDown(keyCodeOf(static_cast<const QKeyEvent&>(*event)));
        return true;
    }
    return QDialog::event(event);
}

}  // namespace limenta
