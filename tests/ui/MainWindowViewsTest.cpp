// The analysis views inside the main window: made on first use, fed when
// chosen, refreshed only by Refresh; what Save Data and Disc Scan do with
// each. With MORVIK_SCREENSHOT_DIR set, pictures of every view are saved
// there (run under Xvfb to see the real shaping).
#include "ModalScript.h"
#include "ViewDiscs.h"

#include "audio/ui/CDlgAudioPlay.h"
#include "drive/DevDeque.h"
#include "drive/MmcCommands.h"
#include "explorer/ui/CDlgMain.h"
#include "filesystems/ui/CDlgVol.h"
#include "shell/CDlgDev.h"
#include "shell/CMorvikDlg.h"
#include "shell/CommandIds.h"
#include "skin/CHListBox.h"
#include "skin/CListCtrlEx.h"
#include "tools/ui/CDlgDevInfo.h"
#include "tools/ui/CDlgScanDisc.h"
#include "tools/ui/CDlgSector.h"
#include "tools/ui/CDlgTOC.h"

#include <QPushButton>
#include <QtTest>

using namespace testing_support;

namespace {

// Saves a picture of widget when screenshots are asked for.
void Shoot(QWidget& widget, const char* name)
{
    const QByteArray folder = qgetenv("MORVIK_SCREENSHOT_DIR");
    if (folder.isEmpty())
        return;
    QApplication::processEvents();
    widget.grab().save(QString::fromLocal8Bit(folder) + "/" + name);
}

// Fails the test if a command opens any dialog.
struct NoDialogWatch {
    QTimer timer;
    bool seen = false;
    NoDialogWatch()
    {
        timer.setInterval(10);
        QObject::connect(&timer, &QTimer::timeout, [this] {
            if (auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget())) {
                seen = true;
                dialog->reject();
            }
        });
        timer.start();
    }
};

} // namespace

class MainWindowViewsTest : public QObject {
    Q_OBJECT
private slots:
    void init();
    void cleanup();
    void ViewsAreMadeOnceFedWhenChosenAndRefreshed();
    void SaveDataActsOnTheViewShown();
    void DiscScanRunsOnTheCurrentDrive();

private:
    std::unique_ptr<TempDir> dir_;
    FakeTarget* fake_ = nullptr;
    std::unique_ptr<CMorvikDlg> window_;
};

void MainWindowViewsTest::init()
{
    dir_ = std::make_unique<TempDir>();
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(*dir_));
    QVERIFY(disc);
    fake_ = disc.fake;
    std::vector<std::unique_ptr<CDevCmdROM>> drives;
    drives.push_back(std::move(disc.drive));
    window_ = std::make_unique<CMorvikDlg>(std::make_unique<DevDeque>(std::move(drives)));
    window_->show();
    // The device dialog greets the user: take the drive.
    ModalScript script;
    script.Then<CDlgDev>([](CDlgDev* dialog) {
        dialog->DriveListBox()->setCurrentRow(0);
        dialog->OnOK();
    });
    script.Arm();
    QTRY_VERIFY(script.Done());
    QTRY_VERIFY(window_->CurrentDrive() != nullptr);
    QVERIFY(QApplication::activeModalWidget() == nullptr || QApplication::activeModalWidget() == window_.get());
    Shoot(*window_, "view-explorer.png");
}

void MainWindowViewsTest::cleanup()
{
    window_.reset();
    dir_.reset();
}

