// Save Data in the explorer, through the real dialogs: a file, a folder and
// an audio track reach the disk byte for byte; the overwrite question and
// the progress window's Cancel stop what they should.
#include "UiTestSupport.h"

#include "common/StringTable.h"
#include "explorer/ui/CDlgMain.h"
#include "extraction/ui/CDlgProgress.h"
#include "extraction/ui/ExplorerSave.h"
#include "skin/CBmpBtn.h"

using namespace ui_test;
using testing_support::ReadFile;
using testing_support::TempDir;
namespace fs = std::filesystem;

class SaveTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!testing_support::HaveTool("genisoimage"))
            QSKIP("genisoimage is missing");
        disc_ = MakeMixedModeDisc(dir_ / "disc");
        QVERIFY(!disc_.empty());
        QVERIFY(drive_.SetImageFile(disc_.string()));
        area_.resize(536, 294);
        explorer_ = new CDlgMain(&area_);
        area_.show();
        explorer_->ShowDisc(&drive_);
        QVERIFY(explorer_->Tree()->currentItem());
        QCOMPARE(explorer_->Tree()->currentItem()->text(0), QString("DATA TRACK 1(ISO)"));
    }

    void SavesAFileFromTheList()
    {
        const fs::path out = dir_ / "file-out";
        fs::create_directories(out);
        SelectRow("README.TXT");
        AnswerFileDialog(QString::fromStdString(out.string()));
        explorer_->OnSaveData();
        QCOMPARE(ReadFile(out / "README.TXT"), kReadme);
    }

    void SavesAFolderFromTheList()
    {
        const fs::path out = dir_ / "folder-out";
        fs::create_directories(out);
        SelectRow("DOCS");
        AnswerFileDialog(QString::fromStdString(out.string()));
        explorer_->OnSaveData();
        QCOMPARE(ReadFile(out / "DOCS" / "DATA.BIN"), DataBin());
        QCOMPARE(ReadFile(out / "DOCS" / "SUB" / "NOTE.TXT"), std::string("note\n"));
    }

    void SavesTheWholeFileSystemFromTheTree()
    {
        const fs::path out = dir_ / "tree-out";
        fs::create_directories(out);
        explorer_->Tree()->setCurrentItem(explorer_->Tree()->topLevelItem(0)->child(0));
        explorer_->Core().OnTreeFocus();
        AnswerFileDialog(QString::fromStdString(out.string()));
        explorer_->OnSaveData();
        const fs::path saved = out / "DATA TRACK 1(ISO)";
        QCOMPARE(ReadFile(saved / "README.TXT"), kReadme);
        QCOMPARE(ReadFile(saved / "DOCS" / "DATA.BIN"), DataBin());
    }

    void SavesAnAudioTrackAsWave()
    {
        QTreeWidgetItem* session = explorer_->Tree()->topLevelItem(0);
        explorer_->Tree()->setCurrentItem(session->child(1)); // AUDIO TRACK 2
        const fs::path wave = dir_ / "track2.wav";
        AnswerFileDialog(QString::fromStdString(wave.string()));
        explorer_->OnSaveData();
        const std::string bytes = ReadFile(wave);
        const std::string samples = ReadFile(dir_ / "disc" / "audio2.bin"); // sox dithers: compare with the disc's own

        QCOMPARE(bytes.size(), samples.size() + 44);
        QCOMPARE(bytes.substr(0, 4), std::string("RIFF"));
        size_t first = 0;
        while (first < samples.size() && bytes[44 + first] == samples[first])
            ++first;
        QCOMPARE(first, samples.size());
    }

    void CancelOnTheOverwriteQuestionSavesNothing()
    {
        const fs::path out = dir_ / "keep-out";
        fs::create_directories(out);
        testing_support::WriteFile(out / "README.TXT", "old");
        SelectRow("README.TXT");
        QString question;
        AnswerFileDialog(QString::fromStdString(out.string()));
        AnswerMessageBox(&question, QMessageBox::Cancel);
        explorer_->OnSaveData();
        QCOMPARE(question, QString(StringTable::Text(StringTable::AlreadyExists)));
        QCOMPARE(ReadFile(out / "README.TXT"), std::string("old"));

        // OK replaces it.
        AnswerFileDialog(QString::fromStdString(out.string()));
        AnswerMessageBox(&question, QMessageBox::Ok);
        explorer_->OnSaveData();
        QCOMPARE(ReadFile(out / "README.TXT"), kReadme);
    }

    void CancelInTheProgressWindowStopsTheJob()
    {
        // A disc with one big file, so the job is still running when Cancel comes.
        TempDir big;
        fs::create_directories(big / "tree");
        {
            std::string chunk(1 << 20, '\0');
            for (size_t i = 0; i < chunk.size(); ++i)
                chunk[i] = char(i * 13);
            std::string content;
            for (int i = 0; i < 96; ++i)
                content += chunk;
            testing_support::WriteFile(big / "tree" / "BIG.BIN", content);
        }
        QVERIFY(!testing_support::MakeIso(big / "tree", big / "big.iso", {}).empty());
        CDevCmdROM drive;
        QVERIFY(drive.SetImageFile((big / "big.iso").string()));
        QWidget area;
        area.resize(536, 294);
        CDlgMain explorer(&area);
        area.show();
        explorer.ShowDisc(&drive);
        explorer.List()->topLevelItem(0)->setSelected(true);
        explorer.Core().OnListFocus();

        const fs::path out = big / "out";
        fs::create_directories(out);
        AnswerFileDialog(QString::fromStdString(out.string()));
        bool cancelled = false;
        WhenModal<CDlgProgress>([&](CDlgProgress* progress) {
            cancelled = true;
            progress->CancelButton()->click();
        });
        explorer.OnSaveData();
        QVERIFY(cancelled);
        // The worker removes its partial file after the window has gone.
        QVERIFY(WaitFor([&] { return !fs::exists(out / "BIG.BIN"); }));
    }

    void ProgressWindowIsShapedAndStartsEmpty()
    {
        CDlgProgress progress;
        QCOMPARE(progress.size(), QSize(350, 100));
        QVERIFY(!progress.mask().contains(QPoint(0, 0)));
        QVERIFY(progress.mask().contains(QPoint(175, 50)));
        progress.SetPos(40);
        progress.SetText("x");
        progress.show();
        QCOMPARE(progress.Pos(), 0);
        QCOMPARE(progress.Text(), QString());
        QTest::keyClick(&progress, Qt::Key_Escape);
        QCOMPARE(progress.result(), int(QDialog::Rejected));
    }

private:
    void SelectRow(const QString& name)
    {
        explorer_->Tree()->setCurrentItem(explorer_->Tree()->topLevelItem(0)->child(0)); // the data track's root
        CListCtrlEx* list = explorer_->List();
        list->clearSelection();
        for (int row = 0; row < list->topLevelItemCount(); ++row)
            if (list->topLevelItem(row)->text(0) == name)
                list->topLevelItem(row)->setSelected(true);
        explorer_->Core().OnListFocus();
    }

    TempDir dir_;
    fs::path disc_;
    CDevCmdROM drive_;
    QWidget area_;
    CDlgMain* explorer_ = nullptr;
};

QTEST_MAIN(SaveTest)
#include "SaveTest.moc"
