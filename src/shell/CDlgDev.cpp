#include "shell/CDlgDev.h"

#include "common/StringTable.h"
#include "drive/CDevCmdROM.h"
#include "drive/DevDeque.h"
#include "drive/DriveLabel.h"
#include "shell/FileFilters.h"
#include "shell/Messages.h"
#include "skin/CBmpBtn.h"
#include "skin/SkinGeometry.h"

#include <QFileDialog>
#include <QListWidget>

namespace {
constexpr int kDeviceMask = 158;
constexpr int kDeviceSkin = 219;
constexpr int kLabelLimit = 256;
const char* const kImageLine = "[Image File]";
} // namespace

CDlgDev::CDlgDev(QWidget* parent) : CShapedDialog(kDeviceMask, kDeviceSkin, parent)
{
    using namespace DeviceLayout;
    list_ = new QListWidget(this);
    list_->setObjectName(QStringLiteral("driveList"));
    list_->setGeometry(DriveList.x, DriveList.y, DriveList.w, DriveList.h);
    list_->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOn);
    list_->setStyleSheet(QStringLiteral("QListWidget { background: rgb(232, 238, 244); border: 1px solid rgb(38, 52, "
                                        "66); } QListWidget::item:selected { background: rgb(169, 184, 202); color: "
                                        "black; border: 1px solid rgb(0, 0, 100); }"));
    connect(list_, &QListWidget::itemDoubleClicked, this, &CDlgDev::OnOK);

    ok_ = new CBmpRoundBtn(this);
    ok_->setGeometry(Ok.x, Ok.y, Ok.w, Ok.h);
    ok_->SetBitmaps(160, 161);
    connect(ok_, &QAbstractButton::clicked, this, &CDlgDev::OnOK);

    cancel_ = new CBmpRoundBtn(this);
    cancel_->setGeometry(Cancel.x, Cancel.y, Cancel.w, Cancel.h);
    cancel_->SetBitmaps(162, 163);
    connect(cancel_, &QAbstractButton::clicked, this, &CDlgDev::reject);

    ApplyShape(Placement::CentreOnScreen);
}

void CDlgDev::SetDeviceList(DevDeque* devices) { devices_ = devices; }

void CDlgDev::showEvent(QShowEvent* event)
{
    FillList();
    CShapedDialog::showEvent(event);
}

void CDlgDev::FillList()
{
    list_->clear();
    entryOfLine_.clear();
    const int count = devices_ ? devices_->GetDevCount() : 0;
    if (count == 0)
        return;
    // Drives that give no label get no line; the lines remember their entry
    // so that a choice always reaches the drive it names.
    for (int i = 0; i + 1 < count; ++i) {
        const std::string label = DriveLabel(*devices_->GetDequeItem(i));
        if (label.empty())
            continue;
        list_->addItem(QString::fromLocal8Bit(label.c_str()));
        entryOfLine_.push_back(i);
    }
    list_->addItem(QString::fromLatin1(kImageLine));
    entryOfLine_.push_back(count - 1);
    list_->setCurrentRow(0);
}

void CDlgDev::OnOK()
{
    if (list_->count() == 0) {
        ShowInformation(this, StringTable::SelectCdromDevice);
        return;
    }
    const int line = list_->currentRow();
    if (line < 0 || line >= int(entryOfLine_.size()))
        return;
    CDevCmdROM* entry = devices_->GetDequeItem(entryOfLine_[size_t(line)]);
    if (line == list_->count() - 1 && entry) {
        QFileDialog chooser(this);
        chooser.setOption(QFileDialog::DontUseNativeDialog);
        chooser.setFileMode(QFileDialog::ExistingFile);
        chooser.setAcceptMode(QFileDialog::AcceptOpen);
        chooser.setNameFilter(QtFilterList(kImageFilter));
        if (chooser.exec() != QDialog::Accepted || chooser.selectedFiles().isEmpty())
            return;
        if (!entry->SetImageFile(chooser.selectedFiles().front().toLocal8Bit().toStdString())) {
            ShowInformation(this, StringTable::NotValidImage);
            return;
        }
    }
    if (!entry)
        return;
    if (entry->TestUnitReady() != 0) {
        ShowInformation(this, StringTable::DeviceNotReady);
        return;
    }
    chosen_ = entry;
    label_ = list_->item(line)->text().left(kLabelLimit);
    accept();
}
