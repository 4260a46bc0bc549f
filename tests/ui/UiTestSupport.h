// Helpers for the window tests: answering the modal dialogs that a command
// opens, and building disc images with the command-line tools.
#pragma once

#include <QAbstractButton>
#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QFileDialog>
#include <QFileInfo>
#include <QLineEdit>
#include <QMessageBox>
#include <QPointer>
#include <QTimer>
#include <QTest>

#include <filesystem>
#include <functional>
#include <memory>
#include <string>

namespace ui_test {

// Runs answer on the next modal dialog of type T that opens (within
// timeoutMs), from inside its own modal loop; again while that dialog stays
// open, as a file dialog may ignore an answer given while it still loads.
template <typename T>
void WhenModal(std::function<void(T*)> answer, int timeoutMs = 10000)
{
    struct Watch {
        QElapsedTimer clock;
        QPointer<T> answered;
        QElapsedTimer sinceAnswer;
    };
    // Owned by the application, so a watch still running when the test
    // program ends goes with it; the state goes with the timer's slot.
    auto* timer = new QTimer(qApp);
    auto watch = std::make_shared<Watch>();
    watch->clock.start();
    QObject::connect(timer, &QTimer::timeout, timer, [=] {
        auto finish = [=] {
            timer->stop();
            timer->deleteLater();
        };
        if (watch->answered) {
            if (!watch->answered->isVisible())
                finish();
            else if (watch->sinceAnswer.elapsed() > 300) {
                timer->stop(); // an answer may run a modal loop of its own
                answer(watch->answered);
                watch->sinceAnswer.restart();
                timer->start();
            }
            return;
        }
        if (watch->answered.isNull() && watch->sinceAnswer.isValid()) {
            finish(); // the dialog we answered is gone
            return;
        }
        T* dialog = qobject_cast<T*>(QApplication::activeModalWidget());
        if (!dialog) {
            if (watch->clock.elapsed() > timeoutMs)
                finish();
            return;
        }
        watch->answered = dialog;
        timer->stop();
        answer(dialog);
        watch->sinceAnswer.start();
        timer->start();
    });
    timer->start(20);
}

// Answers the next file dialog with path (a file, or a folder for a
// folder chooser); an empty path cancels it.
inline void AnswerFileDialog(const QString& path)
{
    WhenModal<QFileDialog>([path](QFileDialog* dialog) {
        if (path.isEmpty()) {
            dialog->reject();
            return;
        }
        if (dialog->fileMode() == QFileDialog::Directory) {
            dialog->setDirectory(path);
        } else if (auto* name = dialog->findChild<QLineEdit*>("fileNameEdit")) {
            name->setText(path); // typed, as a user would
        }
        static_cast<QDialog*>(dialog)->accept(); // QFileDialog's own accept takes the typed name
    });
}

// Answers the next message box with button, keeping its text in *text.
inline void AnswerMessageBox(QString* text, QMessageBox::StandardButton button = QMessageBox::Ok)
{
    WhenModal<QMessageBox>([text, button](QMessageBox* box) {
        if (text)
            *text = box->text();
        if (QAbstractButton* b = box->button(button))
            b->click();
        else
            box->done(button);
    });
}

// Processes events until condition holds or timeoutMs passes.
inline bool WaitFor(const std::function<bool()>& condition, int timeoutMs = 5000)
{
    QElapsedTimer clock;
    clock.start();
    while (!condition()) {
        if (clock.elapsed() > timeoutMs)
            return false;
        QTest::qWait(10);
    }
    return true;
}

} // namespace ui_test

#include "drive/CDevCmdROM.h"
#include "drive/TocModel.h"
#include "support/DiscImages.h"
#include "support/ExplorerHarness.h"
#include "support/TestSupport.h"

#include "common/ByteOrder.h"

#include <vector>

namespace ui_test {

// What the test discs hold.
inline const std::string kReadme = "Morvik test disc\n";
inline std::string DataBin()
{
    std::string bytes(70000, '\0');
    for (size_t i = 0; i < bytes.size(); ++i)
        bytes[i] = char((i * 7 + i / 251) & 0xFF);
    return bytes;
}

// A mixed-mode disc as BIN/CUE: data track 1 (folders DOCS, DOCS/SUB,
// files README.TXT and DOCS/DATA.BIN), audio tracks 2 and 3 with CD-Text;
// with twoSessions a second session holds data track 4 (folder EXTRA).
// Empty path when a tool is missing.
inline std::filesystem::path MakeMixedModeDisc(const std::filesystem::path& dir, bool twoSessions = false)
{
    using namespace testing_support;
    namespace fs = std::filesystem;
    fs::create_directories(dir / "tree1" / "DOCS" / "SUB");
    WriteFile(dir / "tree1" / "README.TXT", kReadme);
    WriteFile(dir / "tree1" / "DOCS" / "DATA.BIN", DataBin());
    WriteFile(dir / "tree1" / "DOCS" / "SUB" / "NOTE.TXT", "note\n");
    if (MakeIso(dir / "tree1", dir / "data1.iso", {"-V", "MORVIK_TEST"}).empty())
        return {};
    WriteFile(dir / "audio2.bin", AudioSectors(300, 440));
    WriteFile(dir / "audio3.bin", AudioSectors(225, 660));
    std::string cue = "PERFORMER \"Morvik Ensemble\"\nTITLE \"Test Disc\"\n"
                      "FILE \"data1.iso\" BINARY\n  TRACK 01 MODE1/2048\n    INDEX 01 00:00:00\n"
                      "FILE \"audio2.bin\" BINARY\n  TRACK 02 AUDIO\n    TITLE \"First Tone\"\n"
                      "    PERFORMER \"Sine Wave\"\n    INDEX 01 00:00:00\n"
                      "FILE \"audio3.bin\" BINARY\n  TRACK 03 AUDIO\n    TITLE \"Second Tone\"\n"
                      "    PERFORMER \"Sine Wave\"\n    INDEX 01 00:00:00\n";
    const fs::path cuePath = dir / "disc.cue";
    WriteFile(cuePath, cue);
    if (!twoSessions)
        return cuePath;

    // The second session's volume is addressed where it lands on the disc:
    // 11400 sectors after the first session's lead-out.
    CDevCmdROM probe;
    if (!probe.SetImageFile(cuePath.string()))
        return {};
    std::vector<uint8_t> toc(4096);
    if (probe.ReadToc(toc.data(), uint32_t(toc.size()), 2, 0) != 0)
        return {};
    const SessionInfo sessions(toc.data() + 4, GetBE16(toc.data()) - 2);
    const int start2 = int(sessions[0].GetLeadOutStartPos()) + 11400;
    fs::create_directories(dir / "tree2" / "EXTRA");
    WriteFile(dir / "tree2" / "EXTRA" / "LATER.TXT", "added in session two\n");
    if (MakeIso(dir / "tree2", dir / "data4.iso",
                {"-V", "SESSION_TWO", "-C", "0," + std::to_string(start2)})
            .empty())
        return {};
    cue += "REM SESSION 02\nFILE \"data4.iso\" BINARY\n  TRACK 04 MODE1/2048\n    INDEX 01 00:00:00\n";
    WriteFile(cuePath, cue);
    return cuePath;
}

} // namespace ui_test
