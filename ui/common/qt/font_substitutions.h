#pragma once

namespace tamlo {

// The windows name the classic families "MS Sans Serif" and "Courier New"; this maps them to
// metric-compatible free fonts that keep every text inside its box.
class FontSubstitutions {
public:
    static void Install();
};

} // namespace tamlo
