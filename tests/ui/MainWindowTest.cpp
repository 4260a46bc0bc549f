// The main window driven like a user: the device dialog at start, an image
// opened through "[Image File]", the tree and the list, the menus, the keys.
#include "UiTestSupport.h"

#include "common/StringTable.h"
#include "explorer/ui/CDlgMain.h"
#include "shell/CDlgAbout.h"
#include "shell/CDlgDev.h"
#include "shell/CMorvikApp.h"
#include "shell/CMorvikDlg.h"
#include "shell/CommandIds.h"
#include "skin/CBmpBtn.h"
#include "skin/CMenuBtn.h"

#include <QDesktopServices>
#include <QListWidget>
#include <QMenu>
#include <QSignalSpy>

using namespace ui_test;
using testing_support::TempDir;

namespace {

// Opens image through the device dialog that the window shows at start.
bool OpenAtStart(CMorvikDlg& window, const std::filesystem::path& image)
{
    bool dialogSeen = false;
    WhenModal<CDlgDev>([&](CDlgDev* dialog) {
        dialogSeen = dialog->DriveListBox()->count() > 0 &&
                     dialog->DriveListBox()->item(dialog->DriveListBox()->count() - 1)->text() == "[Image File]";
        dialog->DriveListBox()->setCurrentRow(dialog->DriveListBox()->count() - 1);
        AnswerFileDialog(QString::fromStdString(image.string()));
        dialog->OnOK();
    });
    window.show();
    return WaitFor([&] { return window.CurrentDrive() != nullptr; }) && dialogSeen;
}

QStringList Texts(const QTreeWidgetItem* item)
{
    QStringList texts;
    for (int i = 0; i < item->childCount(); ++i)
        texts << item->child(i)->text(0);
    return texts;
}

QStringList ListColumn(const CListCtrlEx* list, int column)
{
    QStringList texts;
    for (int row = 0; row < list->topLevelItemCount(); ++row)
        texts << list->topLevelItem(row)->text(column);
    return texts;
}

QTreeWidgetItem* Child(QTreeWidgetItem* parent, const QString& text)
{
    for (int i = 0; i < parent->childCount(); ++i)
        if (parent->child(i)->text(0) == text)
            return parent->child(i);
    return nullptr;
}

} // namespace

class MainWindowTest : public QObject {
    Q_OBJECT

private slots:
    void initTestCase()
    {
        if (!testing_support::HaveTool("genisoimage"))
            QSKIP("genisoimage is missing");
        disc_ = MakeMixedModeDisc(dir_.Path());
        QVERIFY(!disc_.empty());
        QDesktopServices::setUrlHandler("file", this, "OpenedUrl");
    }

    void StartOpensDeviceDialogAndImageFillsTreeAndList()
    {
        CMorvikDlg window;
        QVERIFY(OpenAtStart(window, disc_));
        QCOMPARE(window.StatusText(), QString("[Image File]"));

        const ExplorerTree* tree = window.Explorer()->Tree();
        QCOMPARE(tree->topLevelItemCount(), 2);
        QTreeWidgetItem* session = tree->topLevelItem(0);
        QCOMPARE(session->text(0), QString("Session 1"));
        QCOMPARE(Texts(session), (QStringList{"DATA TRACK 1(ISO)", "AUDIO TRACK 2", "AUDIO TRACK 3"}));
        QVERIFY(tree->topLevelItem(1)->text(0).startsWith("(Lead Out) "));
        QTreeWidgetItem* data = session->child(0);
        QCOMPARE(Texts(data), QStringList{"DOCS"});

        // The first track is selected and its root folder listed, folders first.
        QCOMPARE(tree->currentItem(), data);
        const CListCtrlEx* list = window.Explorer()->List();
        QCOMPARE(ListColumn(list, 0), (QStringList{"DOCS", "README.TXT"}));
        QCOMPARE(ListColumn(list, 2), (QStringList{"Folder", "File"}));

        // Selecting a folder lists it; double-clicking its folder row opens it.
        window.Explorer()->Tree()->setCurrentItem(Child(data, "DOCS"));
        QCOMPARE(ListColumn(list, 0), (QStringList{"SUB", "DATA.BIN"}));
        QCOMPARE(ListColumn(list, 3)[1], QString::number(DataBin().size()));
        QTreeWidgetItem* subRow = list->topLevelItem(0);
        subRow->setSelected(true);
        emit window.Explorer()->List()->itemDoubleClicked(subRow, 0);
        QCOMPARE(tree->currentItem()->text(0), QString("SUB"));
        QCOMPARE(ListColumn(list, 0), QStringList{"NOTE.TXT"});

        // An audio track shows its CD-Text.
        window.Explorer()->Tree()->setCurrentItem(session->child(1));
        QCOMPARE(list->headerItem()->text(0), QString("CDTEXT Item"));
        QCOMPARE(list->headerItem()->text(1), QString("CDTEXT Info"));
        QCOMPARE(ListColumn(list, 0),
                 (QStringList{"ARTIST", "ISRC", "szComposer", "szSongster", "szSpecialTitle", "TITLE"}));
        QCOMPARE(ListColumn(list, 1)[0], QString("Sine Wave"));
        QCOMPARE(ListColumn(list, 1)[5], QString("First Tone"));
    }

