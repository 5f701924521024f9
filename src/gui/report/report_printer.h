// Lays a report out on printed pages: a column 540 points wide in Courier 12, wrapped,
// drawn in blocks of at most 720 points from the top of each page's printable area.
#pragma once

#include <QString>

class QPagedPaintDevice;

namespace limenta {

// Prints the carriage-return separated text and returns the number of pages.
int printReport(const QString& crText, QPagedPaintDevice& printer);

}  // namespace limenta