void MainWindowViewsTest::ViewsAreMadeOnceFedWhenChosenAndRefreshed()
{
    CMorvikDlg& window = *window_;
    QVERIFY(window.View(CMorvikDlg::TocView) == nullptr);

    window.OnCommand(Cmd::BtnShowToc);
    auto* toc = qobject_cast<CDlgTOC*>(window.View(CMorvikDlg::TocView));
    QVERIFY(toc);
    QCOMPARE(toc->parentWidget(), window.ViewArea());
    QCOMPARE(toc->geometry(), window.ViewArea()->rect());
    QVERIFY(toc->isVisible());
    QVERIFY(!window.Explorer()->isVisible());
    QCOMPARE(toc->List()->GetRowCount(), 2);
    QCOMPARE(toc->List()->GetItemText(1, 4), std::string("12003"));
    Shoot(window, "view-toc.png");

    // Chosen again: not refilled. Refresh: refilled.
    toc->List()->DeleteAllRows();
    fake_->ResetCounts();
    window.OnCommand(Cmd::MenuShowToc);
    QCOMPARE(fake_->CountOf(Mmc::Opcode::ReadTocPmaAtip), 0);
    QCOMPARE(toc->List()->GetRowCount(), 0);
    window.OnCommand(Cmd::BtnRefresh);
    QCOMPARE(toc->List()->GetRowCount(), 2);
    QCOMPARE(window.View(CMorvikDlg::TocView), toc);

    window.OnCommand(Cmd::BtnSectorData);
    auto* sector = qobject_cast<CDlgSector*>(window.View(CMorvikDlg::SectorView));
    QVERIFY(sector);
    QVERIFY(!toc->isVisible());
    QCOMPARE(sector->Dump()->GetCount(), 2 + 147);
    sector->Dump()->setCurrentRow(3);
    Shoot(window, "view-sector.png");

    window.OnCommand(Cmd::BtnVolume);
    auto* volume = qobject_cast<CDlgVol*>(window.View(CMorvikDlg::VolumeView));
    QVERIFY(volume);
    QCOMPARE(volume->List()->GetRowCount(), 8); // the data track's ISO 9660 volume
    QCOMPARE(volume->List()->GetItemText(0, 1), std::string("CD001"));
    Shoot(window, "view-volume.png");

    window.OnCommand(Cmd::BtnDeviceInfo);
    auto* device = qobject_cast<CDlgDevInfo*>(window.View(CMorvikDlg::DeviceInfoView));
    QVERIFY(device);
    QCOMPARE(device->List()->GetRowCount(), 29);
    Shoot(window, "view-device.png");

    // Select Device from a view returns to the explorer first.
    window.OnCommand(Cmd::BtnSelectDevice);
    QCOMPARE(window.CurrentView(), int(CMorvikDlg::ExplorerView));
    QVERIFY(window.Explorer()->isVisible());
    QVERIFY(!device->isVisible());
}

void MainWindowViewsTest::SaveDataActsOnTheViewShown()
{
    CMorvikDlg& window = *window_;
    for (int command : {Cmd::BtnVolume, Cmd::BtnDeviceInfo}) {
        window.OnCommand(command);
        NoDialogWatch watch;
        window.OnCommand(Cmd::BtnSaveData);
        QTest::qWait(50);
        QVERIFY(!watch.seen);
    }

    window.OnCommand(Cmd::BtnSectorData);
    ModalScript script;
    script.Then<QFileDialog>(ModalScript::SaveTo(QString::fromStdString((*dir_ / "Sector.dat").string()))).Arm();
    window.OnCommand(Cmd::MenuSaveData);
    QVERIFY(script.Done());
    QCOMPARE(std::filesystem::file_size(*dir_ / "Sector.dat"), uintmax_t(2352));

    window.OnCommand(Cmd::BtnShowToc);
    auto* toc = qobject_cast<CDlgTOC*>(window.View(CMorvikDlg::TocView));
    toc->List()->SetSelectedRows({0});
    ModalScript save;
    save.Then<QFileDialog>(ModalScript::SaveTo(QString::fromStdString((*dir_ / "audio.wav").string()))).Arm();
    window.OnCommand(Cmd::BtnSaveData);
    QVERIFY(save.Done());
    QCOMPARE(std::filesystem::file_size(*dir_ / "audio.wav"), uintmax_t(44 + 302 * 2352));
}

void MainWindowViewsTest::DiscScanRunsOnTheCurrentDrive()
{
    fake_->FailSector(40, Sense::UnrecoveredReadError);
    fake_->FailSector(11720, SenseData_tag{0, 0, 0, 0x03, 0x02, 0x00});
    int rows = -1;
    ModalScript script;
    script
        .Then<CDlgScanDisc>([](CDlgScanDisc* dialog) { QTest::mouseClick(dialog->StartButton(), Qt::LeftButton); })
        .ThenWhen<CDlgScanDisc>([](CDlgScanDisc* dialog) { return !dialog->IsWorkerRunning(); },
                                [&rows](CDlgScanDisc* dialog) {
                                    rows = dialog->ErrorList()->GetRowCount();
                                    Shoot(*dialog, "dialog-scan.png");
                                    QTest::mouseClick(dialog->CancelButton(), Qt::LeftButton);
                                })
        .Arm();
    window_->OnCommand(Cmd::MenuDiscScan);
    QVERIFY(script.Done());
    QCOMPARE(rows, 2);

    // Not ready: the user is told and no dialog opens.
    fake_->SetNotReady(true);
    QString told;
    ModalScript refuse;
    refuse.Then<QMessageBox>(ModalScript::Press(QMessageBox::Ok, &told)).Arm();
    window_->OnCommand(Cmd::MenuDiscScan);
    QCOMPARE(told, QStringLiteral("Device not Ready,Please try again!"));
}

QTEST_MAIN(MainWindowViewsTest)
#include "MainWindowViewsTest.moc"
