// Where the skinned windows put their controls, in pixels. The skin art is
// drawn around these rectangles, so windows and art share this one table.
#pragma once

struct SkinRect {
    int x, y, w, h;
    constexpr int Right() const { return x + w; }
    constexpr int Bottom() const { return y + h; }
};

// The control rectangles come in dialog units of an 8-point dialog font;
// base units of 6 × 12 pixels keep the round buttons round.
constexpr SkinRect FromDialogUnits(int x, int y, int w, int h)
{
    return {(x * 6 + 2) / 4, (y * 12 + 4) / 8, (w * 6 + 2) / 4, (h * 12 + 4) / 8};
}

namespace SkinColors {
constexpr unsigned Background = 0x647D8E; // RGB(100, 125, 142)
constexpr unsigned Highlight = 0xA9B8CA;  // RGB(169, 184, 202)
constexpr unsigned Frame = 0x000064;      // RGB(0, 0, 100)
} // namespace SkinColors

namespace MainLayout {
constexpr int Width = 626, Height = 442;   // mask 171
constexpr int SkinWidth = 614;             // bitmap 217
constexpr SkinRect ViewArea{64, 103, 536, 294}; // non-white part of mask 211
constexpr SkinRect StatusLine{ViewArea.x - 10, ViewArea.Bottom() + 20, 320, 20};
constexpr SkinRect PlayerTemplate = FromDialogUnits(237, 277, 161, 13);
constexpr SkinRect Player{ViewArea.Right() - 10 - PlayerTemplate.w, ViewArea.Bottom() + 20, PlayerTemplate.w,
                          PlayerTemplate.h};

constexpr SkinRect SelectDevice = FromDialogUnits(85, 36, 22, 22); // 1001
constexpr SkinRect Refresh = FromDialogUnits(114, 36, 22, 22);      // 1003
constexpr SkinRect SectorData = FromDialogUnits(142, 36, 21, 22);   // 1002
constexpr SkinRect Toc = FromDialogUnits(170, 36, 21, 22);          // 1004
constexpr SkinRect SaveData = FromDialogUnits(199, 36, 21, 22);     // 1008
constexpr SkinRect Volume = FromDialogUnits(227, 36, 21, 22);       // 1005
constexpr SkinRect DeviceInfo = FromDialogUnits(256, 36, 21, 22);   // 1009
constexpr SkinRect Exit = FromDialogUnits(284, 36, 21, 22);         // 1006
constexpr SkinRect Eject = FromDialogUnits(14, 15, 21, 22);         // 1023, top triangle
constexpr SkinRect CloseDevice = FromDialogUnits(37, 15, 21, 22);   // 1025, right triangle
constexpr SkinRect About = FromDialogUnits(14, 38, 21, 24);         // 1024, left triangle
constexpr SkinRect Help = FromDialogUnits(37, 38, 21, 24);          // 1026, bottom triangle
constexpr SkinRect Minimise{562, 35, 12, 12};                       // 1030
constexpr SkinRect Close{585, 35, 12, 12};                          // 1031
constexpr SkinRect FileMenu = FromDialogUnits(79, 22, 31, 12);      // 1045
constexpr SkinRect ViewMenu = FromDialogUnits(115, 22, 30, 12);     // 1046
constexpr SkinRect ToolsMenu = FromDialogUnits(150, 22, 30, 12);    // 1047
constexpr SkinRect HelpMenu = FromDialogUnits(185, 22, 30, 12);     // 1048
} // namespace MainLayout

namespace DeviceLayout { // dialog 165 on mask 158
constexpr int Width = 291, Height = 186;
constexpr SkinRect DriveList{14, 34, 263, 104};
constexpr SkinRect Ok{204, 146, 30, 30};
constexpr SkinRect Cancel{244, 146, 30, 30};
} // namespace DeviceLayout

namespace ProgressLayout { // dialog 172 on mask 175
constexpr int Width = 350, Height = 100;
constexpr SkinRect Target{18, 32, 266, 20};
constexpr SkinRect Bar{18, 62, 266, 14};
constexpr SkinRect Cancel{302, 42, 30, 30};
} // namespace ProgressLayout

namespace AboutLayout { // dialog 208: 187 × 125 dialog units
constexpr SkinRect Window = FromDialogUnits(0, 0, 187, 125);
constexpr SkinRect Picture{0, 0, 200, 100};  // bitmap 216
constexpr SkinRect Badge{Window.w - 25 - 8, 8, 25, 25}; // bitmap 215
constexpr SkinRect NameLine{16, 112, Window.w - 32, 20};   // 1033
constexpr SkinRect VersionLine{16, 136, Window.w - 32, 40}; // 1036
} // namespace AboutLayout
