// The four analysis views on discs made at test time: what each lists,
// what the TOC and sector views save, and how their keys behave.
#include "ModalScript.h"
#include "ViewDiscs.h"

#include "drive/MmcCommands.h"
#include "filesystems/ui/CDlgVol.h"
#include "skin/CHListBox.h"
#include "skin/CListCtrlEx.h"
#include "skin/CTransBtn.h"
#include "support/DiscImages.h"
#include "tools/ui/CDlgDevInfo.h"
#include "tools/ui/CDlgSector.h"
#include "tools/ui/CDlgTOC.h"

#include <QLineEdit>
#include <QProgressDialog>
#include <QScrollBar>
#include <QtTest>

#include <fstream>

using namespace testing_support;

namespace {

QString Path(const std::filesystem::path& path) { return QString::fromStdString(path.string()); }

// The first 2048 bytes of sector 16 of an ISO 9660 image file.
std::string Sector16(const std::filesystem::path& iso) { return ReadFile(iso).substr(16 * 2048, 2048); }

} // namespace

class AnalysisViewsTest : public QObject {
    Q_OBJECT
private slots:
    void TocListsBothSessionsAsTheCoreDoes();
    void TocSavesTracksToWavIsoAndDat();
    void TocSaveWithoutSelectionAsksNothing();
    void SectorViewDumpsRawCdSectorsAndSteps();
    void SectorViewSavesOneRawSector();
    void SectorViewShowsDvdSectorsCooked();
    void VolumeViewShowsIsoUdfOrNothing();
    void CapabilityViewShowsAllRowsOrNone();
    void ControlLibraryBasics();
};

void AnalysisViewsTest::TocListsBothSessionsAsTheCoreDoes()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    QWidget area;
    area.resize(536, 294);
    CDlgTOC toc(&area);
    QCOMPARE(toc.size(), area.size());
    toc.SetDrive(disc.drive.get());

    const CListCtrlEx& list = *toc.List();
    QCOMPARE(list.GetColumnHeader(4), std::string("End pos"));
    QCOMPARE(list.GetColumnWidth(0), 150);
    const Rows rows = ListRows(list);
    QCOMPARE(rows, (Rows{{"Session 1", "1", "AUDIO", "0", "301"}, {"Session 2", "2", "DATA(Mode1)", "11702", "12003"}}));
    QCOMPARE(rows, TocRows(*disc.drive));
    QVERIFY(list.selectionBehavior() == QAbstractItemView::SelectRows);

    // Not ready: the headers stay, the rows go, and the user is told.
    disc.fake->SetNotReady(true);
    QString told;
    ModalScript script;
    script.Then<QMessageBox>(ModalScript::Press(QMessageBox::Ok, &told)).Arm();
    toc.FillToc();
    QCOMPARE(told, QStringLiteral("Device not Ready,Please try again!"));
    QCOMPARE(list.GetRowCount(), 0);
    QCOMPARE(list.GetColumnCount(), 5);
}

