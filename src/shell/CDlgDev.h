// Device selection: one line per drive, then "[Image File]", through which
// a disc image is opened in place of a drive.
#pragma once

#include "skin/CShapedDialog.h"

#include <vector>

class CBmpRoundBtn;
class CDevCmdROM;
class DevDeque;
class QListWidget;

class CDlgDev : public CShapedDialog {
    Q_OBJECT
public:
    static constexpr const char* kImageFilter =
        "All image files(*.*)|*.*|Iso files(*.iso)|*.iso|Img Files(*.img)|*.img|Nrg Files(*.nrg)|*.nrg|VCD "
        "Files(*.vcd)|*.vcd||";

    explicit CDlgDev(QWidget* parent = nullptr);

    void SetDeviceList(DevDeque* devices);
    CDevCmdROM* GetSelectedDevice() const { return chosen_; }
    QString GetDeviceLabel() const { return label_; }
    QListWidget* DriveListBox() const { return list_; }

    // Takes the selected line: asks for the image file on "[Image File]",
    // checks the drive is ready and ends the dialog with OK.
    void OnOK();

protected:
    void showEvent(QShowEvent* event) override;
    void OnEnterKey() override { OnOK(); }
    void OnEscapeKey() override { reject(); }

private:
    void FillList();

    QListWidget* list_ = nullptr;
    CBmpRoundBtn* cancel_ = nullptr;
    CBmpRoundBtn* ok_ = nullptr;
    DevDeque* devices_ = nullptr;
    std::vector<int> entryOfLine_; // drive-list index of each line
    CDevCmdROM* chosen_ = nullptr;
    QString label_;
};
