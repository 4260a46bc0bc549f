// The device capability report: which media the drive reads and writes and
// its CD-DA abilities, one "Yes"/"No" row each.
#pragma once

#include "skin/CListView.h"

class CDevCmdROM;

class CDlgDevInfo : public CListView {
    Q_OBJECT
public:
    explicit CDlgDevInfo(QWidget* parent);

    // Clears and refills the list from drive (null: left empty).
    void ShowDeviceInfo(CDevCmdROM* drive);
};
