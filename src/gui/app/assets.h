// The sounds, the splash picture and the design's faces are embedded in the program.
#pragma once

namespace limenta {

// Registers the embedded assets (a static library's resources are otherwise dropped by
// the linker) and loads the faces every window is drawn in. Call once, after the
// application object exists and before the first window opens.
void initAssets();

}  // namespace limenta
