// The explorer's Save Data: an audio track as a WAV file, or the selected
// list entry or tree folder into a folder the user picks. The job runs on
// the extraction engine while the progress window is polled every 100 ms.
#pragma once

#include "extraction/CGetCDData.h"
#include "extraction/ui/CDlgProgress.h"

#include <QObject>
#include <QTimer>

class DiscExplorer;
class QWidget;

class ExplorerSave : public QObject {
    Q_OBJECT
public:
    static constexpr int kPollMs = 100;
    static constexpr const char* kWaveFilter = "Wav Files(*.wav)|*.wav||";

    ExplorerSave(DiscExplorer& explorer, QWidget* owner);

    void Run();
    CDlgProgress& Progress() { return progress_; }

private:
    void SaveAudioTrack(const std::string& text, const std::string& parentText);
    void SaveFromList();
    void SaveTreeFolder(const std::string& text, uint64_t location);
    // The start of the track that holds the selected node; 0 when unknown.
    int32_t SelectedTrackStart() const;
    void RunJob();
    void Poll();

    DiscExplorer& explorer_;
    QWidget* owner_;
    CDlgProgress progress_;
    CGetCDData engine_;
    QTimer poll_;
};
