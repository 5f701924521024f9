// A change to the journal as one line of JSON, and back: how the journal's backlog keeps the
// changes it holds while the journal is busy.
#pragma once

#include <QByteArray>
#include <optional>

#include "core/journal/journal_record.h"

namespace limenta {

QByteArray journalLine(const JournalWrite& write);
// Nothing for a line that is not one (a line cut short).
std::optional<JournalWrite> journalWriteOf(const QByteArray& line);

}  // namespace limenta
