// Output that could not be written is reported, never lost in silence.
#pragma once

namespace limenta::cli {

// The exit status of a command whose output could not be written.
inline constexpr int kOutputFailed = 3;

// Says so on standard error, with the system's reason (errno); returns kOutputFailed.
int outputFailed();

}  // namespace limenta::cli
