// A thousand runs in one process: Start, answers to the end, Print/Save, Reset. Memory
// stays flat, so nothing grows with the number of runs (LeakSanitizer, in the sanitizer
// build, reports any leak at exit).
#include <malloc.h>
#include <unistd.h>
#include <QFile>
#include <algorithm>
#include <fstream>

#include "gui/fakes/main_window_fixture.h"
#include "gui/report/output_window.h"

namespace limenta::testing {
namespace {

// AddressSanitizer keeps freed memory in quarantine and has its own allocator, so sizes mean
// nothing there; its LeakSanitizer checks for leaks at exit instead.
#if defined(__SANITIZE_ADDRESS__)
constexpr bool kMemoryIsMeasurable = false;
#else
constexpr bool kMemoryIsMeasurable = true;
#endif

// Bytes the program holds on the heap now: grows only with what is kept, unlike the
// resident size, which also counts freed memory the allocator keeps for reuse.
long heapKilobytes() {
    return static_cast<long>(mallinfo2().uordblks / 1024);
}

long residentKilobytes() {
    std::ifstream statm("/proc/self/statm");
    long pages = 0;
    long resident = 0;
    statm >> pages >> resident;
    return resident * (sysconf(_SC_PAGESIZE) / 1024);
}

using LongUse = MainWindowTest;

TEST_F(LongUse, AThousandRunsKeepMemoryFlat) {
    Window1& w = open(prefsWith({{kPrefsVoiceVolume, "85"}}));
    w.hide();
    fake.dialogs.saveAnswer = dir.filePath(QStringLiteral("report.txt"));
    // The allocator hands pages back and takes them again as it likes, so a single reading
    // of resident memory swings by a megabyte or two, for hundreds of runs at a time: the
    // highest of four hundred runs is read.
    long afterFirst = 0;
    long highestEarly = 0;  // runs 101 to 500
    long highestLate = 0;   // runs 601 to 1000
    long heapAfterHundredth = 0;
    const std::vector<std::string> keys = offered();
    for (int number = 1; number <= 1000; ++number) {
        const std::string& next = keys[static_cast<std::size_t>(number) % keys.size()];
        if (method() != next) {
            choose(next.c_str());
        }
        ui.button("PushButton1")->click();
        for (int i = 0; i < kLastTrial && run().state().myrmt == 0; ++i) {
            answer((i + number) % 3 == 0 ? 'n' : 'y');
            tick("Timer1");
            tick("Timer2");
            tick("Timer3");
        }
        ASSERT_NE(run().state().myrmt, 0) << "run " << number;
        ui.button("PushButton4")->click();
        window->findChild<Window4*>()->PushButton2->click();
        ui.button("PushButton3")->click();
        // As the event loop does between the operator's actions.
        QCoreApplication::processEvents();
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        fake.sounds.forget();
        const long resident = residentKilobytes();
        if (number == 1) {
            afterFirst = resident;
        } else if (number == 100) {
            heapAfterHundredth = heapKilobytes();
        } else if (number > 100 && number <= 500) {
            highestEarly = std::max(highestEarly, resident);
        } else if (number > 600) {
            highestLate = std::max(highestLate, resident);
        }
    }
    const long afterLast = residentKilobytes();
    const long heapAfterLast = heapKilobytes();
    RecordProperty("rss_kb_run_1", static_cast<int>(afterFirst));
    RecordProperty("rss_kb_run_1000", static_cast<int>(afterLast));
    std::printf(
        "resident memory: %ld kB after run 1, at most %ld kB in runs 101-500, at most %ld kB in "
        "runs 601-1000\nheap in use: %ld kB after run 100, %ld kB after run 1000\n",
        afterFirst, highestEarly, highestLate, heapAfterHundredth, heapAfterLast);
    // Caches fill during the first runs; from then on nothing may grow with the runs.
    if (kMemoryIsMeasurable) {
        EXPECT_LT(heapAfterLast - heapAfterHundredth, 256);
        EXPECT_LT(highestLate - highestEarly, 1024);
    }
    EXPECT_TRUE(QFile::exists(dir.filePath(QStringLiteral("report.txt"))));
}

}  // namespace
}  // namespace limenta::testing
