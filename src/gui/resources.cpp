#include "gui/resources.h"

#include <QtCore/qglobal.h>

// Q_INIT_RESOURCE has to be used outside any namespace.
static void InitZebResources() {
    Q_INIT_RESOURCE(zeb);
}

namespace zeb::gui {

void InitResources() {
    static const bool done = [] {
        InitZebResources();
        return true;
    }();
    (void)done;
}

} // namespace zeb::gui
