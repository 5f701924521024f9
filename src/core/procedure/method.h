// The two ways to an estimate.
#pragma once

namespace limenta {

enum class Method { AdaptivePest, MlPest };

}  // namespace limenta
