#include "gui/journal/journal_fault.h"

#include <QSqlError>

namespace limenta {

namespace {

// SQLite's own result codes, as far as the journal tells them apart.
enum SqliteCode {
    kPermission = 3,
    kBusy = 5,
    kLocked = 6,
    kReadOnly = 8,
    kIoError = 10,
    kCorrupt = 11,
    kFull = 13,
    kCannotOpen = 14,
    kNotADatabase = 26,
};

int codeOf(const QSqlError& error) {
    return error.nativeErrorCode().toInt() & 0xff;  // the primary code of an extended one
}

}  // namespace

bool damaged(const QSqlError& error) {
    return codeOf(error) == kNotADatabase || codeOf(error) == kCorrupt;
}

QSqlError damagedFileError(const QString& found) {
    return {QString(), found, QSqlError::StatementError, QString::number(kCorrupt)};
}

JournalFault faultOf(const QSqlError& error) {
    return codeOf(error) == kBusy || codeOf(error) == kLocked ? JournalFault::Busy
                                                              : JournalFault::Lasting;
}

QString wordsFor(const QSqlError& error) {
    switch (codeOf(error)) {
        case kBusy:
        case kLocked:
            return QStringLiteral("another program is using the journal");
        case kFull:
            return QStringLiteral("the disk is full");
        case kPermission:
        case kReadOnly:
        case kCannotOpen:
            return QStringLiteral("the journal or its folder cannot be written");
        case kIoError:
            return QStringLiteral("the disk reported an error");
        case kCorrupt:
        case kNotADatabase:
            return QStringLiteral("the journal file is damaged");
        default:
            return QStringLiteral("SQLite error %1").arg(error.nativeErrorCode());
    }
}

}  // namespace limenta
