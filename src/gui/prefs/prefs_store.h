// Where the preferences file lives, and reading and writing it safely.
#pragma once

#include <QString>
#include <functional>
#include <optional>
#include <string>

#include "core/files/whole_file.h"

namespace limenta {

class PrefsStore {
  public:
    // How the operator is told about a file that cannot be read or written.
    using Teller = std::function<void(const QString& message)>;

    explicit PrefsStore(QString filePath, FileCalls calls = FileCalls::system());

    // "PREFS" in the program's own folder: the folder named by LIMENTA_PREFS_DIR when it is
    // set; otherwise the executable's folder when the operator can write there (a portable
    // copy, a build tree); otherwise, and always for the installed program, the operator's
    // configuration folder for Limenta (~/.config/Limenta on Linux).
    static QString defaultFilePath();

    void setTeller(Teller teller) { tell_ = std::move(teller); }
    [[nodiscard]] const QString& filePath() const { return path_; }

    // The file's whole text; nothing when there is no file. A file that cannot be read
    // gives an empty text (which no reader takes for preferences). After a failed write,
    // the settings that could not be written are what is read, until Limenta closes.
    std::optional<std::string> read();

    // Replaces the file at once (a temporary file beside it, flushed, then a rename), so a
    // crash or a full disk never leaves a cut file; a symbolic link is never written
    // through. Returns false when it could not be written.
    bool write(const std::string& text);

  private:
    void tellOnce(const QString& message);

    QString path_;
    FileCalls calls_;
    std::optional<std::string> unsaved_;
    Teller tell_;
    bool told_ = false;
};

}  // namespace limenta