void AnalysisViewsTest::TocSavesTracksToWavIsoAndDat()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    CDlgTOC toc(nullptr);
    toc.SetDrive(disc.drive.get());
    const int32_t sectors = 302; // each track, as the rows give it

    // Audio: no name offered, WAV or raw.
    {
        toc.List()->SetSelectedRows({0});
        QString offered = "?";
        QStringList filters;
        ModalScript script;
        script.Then<QFileDialog>(ModalScript::SaveTo(Path(dir / "one.wav"), &offered, &filters)).Arm();
        toc.SaveTrack();
        QVERIFY(script.Done());
        QCOMPARE(offered, QString());
        QCOMPARE(filters, (QStringList{"Wav File(*.wav)", "Data File(*.dat)"}));
        const std::string wav = ReadFile(dir / "one.wav");
        QCOMPARE(wav.size(), size_t(44 + sectors * 2352));
        QCOMPARE(wav.substr(0, 4), std::string("RIFF"));
    }
    // Data track 2 as ISO: "Track2" offered, string 23 asked; Cancel saves nothing.
    toc.List()->SetSelectedRows({1});
    {
        QString offered, asked;
        QStringList filters;
        ModalScript script;
        script.Then<QFileDialog>(ModalScript::SaveTo(Path(dir / "two.iso"), &offered, &filters))
            .Then<QMessageBox>(ModalScript::Press(QMessageBox::Cancel, &asked))
            .Arm();
        toc.SaveTrack();
        QVERIFY(script.Done());
        QCOMPARE(offered, QStringLiteral("Track2"));
        QCOMPARE(filters, (QStringList{"ISO File(*.iso)", "Data File(*.dat)"}));
        QCOMPARE(asked, QStringLiteral("This is not the first track, the ISO file may be incorrect, Continue?"));
        QVERIFY(!std::filesystem::exists(dir / "two.iso"));
    }
    {
        ModalScript script;
        script.Then<QFileDialog>(ModalScript::SaveTo(Path(dir / "two.iso")))
            .Then<QMessageBox>(ModalScript::Press(QMessageBox::Ok))
            .Arm();
        toc.SaveTrack();
        QVERIFY(script.Done());
        const std::string iso = ReadFile(dir / "two.iso");
        QCOMPARE(iso.size(), size_t(sectors * 2048));
        QCOMPARE(iso.substr(16 * 2048 + 1, 5), std::string("CD001"));
    }
    // Raw: no question, whole sectors.
    {
        ModalScript script;
        script.Then<QFileDialog>(ModalScript::SaveTo(Path(dir / "two.dat"))).Arm();
        toc.SaveTrack();
        QVERIFY(script.Done());
        QCOMPARE(std::filesystem::file_size(dir / "two.dat"), uintmax_t(sectors * 2352));
    }
}

void AnalysisViewsTest::TocSaveWithoutSelectionAsksNothing()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    CDlgTOC toc(nullptr);
    toc.SetDrive(disc.drive.get());
    toc.List()->SetSelectedRows({});
    toc.SaveTrack(); // a dialog would block here
    CDlgTOC unbound(nullptr);
    unbound.SaveTrack();
}

void AnalysisViewsTest::SectorViewDumpsRawCdSectorsAndSteps()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    QWidget area;
    area.resize(536, 294);
    CDlgSector view(&area);
    QCOMPARE(view.Dump()->geometry(), QRect(0, 30, 536, 264));
    view.SetDevice(disc.drive.get(), 1);

    QCOMPARE(view.SectorEdit()->text(), QStringLiteral("16"));
    QVERIFY(view.AllModeBox()->GetSelect());
    QVERIFY(view.AllModeBox()->isEnabled());
    const CHListBox& dump = *view.Dump();
    QCOMPARE(dump.GetCount(), 2 + 147);
    QCOMPARE(dump.GetText(0), QStringLiteral("    |   0  1  2  3  4  5  6  7  8  9  A  B  C  D  E  F  | "));
    QCOMPARE(dump.GetText(1), QString(74, '-'));
    QVERIFY(dump.GetText(2).startsWith(QStringLiteral("   0|  ")));
    QVERIFY(dump.GetText(148).startsWith(QStringLiteral(" 920|  ")));
    QVERIFY(QFontInfo(dump.font()).fixedPitch());

    // Unchecking "all mode" dumps the user data of the Mode 1 sector at 11702 + 16.
    view.SectorEdit()->setText(QStringLiteral("11718"));
    QTest::mouseClick(view.AllModeBox(), Qt::LeftButton);
    QVERIFY(!view.AllModeBox()->GetSelect());
    QCOMPARE(dump.GetCount(), 2 + 128);
    QVERIFY(dump.GetText(2).contains(QStringLiteral("| CD001")));

    // The arrows: up adds one, down subtracts one but stops at 0.
    view.SectorEdit()->setText(QStringLiteral("1"));
    view.Arrows()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(view.SectorEdit()->text(), QStringLiteral("0"));
    view.Arrows()->triggerAction(QAbstractSlider::SliderSingleStepAdd);
    QCOMPARE(view.SectorEdit()->text(), QStringLiteral("0"));
    view.Arrows()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    view.Arrows()->triggerAction(QAbstractSlider::SliderSingleStepSub);
    QCOMPARE(view.SectorEdit()->text(), QStringLiteral("2"));
    QVERIFY(dump.isVisibleTo(&area));

    // Enter in the edit box reads the number typed; a negative one changes nothing.
    view.SectorEdit()->setText(QStringLiteral("11718"));
    QTest::keyClick(view.SectorEdit(), Qt::Key_Return);
    QCOMPARE(view.Sector().Buffer()[1], uint8_t('C'));
    const QString before = dump.GetText(2);
    view.SectorEdit()->setText(QStringLiteral("-5"));
    view.ShowSector();
    QCOMPARE(dump.GetText(2), before);

    // Sector mode 2 checks the box for good.
    view.SetDevice(disc.drive.get(), 2);
    QVERIFY(view.AllModeBox()->GetSelect());
}

