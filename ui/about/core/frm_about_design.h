#pragma once

#include "ui/common/core/window_design.h"

namespace tamlo {

// The About window as it is designed: caption, client area and its controls in creation order.
// The title and version labels hold their design texts; the window fills them in when it loads.
extern const WindowDesign kFrmAboutDesign;

} // namespace tamlo
