// The sounds and the splash picture are embedded in the program.
#pragma once

namespace limenta {

// Registers the embedded assets; a static library's resources are otherwise dropped by
// the linker. Call once before the first window opens.
void initAssets();

}  // namespace limenta
