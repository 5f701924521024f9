// What went wrong with the journal, in the terms the journal acts on and in Limenta's words.
#pragma once

#include <QString>

class QSqlError;

namespace limenta {

// Why a write or an open did not happen: a busy journal (another program holds it for a
// moment) is tried again; anything else lasts.
enum class JournalFault { None, Busy, Lasting };

// The file is no journal, or a damaged one.
bool damaged(const QSqlError& error);
// The error of a file an integrity check found damaged, with what it found.
QSqlError damagedFileError(const QString& found);
JournalFault faultOf(const QSqlError& error);
// What went wrong in Limenta's words, never the driver's.
QString wordsFor(const QSqlError& error);

}  // namespace limenta
