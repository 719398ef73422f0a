// Prints where the design tables put each window's client area ("client") and controls (a member
// of a control array as <name>_<index>) in pixels at scale 1, for the desktop tests to click and
// measure there: every row as <window> <control> <left> <top> <width> <height>, or for one window
// and control only <left> <top> <width> <height> (status 1 if there is no such row):
//   design_geometry [<window> <control>]
#include "ui/about/core/frm_about_design.h"
#include "ui/main_window/core/frm_tamlo_design.h"

#include <cstdio>
#include <string>

int main(int argc, char** argv) {
    int found = 0;
    const auto print = [&](const char* window, std::string control, int x, int y, int w, int h) {
        if (argc < 3) {
            std::printf("%s %s %d %d %d %d\n", window, control.c_str(), x, y, w, h);
        } else if (window == std::string(argv[1]) && control == argv[2] && found++ == 0) {
            std::printf("%d %d %d %d\n", x, y, w, h);
        }
    };
    using tamlo::TwipsToPixels;
    for (const tamlo::WindowDesign* window : {&tamlo::kFrmTamloDesign, &tamlo::kFrmAboutDesign}) {
        print(window->name, "client", 0, 0, TwipsToPixels(window->clientWidth),
              TwipsToPixels(window->clientHeight));
        for (const tamlo::ControlDesign& row : window->controls) {
            print(window->name,
                  row.name + (row.arrayIndex < 0 ? "" : "_" + std::to_string(row.arrayIndex)),
                  TwipsToPixels(row.left), TwipsToPixels(row.top), TwipsToPixels(row.width),
                  TwipsToPixels(row.height));
        }
    }
    return argc < 3 || found > 0 ? 0 : 1;
}
