// The ways to an estimate. The window offers the first two; limenta-sim all three.
#pragma once

namespace limenta {

enum class Method { AdaptivePest, MlPest, Bayes };

}  // namespace limenta