    void StatusLineShowsButtonTextThenDeviceLabel()
    {
        CMorvikDlg window;
        QVERIFY(OpenAtStart(window, disc_));
        CBmpRoundBtn* selectButton = nullptr;
        for (CBmpRoundBtn* button : window.findChildren<CBmpRoundBtn*>())
            if (button->NormalBitmap() == 142)
                selectButton = button;
        QVERIFY(selectButton);
        auto moveOver = [](QWidget* widget, QPoint at) {
            QMouseEvent move(QEvent::MouseMove, at, widget->mapToGlobal(at), Qt::NoButton, Qt::NoButton,
                             Qt::NoModifier);
            QApplication::sendEvent(widget, &move);
        };
        moveOver(selectButton, QPoint(16, 16));
        QCOMPARE(window.StatusText(), QString("Select the Device"));
        moveOver(&window, QPoint(20, 430));
        QCOMPARE(window.StatusText(), QString("[Image File]"));
    }

    void EnterAndEscapeCloseNothing()
    {
        CMorvikDlg window;
        QVERIFY(OpenAtStart(window, disc_));
        QSignalSpy finished(&window, &QDialog::finished);
        for (QWidget* target : {static_cast<QWidget*>(&window), static_cast<QWidget*>(window.Explorer()->Tree())}) {
            QTest::keyClick(target, Qt::Key_Return);
            QTest::keyClick(target, Qt::Key_Enter);
            QTest::keyClick(target, Qt::Key_Escape);
        }
        QTest::qWait(50);
        QVERIFY(window.isVisible());
        QCOMPARE(finished.count(), 0);
        QVERIFY(QApplication::activeModalWidget() == &window || QApplication::activeModalWidget() == nullptr);
    }

    void EveryMenuItemReachesItsCommand()
    {
        CMorvikDlg window;
        QVERIFY(OpenAtStart(window, disc_));
        QSignalSpy commands(&window, &CMorvikDlg::CommandReceived);
        const std::vector<std::vector<int>> menus = {
            {Cmd::MenuSelectDevice, Cmd::MenuSectorData, Cmd::MenuEject, Cmd::MenuCloseDevice},
            {Cmd::MenuRefresh, Cmd::MenuSaveData},
            {Cmd::MenuShowToc, Cmd::MenuVolume, Cmd::MenuDeviceInfo, Cmd::MenuDiscScan},
            {Cmd::MenuHelpTopic, Cmd::MenuAbout}};
        for (int k = 0; k < 4; ++k) {
            for (int id : menus[size_t(k)]) {
                ChooseMenuItemWhenShown(id);
                // Commands that open a dialog get it answered.
                if (id == Cmd::MenuSelectDevice)
                    WhenModal<CDlgDev>([](CDlgDev* dialog) { dialog->reject(); });
                if (id == Cmd::MenuAbout)
                    WhenModal<CDlgAbout>([](CDlgAbout* about) { QTest::mouseClick(about, Qt::LeftButton); });
                if (id == Cmd::MenuSaveData || id == Cmd::MenuDiscScan)
                    WhenModal<QDialog>([](QDialog* dialog) { dialog->reject(); }, 300);
                window.DropMenu(k);
                QVERIFY2(!commands.isEmpty(), qPrintable(QString::number(id)));
                QCOMPARE(commands.takeLast().at(0).toInt(), id);
                QTest::qWait(30);
            }
        }
        QVERIFY(helpOpened_.toLocalFile().endsWith("help/index.html"));

        // File > Exit ends the window.
        QSignalSpy finished(&window, &QDialog::finished);
        ChooseMenuItemWhenShown(Cmd::MenuExit);
        window.DropMenu(0);
        QCOMPARE(finished.count(), 1);
        QCOMPARE(finished.at(0).at(0).toInt(), int(QDialog::Rejected));
    }

