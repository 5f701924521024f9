// A patient the journal knows: the code as first typed, and how their latest run was measured.
#pragma once

#include <string>

#include "core/patient/setup.h"

namespace limenta {

struct KnownPatient {
    std::string code;
    Setup lastSetup;
};

}  // namespace limenta
