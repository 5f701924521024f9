// The journal's schema, one version at a time: each step takes a journal of the version
// before it to the next one, so a journal of any older version is brought up to date in
// place, and a file of a later version is left alone.
#pragma once

#include <QStringList>

namespace limenta {

inline constexpr int kJournalVersion = 7;

// The statements that take a journal of `version` to the next one.
QStringList journalUpgrade(int version);

}  // namespace limenta
