#pragma once

class QWidget;

namespace tamlo {

// The System Info button's action: starts the system-information tool, or shows the one
// failure message modal over parent. Reads the registry (or the store standing in for it)
// afresh on every call.
void StartSysInfoOver(QWidget* parent);

} // namespace tamlo
