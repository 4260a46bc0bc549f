// Command ids of the main window's buttons and of menu 232.
#pragma once

namespace Cmd {
// Buttons of the main window.
enum Button {
    BtnSelectDevice = 1001,
    BtnSectorData = 1002,
    BtnRefresh = 1003,
    BtnShowToc = 1004,
    BtnVolume = 1005,
    BtnExit = 1006,
    BtnSaveData = 1008,
    BtnDeviceInfo = 1009,
    BtnEject = 1023,
    BtnAbout = 1024,
    BtnCloseDevice = 1025,
    BtnHelp = 1026,
    BtnMinimise = 1030,
    BtnClose = 1031,
};
// Items of menu 232.
enum Menu {
    MenuSelectDevice = 32771,
    MenuSectorData = 32772,
    MenuEject = 32773,
    MenuCloseDevice = 32774,
    MenuExit = 32775,
    MenuRefresh = 32776,
    MenuSaveData = 32777,
    MenuShowToc = 32778,
    MenuVolume = 32779,
    MenuDeviceInfo = 32780,
    MenuDiscScan = 32781,
    MenuHelpTopic = 32783,
    MenuAbout = 32784,
};
inline constexpr int kMainMenu = 232;
} // namespace Cmd
