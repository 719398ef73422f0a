#include "ui/about/core/frm_about_design.h"

#include <array>

namespace tamlo {
namespace {

constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kBlack = 0x00000000;
constexpr std::uint32_t kGrey = 0x00808080;
constexpr std::uint32_t kWhite = 0x00FFFFFF;

using enum ControlKind;
using enum Sizing;

constexpr std::array kControls{
    ControlDesign{.name = "picIcon",
                  .kind = PictureBox,
                  .left = 240,
                  .top = 240,
                  .width = 705,
                  .height = 690,
                  .tabIndex = 2,
                  .lineWidth = 2},
    ControlDesign{.name = "cmdOK",
                  .kind = Button,
                  .left = 3765,
                  .top = 2385,
                  .width = 1230,
                  .height = 345,
                  .text = "OK",
                  .isDefault = true,
                  .tabIndex = 0},
    ControlDesign{.name = "cmdSysInfo",
                  .kind = Button,
                  .left = 3780,
                  .top = 2835,
                  .width = 1215,
                  .height = 345,
                  .text = "&System Info...",
                  .tabIndex = 1},
    ControlDesign{.name = "Label1",
                  .left = 840,
                  .top = 1560,
                  .width = 4290,
                  .height = 390,
                  .text =
                      "Source code and bug reports: see the repository this copy of the program "
                      "was built from.",
                  .colour = kBlue,
                  .sizing = WrapHeight,
                  .tabIndex = 7},
    ControlDesign{.name = "lblDescription",
                  .left = 1080,
                  .top = 1200,
                  .width = 3735,
                  .height = 210,
                  .text = "Copyright (c) 2026 the Tamlo QT-350 Simulator contributors",
                  .colour = kBlack,
                  .tabIndex = 6},
    ControlDesign{.name = "lblTitle",
                  .left = 1050,
                  .top = 240,
                  .width = 3615,
                  .height = 480,
                  .text = "Application Title",
                  .font = {"MS Sans Serif", 975, true},
                  .colour = kBlack,
                  .tabIndex = 5},
    ControlDesign{.name = "Line1",
                  .kind = Line,
                  .left = 120,
                  .top = 2160,
                  .width = 4920,
                  .colour = kGrey,
                  .lineWidth = 1,
                  .arrayIndex = 1},
    ControlDesign{.name = "Line1",
                  .kind = Line,
                  .left = 120,
                  .top = 2160,
                  .width = 4920,
                  .colour = kWhite,
                  .lineWidth = 2,
                  .arrayIndex = 0},
    ControlDesign{.name = "lblVersion",
                  .left = 1050,
                  .top = 780,
                  .width = 3735,
                  .height = 225,
                  .text = "Version",
                  .tabIndex = 4},
    ControlDesign{.name = "lblDisclaimer",
                  .left = 840,
                  .top = 2400,
                  .width = 2550,
                  .height = 585,
                  .text = "This is free software: anyone may use, change and pass it on under the "
                          "terms of the MIT licence.",
                  .colour = kBlack,
                  .tabIndex = 3},
};

} // namespace

const WindowDesign kFrmAboutDesign{.name = "frmAbout",
                                   .caption = "About Tamlo QT-300 Simulator",
                                   .clientWidth = 5115,
                                   .clientHeight = 3405,
                                   .font = {"MS Sans Serif", 800, false},
                                   .controls = kControls};

} // namespace tamlo
