#include "gui/app/assets.h"

#include <QtGlobal>

#include "gui/widgets/design.h"

// Q_INIT_RESOURCE must be used outside any namespace.
static void initAssetsResource() {
    Q_INIT_RESOURCE(assets);
}

namespace limenta {

void initAssets() {
    initAssetsResource();
    useDesignFaces();
}

}  // namespace limenta
