// Writes the journal could not take yet (another program held it), kept in order in a file
// of their own beside it, each synced to the disk as it is added: a crash or a kill while
// the journal is busy loses none of them, and the next start writes them in. Two programs
// sharing a journal share its backlog: a lock on the file keeps their writes whole.
#pragma once

#include <QString>
#include <functional>
#include <vector>

#include "core/journal/journal_record.h"

namespace limenta {

class JournalBacklog {
  public:
    // The backlog of the journal at `journalPath`.
    explicit JournalBacklog(const QString& journalPath);

    // False, with problem() set, when the disk refused it.
    bool add(const JournalWrite& write);
    // Hands every write kept, in order, to `into` (a last line cut short by a crash is left
    // out); they are dropped from the backlog when it returns true.
    bool drain(const std::function<bool(const std::vector<JournalWrite>&)>& into);
    // Leaves out every write kept for which `erased` is true; false when the file could
    // not be rewritten.
    bool drop(const std::function<bool(const JournalWrite&)>& erased);
    [[nodiscard]] bool empty() const;

    [[nodiscard]] const QString& path() const { return path_; }
    [[nodiscard]] const QString& problem() const { return problem_; }

  private:
    QString path_;
    QString problem_;
};

}  // namespace limenta
