#include "shell/CMorvikApp.h"

#include "shell/CMorvikDlg.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>

CMorvikApp::CMorvikApp(int& argc, char** argv) : QApplication(argc, argv)
{
    setApplicationName(QStringLiteral("Morvik"));
    setApplicationVersion(QStringLiteral(MORVIK_VERSION));
    setDesktopFileName(QStringLiteral("morvik"));
    installEventFilter(this); // sees the key presses of every window and modal loop
}

bool CMorvikApp::InitInstance()
{
    CMorvikDlg window;
    window.exec();
    return false;
}

bool CMorvikApp::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::KeyPress && static_cast<QKeyEvent*>(event)->key() == Qt::Key_F1 &&
        watched->isWidgetType()) {
        OpenHelp();
        return true;
    }
    return QApplication::eventFilter(watched, event);
}

QUrl CMorvikApp::HelpUrl()
{
    // The help lies beside the program, or in the shared data folder of an
    // installed copy.
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString besideProgram = folder.filePath(QStringLiteral("help/index.html"));
    const QString installed = folder.filePath(QStringLiteral("../share/morvik/help/index.html"));
    const QString& found = QFileInfo::exists(besideProgram) || !QFileInfo::exists(installed) ? besideProgram : installed;
    return QUrl::fromLocalFile(QFileInfo(found).absoluteFilePath());
}

void CMorvikApp::OpenHelp()
{
    QDesktopServices::openUrl(HelpUrl());
}
