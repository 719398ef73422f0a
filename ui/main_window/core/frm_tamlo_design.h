#pragma once

#include "ui/common/core/form_spec.h"

namespace tamlo {

// The game window as it is designed: title, client area, the two timers, the display, the status
// labels, the key legend, the "About" label and the hidden menu, in creation order.
extern const FormSpec kFrmTamloDesign;

} // namespace tamlo
