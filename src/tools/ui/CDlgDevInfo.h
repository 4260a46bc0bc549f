// The device capability report: which media the drive reads and writes and
// its CD-DA abilities, one "Yes"/"No" row each.
#pragma once

#include <QWidget>

class CDevCmdROM;
class CListCtrlEx;

class CDlgDevInfo : public QWidget {
    Q_OBJECT
public:
    // Fills parent's client area.
    explicit CDlgDevInfo(QWidget* parent);

    // Clears and refills the list from drive (null: left empty).
    void ShowDeviceInfo(CDevCmdROM* drive);

    CListCtrlEx* List() const { return list_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CListCtrlEx* list_;
};
