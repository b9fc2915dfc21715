#pragma once
// The picture, the icon and the help pages are compiled into the zeb_gui library; a static
// library has to register them explicitly before the first ":/" path is used.

namespace zeb::gui {

void InitResources();

} // namespace zeb::gui