void AnalysisViewsTest::SectorViewSavesOneRawSector()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    CDlgSector view(nullptr);
    view.SetDevice(disc.drive.get(), 1);
    view.SectorEdit()->setText(QStringLiteral("11718"));
    view.ShowSector();

    QString offered;
    ModalScript script;
    script.Then<QFileDialog>([&](QFileDialog* dialog) {
              auto* name = dialog->findChild<QLineEdit*>(QStringLiteral("fileNameEdit"));
              offered = name->text();
              name->setText(Path(dir.Path()) + "/" + offered); // the offered name, in the test's folder
              static_cast<QDialog*>(dialog)->accept();
          })
        .Arm();
    view.SaveSector();
    QVERIFY(script.Done());
    QCOMPARE(offered, QStringLiteral("Sector.dat"));
    const std::string saved = ReadFile(dir / "Sector.dat");
    QCOMPARE(saved.size(), size_t(2352));
    QCOMPARE(saved.substr(16 + 1, 5), std::string("CD001"));
}

void AnalysisViewsTest::SectorViewShowsDvdSectorsCooked()
{
    if (!HaveTool("genisoimage"))
        QSKIP("genisoimage missing");
    TempDir dir;
    const std::filesystem::path iso = MakeIso(dir.Path(), "dvdlabel");
    QVERIFY(!iso.empty());
    // Longer than any CD; sparse, so it costs no disk.
    std::filesystem::resize_file(iso, uint64_t(100 * 60 * 75) * 2048);
    ViewDisc disc = OpenViewDisc(iso);
    QVERIFY(disc);
    CDlgSector view(nullptr);
    view.SetDevice(disc.drive.get(), 1);
    QCOMPARE(view.Dump()->GetCount(), 2 + 128);
    QVERIFY(!view.AllModeBox()->isEnabled());
    QVERIFY(view.Dump()->GetText(2).startsWith(QStringLiteral("   0|  01 43 44 30 30 31")));
}

