#include "ui/main_window/core/frm_tamlo_design.h"

#include <array>

namespace tamlo {
namespace {

constexpr const char* kSansSerif = "MS Sans Serif";
constexpr FontDesign kLegendFont{kSansSerif, 975, true};
constexpr FontDesign kStatusFont{kSansSerif, 1200, true};
constexpr std::uint32_t kBlue = 0x00FF0000;
constexpr std::uint32_t kRed = 0x000000FF;

using enum ControlKind;
using enum Sizing;

constexpr std::array kControls{
    ControlDesign{.name = "TimerWait", .kind = Timer, .enabled = false, .interval = 2000},
    ControlDesign{.name = "TimerLevel", .kind = Timer, .interval = 1000},
    ControlDesign{.name = "txtDisplay",
                  .kind = TextBox,
                  .left = 960,
                  .top = 1200,
                  .width = 2055,
                  .height = 495,
                  .text = "txtDisplay",
                  .font = {"Courier New", 2025, true},
                  .enabled = false},
    ControlDesign{.name = "txtAbout",
                  .left = 3000,
                  .top = 4200,
                  .width = 615,
                  .height = 240,
                  .text = "About",
                  .font = kLegendFont,
                  .colour = kBlue,
                  .sizing = AutoSize},
    ControlDesign{.name = "txtMessage",
                  .left = 120,
                  .top = 2520,
                  .width = 3735,
                  .height = 375,
                  .text = "Game Over !",
                  .font = {kSansSerif, 1350, true},
                  .colour = kRed,
                  .centred = true},
    ControlDesign{.name = "txtLevel",
                  .left = 1020,
                  .top = 600,
                  .width = 1380,
                  .height = 300,
                  .text = "Level : 1",
                  .font = kStatusFont},
    ControlDesign{.name = "txtScore",
                  .left = 960,
                  .top = 240,
                  .width = 1845,
                  .height = 300,
                  .text = "Score : 000000",
                  .font = kStatusFont,
                  .sizing = AutoSize},
    ControlDesign{.name = "Label4",
                  .left = 960,
                  .top = 3720,
                  .width = 1125,
                  .height = 240,
                  .text = "R - Restart",
                  .font = kLegendFont,
                  .sizing = AutoSize},
    ControlDesign{.name = "txtNoLand",
                  .left = 960,
                  .top = 2160,
                  .width = 585,
                  .height = 195,
                  .text = "Land : 0",
                  .sizing = AutoSize},
    ControlDesign{.name = "txtMissFire",
                  .left = 960,
                  .top = 1920,
                  .width = 840,
                  .height = 195,
                  .text = "Miss Fire : 0",
                  .sizing = AutoSize},
    ControlDesign{.name = "Label3",
                  .left = 960,
                  .top = 4200,
                  .width = 960,
                  .height = 240,
                  .text = "Esc : Exit",
                  .font = kLegendFont,
                  .sizing = AutoSize},
    ControlDesign{.name = "Label2",
                  .left = 960,
                  .top = 3480,
                  .width = 1830,
                  .height = 240,
                  .text = "Down Arrow - Fire",
                  .font = kLegendFont,
                  .sizing = AutoSize},
    ControlDesign{.name = "Label1",
                  .left = 960,
                  .top = 3240,
                  .width = 1620,
                  .height = 240,
                  .text = "Left Arrow - Aim",
                  .font = kLegendFont,
                  .sizing = AutoSize},
    ControlDesign{.name = "mnuPopMenu", .kind = Menu, .text = "PopMenu"},
    ControlDesign{.name = "mnuAbout", .kind = MenuItem, .text = "About"},
};

} // namespace

const WindowDesign kFrmTamloDesign{.name = "FrmTamlo",
                                   .caption = "Tamlo QT-350 Simulator",
                                   .clientWidth = 3900,
                                   .clientHeight = 4980,
                                   .font = {kSansSerif, 825, false},
                                   .controls = kControls};

} // namespace tamlo
