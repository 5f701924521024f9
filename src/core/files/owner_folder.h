// Folders Limenta makes for patient data: readable by their owner only.
#pragma once

#include <string>

namespace limenta {

// Makes `path` and every missing folder above it, each with mode 0700; folders that exist
// are left as they are. False, with `problem` in a few words, when one cannot be made.
bool makeOwnerFolders(const std::string& path, std::string& problem);

}  // namespace limenta
