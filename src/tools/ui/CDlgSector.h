// The sector viewer: the sector number in an edit box with arrows beside it,
// the "all mode" box (raw 2352 bytes of CD sectors) and the sector as a hex
// dump in a fixed-pitch list.
#pragma once

#include "tools/SectorView.h"

#include <QWidget>

class CDevCmdROM;
class CHListBox;
class CTransBtn;
class QLineEdit;
class QScrollBar;

class CDlgSector : public QWidget {
    Q_OBJECT
public:
    static constexpr int kDumpTop = 30;

    // Fills parent's client area.
    explicit CDlgSector(QWidget* parent);

    // Binds the drive (may be null) with the explorer's sector mode and
    // shows sector 16.
    void SetDevice(CDevCmdROM* drive, int sectorMode);
    // Reads the sector the edit box names and dumps it.
    void ShowSector();
    // Asks for a file (default "Sector.dat") and writes the 2352-byte buffer.
    void SaveSector();
    // The arrows: up adds 1, down subtracts 1 but never goes below 0.
    void StepSector(bool lineUp);

    QLineEdit* SectorEdit() const { return edit_; }
    QScrollBar* Arrows() const { return arrows_; }
    CTransBtn* AllModeBox() const { return allMode_; }
    CHListBox* Dump() const { return dump_; }
    const SectorView& Sector() const { return view_; }

protected:
    void resizeEvent(QResizeEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void paintEvent(QPaintEvent* event) override;

private:
    void OnArrow(int action);
    void LayOut();

    QLineEdit* edit_;
    QScrollBar* arrows_;
    CTransBtn* allMode_;
    CHListBox* dump_;
    CDevCmdROM* drive_ = nullptr;
    int sectorMode_ = 1;
    SectorView view_;
};
