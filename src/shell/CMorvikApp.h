// The application: runs the main window modally and opens the help with F1
// from every window of the program.
#pragma once

#include <QApplication>
#include <QUrl>

class CMorvikApp : public QApplication {
    Q_OBJECT
public:
    CMorvikApp(int& argc, char** argv);

    // Runs the main window until it ends; false, as nothing is left to run.
    bool InitInstance();

    // The help beside the executable, opened with the desktop's viewer
    // without waiting for it. Nothing is said when it is missing.
    static void OpenHelp();
    // "Morvik.chm" beside the executable when the desktop has a viewer for
    // it, else the same help as HTML.
    static QUrl HelpUrl();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};
