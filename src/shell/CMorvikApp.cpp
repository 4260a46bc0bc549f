#include "shell/CMorvikApp.h"

#include "shell/CMorvikDlg.h"

#include <QDesktopServices>
#include <QDir>
#include <QFileInfo>
#include <QKeyEvent>
#include <QProcess>

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

namespace {

// The file beside the program, or in the shared data folder of an
// installed copy.
QString FindHelpFile(const QString& besideProgram, const QString& installed)
{
    const QDir folder(QCoreApplication::applicationDirPath());
    const QString here = folder.filePath(besideProgram);
    const QString there = folder.filePath(installed);
    return QFileInfo(QFileInfo::exists(here) || !QFileInfo::exists(there) ? here : there).absoluteFilePath();
}

// Whether the desktop names an application for compiled help files.
bool DesktopOpensChm()
{
    QProcess query;
    query.start(QStringLiteral("xdg-mime"),
                {QStringLiteral("query"), QStringLiteral("default"), QStringLiteral("application/vnd.ms-htmlhelp")});
    return query.waitForFinished(2000) && query.exitCode() == 0 && !query.readAllStandardOutput().trimmed().isEmpty();
}

} // namespace

QUrl CMorvikApp::HelpUrl()
{
    const QString chm = FindHelpFile(QStringLiteral("Morvik.chm"), QStringLiteral("../share/morvik/Morvik.chm"));
    if (QFileInfo::exists(chm) && DesktopOpensChm())
        return QUrl::fromLocalFile(chm);
    return QUrl::fromLocalFile(
        FindHelpFile(QStringLiteral("help/index.html"), QStringLiteral("../share/morvik/help/index.html")));
}

void CMorvikApp::OpenHelp()
{
    QDesktopServices::openUrl(HelpUrl());
}
