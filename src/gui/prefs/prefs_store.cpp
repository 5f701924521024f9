#include "gui/prefs/prefs_store.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QStandardPaths>

#include "core/files/owner_folder.h"
#include "core/files/whole_file.h"
#include "core/prefs/prefs_format.h"

namespace limenta {

namespace {

// PREFS is one short line; a larger file is not ours and is not read beyond this.
constexpr qint64 kReadLimit = qint64{64} * 1024;

}  // namespace

PrefsStore::PrefsStore(QString filePath, FileCalls calls)
    : path_(std::move(filePath)), calls_(std::move(calls)) {}

QString PrefsStore::defaultFilePath() {
    const QString name = QString::fromLatin1(kPrefsFileName);
    const QString chosen = qEnvironmentVariable("LIMENTA_PREFS_DIR");
    if (!chosen.isEmpty()) {
        return QDir(chosen).filePath(name);
    }
    // An installed program (its desktop entry installed beside it) never writes beside
    // itself, even for an operator who could.
    const QString programFolder = QCoreApplication::applicationDirPath();
    const bool installed =
        QFileInfo::exists(programFolder + QStringLiteral("/../share/applications/limenta.desktop"));
    if (!installed && QFileInfo(programFolder).isWritable()) {
        return QDir(programFolder).filePath(name);
    }
    // The folder is made when the file is first written.
    const QString configFolder =
        QStandardPaths::writableLocation(QStandardPaths::AppConfigLocation);
    return QDir(configFolder).filePath(name);
}

std::optional<std::string> PrefsStore::read() {
    if (unsaved_) {
        return unsaved_;
    }
    QFile file(path_);
    if (!file.exists()) {
        return std::nullopt;
    }
    if (!file.open(QIODevice::ReadOnly)) {
        tellOnce(QStringLiteral("Limenta could not read its settings from %1 (%2). It starts "
                                "with its own values; settings you choose now may not be kept.")
                     .arg(QDir::toNativeSeparators(path_), file.errorString()));
        return std::string();
    }
    const QByteArray bytes = file.read(kReadLimit + 1);
    if (bytes.size() > kReadLimit) {
        // Read in part it would give wrong values: a file this long is not ours.
        return std::string();
    }
    return bytes.toStdString();
}

bool PrefsStore::write(const std::string& text) {
    // A folder named for the settings that does not exist yet is made, owner-only.
    WriteOutcome outcome;
    if (makeOwnerFolders(QFile::encodeName(QFileInfo(path_).absolutePath()).toStdString(),
                         outcome.problem)) {
        // A link could point anywhere, /etc/passwd included: the settings file is never
        // written through one.
        outcome = writeWholeFile(QFile::encodeName(path_).toStdString(), text, LinkPolicy::Refuse,
                                 calls_);
    }
    if (outcome.written) {
        unsaved_.reset();
        return true;
    }
    unsaved_ = text;
    tellOnce(QStringLiteral("Limenta could not save its settings in %1 (%2). The settings you "
                            "chose are used until Limenta closes, but they will not be kept.")
                 .arg(QDir::toNativeSeparators(path_), QString::fromStdString(outcome.problem)));
    return false;
}

void PrefsStore::tellOnce(const QString& message) {
    if (told_ || !tell_) {
        return;
    }
    told_ = true;
    tell_(message);
}

}  // namespace limenta