    void ViewsSwitchAndSelectDeviceReturnsToExplorer()
    {
        CMorvikDlg window;
        QVERIFY(OpenAtStart(window, disc_));
        window.OnCommand(Cmd::BtnShowToc);
        QCOMPARE(window.CurrentView(), int(CMorvikDlg::TocView));
        QVERIFY(window.View(CMorvikDlg::TocView)->isVisible());
        QVERIFY(!window.Explorer()->isVisible());
        QCOMPARE(window.View(CMorvikDlg::TocView)->geometry(), window.ViewArea()->rect());

        // Select Device first returns to the explorer, without a dialog.
        window.OnCommand(Cmd::BtnSelectDevice);
        QCOMPARE(window.CurrentView(), int(CMorvikDlg::ExplorerView));
        QVERIFY(window.Explorer()->isVisible());
        QVERIFY(QApplication::activeModalWidget() != nullptr ? QApplication::activeModalWidget() == &window : true);
    }

    void ViewsNeedADrive()
    {
        CMorvikDlg window;
        WhenModal<CDlgDev>([](CDlgDev* dialog) { dialog->reject(); });
        window.show();
        QTest::qWait(400);
        window.OnCommand(Cmd::BtnShowToc);
        QCOMPARE(window.CurrentView(), int(CMorvikDlg::ExplorerView));
        QVERIFY(window.View(CMorvikDlg::TocView) == nullptr);
    }

    void F1OpensTheHelpFromAnyWindow()
    {
        helpOpened_.clear();
        CMorvikDlg window;
        WhenModal<CDlgDev>([this](CDlgDev* dialog) {
            QTest::keyClick(dialog->DriveListBox(), Qt::Key_F1);
            helpFromDialog_ = helpOpened_;
            dialog->reject();
        });
        window.show();
        QVERIFY(WaitFor([&] { return !helpFromDialog_.isEmpty(); }));
        QVERIFY(helpFromDialog_.toLocalFile().endsWith("help/index.html"));
        helpOpened_.clear();
        QTest::keyClick(&window, Qt::Key_F1);
        QVERIFY(helpOpened_.isLocalFile());
    }

    void DeviceDialogRefusesANonImageFile()
    {
        DevDeque devices(std::vector<std::unique_ptr<CDevCmdROM>>{});
        CDlgDev dialog;
        dialog.SetDeviceList(&devices);
        dialog.show();
        QCOMPARE(dialog.DriveListBox()->count(), 1);
        QCOMPARE(dialog.DriveListBox()->currentRow(), 0);
        const std::filesystem::path text = dir_ / "notes.txt";
        testing_support::WriteFile(text, "just some text, not a disc\n");
        QString message;
        AnswerFileDialog(QString::fromStdString(text.string()));
        AnswerMessageBox(&message);
        dialog.OnOK();
        QCOMPARE(message, QString(StringTable::Text(StringTable::NotValidImage)));
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.result(), 0);

        // Cancelling the file chooser keeps the dialog open and the line chosen.
        AnswerFileDialog(QString());
        dialog.OnOK();
        QVERIFY(dialog.isVisible());
        QCOMPARE(dialog.DriveListBox()->currentRow(), 0);

        // Escape cancels the device dialog; Enter runs OK.
        AnswerFileDialog(QString::fromStdString(disc_.string()));
        QTest::keyClick(&dialog, Qt::Key_Return);
        QCOMPARE(dialog.result(), int(QDialog::Accepted));
        QVERIFY(dialog.GetSelectedDevice() != nullptr);
        QCOMPARE(dialog.GetDeviceLabel(), QString("[Image File]"));
    }

    void cleanupTestCase() { QDesktopServices::unsetUrlHandler("file"); }

public slots:
    void OpenedUrl(const QUrl& url) { helpOpened_ = url; }

private:
    // Picks the item with command id from the next popup menu shown.
    void ChooseMenuItemWhenShown(int id)
    {
        auto* timer = new QTimer(this);
        connect(timer, &QTimer::timeout, this, [timer, id] {
            auto* menu = qobject_cast<QMenu*>(QApplication::activePopupWidget());
            if (!menu)
                return;
            timer->stop();
            timer->deleteLater();
            for (QAction* action : menu->actions()) {
                if (action->data().toInt() == id) {
                    menu->setActiveAction(action);
                    QTest::keyClick(menu, Qt::Key_Return);
                    return;
                }
            }
            menu->close();
        });
        timer->start(10);
    }

    TempDir dir_;
    std::filesystem::path disc_;
    QUrl helpOpened_;
    QUrl helpFromDialog_;
};

// The application object is Morvik's own, so that F1 works as in the program.
int main(int argc, char** argv)
{
    CMorvikApp app(argc, argv);
    MainWindowTest test;
    return QTest::qExec(&test, argc, argv);
}
#include "MainWindowTest.moc"
