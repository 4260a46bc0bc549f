#include "common/StringTable.h"

const char* StringTable::Text(int id)
{
    switch (id) {
    case SelectDevice: return "Select the Device";
    case Refresh: return "Refresh";
    case ShowSectorData: return "Show Sector Data";
    case ShowToc: return "Show TOC";
    case SaveData: return "Save the Data";
    case ShowVolumeInformation: return "Show Volumn Information";
    case ShowDeviceSupport: return "Show Device Support Information";
    case Exit: return "Exit";
    case EjectDevice: return "Eject the Device";
    case AboutProgram: return "About the Program";
    case Help: return "Help";
    case CloseDevice: return "Close the Device";
    case BlankDisc: return "Blank Disc";
    case DeviceNotReady: return "Device not Ready,Please try again!";
    case SelectCdromDevice: return "Please Select CDROM Device!";
    case AlreadyExists: return "File or Directory already Existed, OverWrite it?";
    case NoWaveDevice: return "No Wave Device!";
    case NoAppropriateDevice: return "Not find appropriate Device!";
    case OpenWaveDeviceError: return "Open wave device error!";
    case NotFirstTrack: return "This is not the first track, the ISO file may be incorrect, Continue?";
    case NotValidImage: return "This is not valid image File!";
    default: return "";
    }
}
