// The plain-text assessment report: a snapshot of what the main window shows.
#pragma once

#include <array>
#include <string>

#include "core/procedure/method.h"

namespace limenta {

struct ReportInputs {
    std::string mydate;      // long date at Start
    std::string mytime;      // long time at Start
    double totaltime = 0.0;  // seconds from Start to the estimate
    Method method = Method::AdaptivePest;
    std::string field1;  // the three parameter fields as they stand
    std::string field4;
    std::string field3;
    std::string threshold;                 // the big number
    std::array<std::string, 3> percents;   // the quick-reference menus' texts ("80%")
    std::array<std::string, 3> plain;      // their plain values
    std::array<std::string, 3> corrected;  // their depth-corrected values
    std::string m1Distance;                // mm, as typed
    std::string targetDistance;            // mm, as typed
    std::string historyHeader;             // the column header
    std::string history;                   // every history line, newest first, each ending in CR
};

// The report, every line ending in a single carriage return.
std::string composeReport(const ReportInputs& in);

}  // namespace limenta
