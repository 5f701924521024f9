#include "gui/main_window/window_host.h"

#include <QLocale>
#include <QUuid>

#include "gui/journal/journal_writer.h"
#include "gui/prefs/prefs_store.h"

namespace limenta {

WallTime WindowHost::now() {
    const QDateTime now = platform_.clocks.currentDateTime();
    const QLocale locale;
    return {locale.toString(now.date(), QLocale::LongFormat).toStdString(),
            locale.toString(now.time(), QLocale::LongFormat).toStdString(),
            now.toOffsetFromUtc(now.offsetFromUtc()).toString(Qt::ISODate).toStdString(),
            now.toMSecsSinceEpoch()};
}

std::optional<std::string> WindowHost::preferences() {
    return prefs_.read();
}

bool WindowHost::digitSounding() {
    for (int d = 0; d <= 9; ++d) {
        if (platform_.sounds.sound(QStringLiteral("s%1").arg(d)).isPlaying()) {
            return true;
        }
    }
    return false;
}

bool WindowHost::keepingRuns() {
    return journal_ != nullptr && !journal_->ended();
}

std::string WindowHost::newRunId() {
    return QUuid::createUuid().toString(QUuid::WithoutBraces).toStdString();
}

std::optional<KnownPatient> WindowHost::knownPatient(const std::string& code) {
    return journal_ != nullptr ? journal_->patient(code) : std::nullopt;
}

}  // namespace limenta
