#include "gui/journal/journal_backlog.h"

#include <fcntl.h>
#include <sys/file.h>
#include <unistd.h>

#include <QFile>
#include <QFileInfo>
#include <cerrno>
#include <cstring>

#include "gui/journal/journal_line.h"

namespace limenta {

namespace {

// The backlog's file, open and locked against the other program that may share it.
class LockedFile {
  public:
    explicit LockedFile(const QString& path, int flags)
        : fd_(::open(QFile::encodeName(path).constData(), flags | O_CLOEXEC, 0600)) {
        if (fd_ >= 0 && ::flock(fd_, LOCK_EX) != 0) {
            ::close(fd_);
            fd_ = -1;
        }
    }
    ~LockedFile() {
        if (fd_ >= 0) {
            ::close(fd_);  // and with it the lock
        }
    }
    LockedFile(const LockedFile&) = delete;
    LockedFile& operator=(const LockedFile&) = delete;
    [[nodiscard]] int fd() const { return fd_; }

  private:
    int fd_;
};

bool writeAll(int fd, const QByteArray& bytes) {
    for (qsizetype at = 0; at < bytes.size();) {
        const ssize_t n =
            ::write(fd, bytes.constData() + at, static_cast<std::size_t>(bytes.size() - at));
        if (n < 0 && errno == EINTR) {
            continue;
        }
        if (n <= 0) {
            return false;
        }
        at += n;
    }
    return true;
}

}  // namespace

JournalBacklog::JournalBacklog(const QString& journalPath)
    : path_(journalPath + QStringLiteral("-waiting")) {}

bool JournalBacklog::add(const JournalWrite& write) {
    const bool creating = !QFileInfo::exists(path_);
    const LockedFile file(path_, O_WRONLY | O_APPEND | O_CREAT);
    if (file.fd() < 0 || !writeAll(file.fd(), journalLine(write) + '\n') ||
        ::fsync(file.fd()) != 0) {
        problem_ = QString::fromLocal8Bit(std::strerror(errno));
        return false;
    }
    if (creating) {
        // The new file's name reaches the disk too.
        const QByteArray folder = QFile::encodeName(QFileInfo(path_).absolutePath());
        const int dir = ::open(folder.constData(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
        if (dir >= 0) {
            ::fsync(dir);
            ::close(dir);
        }
    }
    return true;
}

bool JournalBacklog::drain(const std::function<bool(const std::vector<JournalWrite>&)>& into) {
    const LockedFile file(path_, O_RDWR);
    if (file.fd() < 0) {
        return errno == ENOENT;  // no backlog at all
    }
    QFile reader;
    if (!reader.open(file.fd(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return false;
    }
    std::vector<JournalWrite> writes;
    for (const QByteArray& line : reader.readAll().split('\n')) {
        if (auto write = journalWriteOf(line)) {
            writes.push_back(*write);
        }
    }
    reader.close();
    // Emptied, not removed: the other program may hold the file open already.
    return into(writes) && ::ftruncate(file.fd(), 0) == 0 && ::fsync(file.fd()) == 0;
}

bool JournalBacklog::drop(const std::function<bool(const JournalWrite&)>& erased) {
    const LockedFile file(path_, O_RDWR);
    if (file.fd() < 0) {
        return errno == ENOENT;
    }
    QFile reader;
    if (!reader.open(file.fd(), QIODevice::ReadOnly, QFileDevice::DontCloseHandle)) {
        return false;
    }
    QByteArray kept;
    for (const QByteArray& line : reader.readAll().split('\n')) {
        const std::optional<JournalWrite> write = journalWriteOf(line);
        if (write && !erased(*write)) {
            kept += line + '\n';
        }
    }
    reader.close();
    // Rewritten in place: the other program may hold the file open already.
    const bool done = ::ftruncate(file.fd(), 0) == 0 && ::lseek(file.fd(), 0, SEEK_SET) == 0 &&
                      writeAll(file.fd(), kept) && ::fsync(file.fd()) == 0;
    if (!done) {
        problem_ = QString::fromLocal8Bit(std::strerror(errno));
    }
    return done;
}

bool JournalBacklog::empty() const {
    return QFileInfo(path_).size() == 0;
}

}  // namespace limenta
