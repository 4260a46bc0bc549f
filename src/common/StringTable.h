// The system's own texts, addressed by their string-table ids.
#pragma once

namespace StringTable {

enum Id {
    SelectDevice = 1,
    Refresh = 2,
    ShowSectorData = 3,
    ShowToc = 4,
    SaveData = 5,
    ShowVolumeInformation = 6,
    ShowDeviceSupport = 7,
    Exit = 8,
    EjectDevice = 9,
    AboutProgram = 10,
    Help = 11,
    CloseDevice = 12,
    BlankDisc = 13,
    DeviceNotReady = 14,
    SelectCdromDevice = 15,
    AlreadyExists = 17,
    NoWaveDevice = 20,
    NoAppropriateDevice = 21,
    OpenWaveDeviceError = 22,
    NotFirstTrack = 23,
    NotValidImage = 24,
};

// The text of id; empty for an id the table does not hold.
const char* Text(int id);

} // namespace StringTable
