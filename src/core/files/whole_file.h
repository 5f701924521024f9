// Writing a file whole or not at all: a temporary file beside it, every byte written and
// flushed to the disk, then a rename over the old one. Any failure leaves the old file
// exactly as it was. A new file is readable by its owner only (mode 0600); a file replaced
// keeps its mode.
#pragma once

#include <sys/types.h>

#include <functional>
#include <string>
#include <string_view>

namespace limenta {

// The system calls the writer makes, so a test can make any of them fail.
struct FileCalls {
    std::function<ssize_t(int, const void*, std::size_t)> write;
    std::function<int(int)> fsync;
    std::function<int(int)> close;
    std::function<int(const char*, const char*)> rename;

    static FileCalls system();
};

enum class LinkPolicy {
    Refuse,       // a path that is a symbolic link is not written
    WriteTarget,  // the file the link points to is replaced
};

struct WriteOutcome {
    bool written = false;
    std::string problem;  // why not, in a few words ("No space left on device")
};

WriteOutcome writeWholeFile(const std::string& path, std::string_view bytes, LinkPolicy links,
                            const FileCalls& calls = FileCalls::system());

}  // namespace limenta
