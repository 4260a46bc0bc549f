// The disc scan dialog over a scripted drive: the bad sectors it lists, Stop,
// and that it will not close while its worker runs.
#include "ModalScript.h"
#include "ViewDiscs.h"

#include "drive/MmcCommands.h"
#include "skin/CListCtrlEx.h"
#include "support/DiscImages.h"
#include "tools/ui/CDlgScanDisc.h"

#include <QProgressBar>
#include <QtTest>

using namespace testing_support;

namespace {
constexpr int kScanTimeoutMs = 20000;
}

class ScanDialogTest : public QObject {
    Q_OBJECT
private slots:
    void ListsTheBadSectorsOfEachScan();
    void StopEndsWithinAChunkAndClosingWaitsForIt();
    void NotReadyStartsNothing();
};

void ScanDialogTest::ListsTheBadSectorsOfEachScan()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    disc.fake->FailSector(100, SenseData_tag{0, 0, 0, 0x03, 0x11, 0x05});
    disc.fake->FailSector(11710, Sense::UnrecoveredReadError);

    CDlgScanDisc dialog;
    QCOMPARE(dialog.size(), QSize(374, 256));
    QVERIFY(!dialog.Shape().contains(QPoint(0, 0))); // the mask's rounded corner
    QVERIFY(dialog.Shape().contains(QPoint(187, 128)));
    const CListCtrlEx& errors = *dialog.ErrorList();
    QCOMPARE(errors.GetColumnHeader(1), std::string("SenseKey"));
    QCOMPARE(errors.GetColumnWidth(3), 50);
    dialog.SetDevice(disc.drive.get());
    dialog.show();
    QVERIFY(!dialog.ProgressBar()->isVisible());

    for (int scan = 1; scan <= 2; ++scan) {
        QTest::mouseClick(dialog.StartButton(), Qt::LeftButton);
        QVERIFY(dialog.IsWorkerRunning());
        QVERIFY(!dialog.CancelButton()->isEnabled());
        QTRY_VERIFY_WITH_TIMEOUT(!dialog.IsWorkerRunning(), kScanTimeoutMs);
        QVERIFY(dialog.CancelButton()->isEnabled());
        QVERIFY(!dialog.ProgressBar()->isVisible());
        QCOMPARE(dialog.StartButton()->text(), QStringLiteral("Start"));
        QCOMPARE(errors.GetRowCount(), 2 * scan);
    }
    // Each scan's rows go in from the top, in sector order.
    QCOMPARE(errors.GetItemText(0, 0), std::string("100"));
    QCOMPARE(errors.GetItemText(0, 1), std::string("0x03"));
    QCOMPARE(errors.GetItemText(0, 2), std::string("0x11"));
    QCOMPARE(errors.GetItemText(0, 3), std::string("0x05"));
    QCOMPARE(errors.GetItemText(1, 0), std::string("11710"));
    QCOMPARE(errors.GetItemText(1, 3), std::string("0x00"));
    QCOMPARE(errors.GetItemText(2, 0), std::string("100"));

    // Idle, Cancel closes it.
    QTest::mouseClick(dialog.CancelButton(), Qt::LeftButton);
    QVERIFY(!dialog.isVisible());
}

void ScanDialogTest::StopEndsWithinAChunkAndClosingWaitsForIt()
{
    if (!HaveTool("genisoimage"))
        QSKIP("genisoimage missing");
    TempDir dir;
    const std::filesystem::path iso = MakeIso(dir.Path(), "longscan");
    QVERIFY(!iso.empty());
    std::filesystem::resize_file(iso, uint64_t(100 * 60 * 75) * 2048); // far more than a test's time
    ViewDisc disc = OpenViewDisc(iso);
    QVERIFY(disc);

    auto dialog = std::make_unique<CDlgScanDisc>();
    dialog->SetDevice(disc.drive.get());
    dialog->show();
    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    QCOMPARE(dialog->StartButton()->text(), QStringLiteral("Stop"));
    QTRY_VERIFY(dialog->ProgressBar()->isVisible());

    // Neither Escape, reject nor the window's close box ends it now.
    QTest::keyClick(dialog.get(), Qt::Key_Escape);
    dialog->reject();
    QVERIFY(!dialog->close());
    QVERIFY(dialog->isVisible());

    QTest::mouseClick(dialog->StartButton(), Qt::LeftButton);
    disc.fake->ResetCounts();
    QCOMPARE(dialog->StartButton()->text(), QStringLiteral("Start"));
    QTRY_VERIFY_WITH_TIMEOUT(dialog->CancelButton()->isEnabled(), 5000);
    QVERIFY(disc.fake->CountOf(Mmc::Opcode::Read10) <= 1);
    QVERIFY(!dialog->ProgressBar()->isVisible());
    QCOMPARE(dialog->ErrorList()->GetRowCount(), 0);
    QVERIFY(dialog->close());

    // Destroyed in the middle of a scan, it waits for its worker.
    dialog = std::make_unique<CDlgScanDisc>();
    dialog->SetDevice(disc.drive.get());
    dialog->OnStartStop();
    QVERIFY(dialog->IsWorkerRunning());
    dialog.reset();
}

void ScanDialogTest::NotReadyStartsNothing()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    disc.fake->SetNotReady(true);
    CDlgScanDisc dialog;
    dialog.SetDevice(disc.drive.get());
    QString told;
    ModalScript script;
    script.Then<QMessageBox>(ModalScript::Press(QMessageBox::Ok, &told)).Arm();
    dialog.OnStartStop();
    QCOMPARE(told, QStringLiteral("Device not Ready,Please try again!"));
    QVERIFY(!dialog.IsWorkerRunning());
    QVERIFY(dialog.CancelButton()->isEnabled());
    QCOMPARE(dialog.StartButton()->text(), QStringLiteral("Start"));
}

QTEST_MAIN(ScanDialogTest)
#include "ScanDialogTest.moc"