void AnalysisViewsTest::VolumeViewShowsIsoUdfOrNothing()
{
    if (!HaveTool("genisoimage") || !HaveTool("mkudffs"))
        QSKIP("genisoimage or mkudffs missing");
    TempDir dir;
    QWidget area;
    area.resize(536, 294);
    CDlgVol view(&area);
    const CListCtrlEx& list = *view.List();
    QCOMPARE(list.GetColumnHeader(1), std::string("Infomation"));

    const std::filesystem::path iso = MakeIso(dir.Path(), "volumeview");
    QVERIFY(!iso.empty());
    const std::string pvd = Sector16(iso);
    view.Show(reinterpret_cast<const uint8_t*>(pvd.data()), pvd.size(), 1);
    Rows rows = ListRows(list);
    QCOMPARE(rows.size(), size_t(8));
    QCOMPARE(rows[0], (std::vector<std::string>{"Standard Identifier", "CD001"}));
    QCOMPARE(rows[1][0], std::string("ISO Volume Identifier"));
    QVERIFY(rows[1][1].rfind("volumeview", 0) == 0);
    QCOMPARE(rows[7][0], std::string("Volume Modification Date and Time"));

    const std::filesystem::path udf = dir / "udf.img";
    const CommandResult made =
        RunProgram({"mkudffs", "--new-file", "-m", "hd", "-b", "2048", "--label=UdfLabel", udf.string(), "2048"});
    QCOMPARE(made.exitCode, 0);
    // The Primary Volume Descriptor opens the main volume descriptor sequence.
    const std::string image = ReadFile(udf);
    std::string udfPvd;
    for (size_t at = 32 * 2048; at + 2048 <= image.size() && at < 300 * 2048; at += 2048)
        if (image[at] == 1 && image[at + 1] == 0) {
            udfPvd = image.substr(at, 2048);
            break;
        }
    QVERIFY(!udfPvd.empty());
    view.Show(reinterpret_cast<const uint8_t*>(udfPvd.data()), udfPvd.size(), 2);
    rows = ListRows(list);
    QCOMPARE(rows.size(), size_t(7));
    QCOMPARE(rows[0], (std::vector<std::string>{"UDF Volume Identifier", "UdfLabel"}));
    QCOMPARE(rows[5][0], std::string("Recording Date and Time"));

    // Code 0 empties the list; a null descriptor changes nothing.
    view.Show(reinterpret_cast<const uint8_t*>(udfPvd.data()), udfPvd.size(), 0);
    QCOMPARE(list.GetRowCount(), 0);
    view.Show(reinterpret_cast<const uint8_t*>(pvd.data()), pvd.size(), 1);
    view.Show(nullptr, 2048, 2);
    QCOMPARE(list.GetRowCount(), 8);
}

void AnalysisViewsTest::CapabilityViewShowsAllRowsOrNone()
{
    TempDir dir;
    ViewDisc disc = OpenViewDisc(MakeMixedTwoSessionSheet(dir));
    QVERIFY(disc);
    CDlgDevInfo view(nullptr);
    const CListCtrlEx& list = *view.List();
    QCOMPARE(list.GetColumnHeader(0), std::string("Support"));
    QCOMPARE(list.GetColumnWidth(1), 350);
    view.ShowDeviceInfo(disc.drive.get());
    const Rows rows = ListRows(list);
    QCOMPARE(rows.size(), size_t(29));
    QCOMPARE(rows[0], (std::vector<std::string>{"", "<General Features>"}));
    QCOMPARE(rows[28][1], std::string("DVD_RAM WRITESupport"));
    QCOMPARE(rows[22][0], std::string("No")); // an image writes nothing

    disc.fake->RejectOpcode(Mmc::Opcode::ModeSense10, Sense::InvalidFieldInCdb);
    view.ShowDeviceInfo(disc.drive.get());
    QCOMPARE(list.GetRowCount(), 0);
    QCOMPARE(list.GetColumnCount(), 2);
}

void AnalysisViewsTest::ControlLibraryBasics()
{
    CHListBox box;
    QCOMPARE(box.InsertString(-1, "b"), 0);
    QCOMPARE(box.InsertString(0, "a"), 0);
    QCOMPARE(box.InsertString(99, "c"), 2);
    QCOMPARE(box.GetText(1), QStringLiteral("b"));
    box.ResetContent();
    QCOMPARE(box.GetCount(), 0);

    CTransBtn check(QStringLiteral("all mode"), nullptr, true);
    check.SetCheck(true);
    QVERIFY(check.GetSelect());
    QTest::mouseClick(&check, Qt::LeftButton);
    QVERIFY(!check.GetSelect());

    // Appends in insertion order unless sorted insertion is asked for.
    CListCtrlEx list;
    list.InsertColumn(0, "A", 50);
    list.InsertRow("Session 2", 0, 0);
    list.InsertRow("Session 10", 0, 0);
    QCOMPARE(list.GetItemText(1, 0), std::string("Session 10"));
    list.SetSortedInsert(true);
    QCOMPARE(list.InsertRow("Session 1", 0, 0), 0);
    QCOMPARE(list.InsertItem(1, "x"), 1);
}

QTEST_MAIN(AnalysisViewsTest)
#include "AnalysisViewsTest.moc"
