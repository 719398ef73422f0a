// Prints where the design tables put each window's client area ("client") and controls (a member
// of a control array as <name>_<index>) in pixels at scale 1, for the desktop tests to click and
// measure there, one row each: <window> <control> <left> <top> <width> <height>
#include "ui/about/core/frm_about_design.h"
#include "ui/main_window/core/frm_tamlo_design.h"

#include <cstdio>
#include <string>

int main() {
    using tamlo::TwipsToPixels;
    for (const tamlo::WindowDesign* window : {&tamlo::kFrmTamloDesign, &tamlo::kFrmAboutDesign}) {
        std::printf("%s client 0 0 %d %d\n", window->name, TwipsToPixels(window->clientWidth),
                    TwipsToPixels(window->clientHeight));
        for (const tamlo::ControlDesign& row : window->controls) {
            const std::string index =
                row.arrayIndex < 0 ? "" : "_" + std::to_string(row.arrayIndex);
            std::printf("%s %s%s %d %d %d %d\n", window->name, row.name, index.c_str(),
                        TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
                        TwipsToPixels(row.height));
        }
    }
}
