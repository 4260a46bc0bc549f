// Menu resources of the program.
#include "shell/CommandIds.h"
#include "skin/MenuTemplate.h"

const std::vector<MenuTemplateItem>* FindMenuTemplate(int id)
{
    using namespace Cmd;
    static const MenuTemplateItem separator{};
    static const std::vector<MenuTemplateItem> mainMenu = {
        {0, "File",
         {{MenuSelectDevice, "Select Device", {}},
          {MenuSectorData, "Show Sector Data", {}},
          separator,
          {MenuEject, "Eject Device", {}},
          {MenuCloseDevice, "Close Device", {}},
          separator,
          {MenuExit, "Exit", {}}}},
        {0, "View", {{MenuRefresh, "Refresh", {}}, {MenuSaveData, "Save Data", {}}}},
        {0, "Tools",
         {{MenuShowToc, "Show TOC", {}},
          {MenuVolume, "Volumn Information", {}},
          {MenuDeviceInfo, "Device Support Information", {}},
          separator,
          {MenuDiscScan, "Disc Scan", {}}}},
        {0, "Help", {{MenuHelpTopic, "Help Topic", {}}, separator, {MenuAbout, "About", {}}}},
    };
    return id == kMainMenu ? &mainMenu : nullptr;
}
