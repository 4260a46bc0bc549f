// The message boxes every window shows: the program's name as caption and
// a string-table text.
#pragma once

class QWidget;
class CDevCmdROM;

void ShowInformation(QWidget* owner, int stringId);
// OK and Cancel with the question icon; true for OK.
bool AskOkCancel(QWidget* owner, int stringId);
// False without a drive; true when it answers TestUnitReady; otherwise
// "Device not Ready,Please try again!" and false.
bool IsDeviceReady(CDevCmdROM* drive, QWidget* owner);
