// The player strip under the view area: Pre, Play, Pause, Stop and Next
// keys and a position slider over the CD player. The track comes from the
// explorer tree's selection, which Pre and Next move along.
#pragma once

#include "audio/CAudioPlayer.h"

#include <QWidget>

#include <memory>

class CBmpBtn;
class CDevCmdROM;
class CDlgMain;
class QSlider;
class TreeControl;
class WaveOutput;

class CDlgAudioPlay : public QWidget {
    Q_OBJECT
public:
    // Fills parent (the main window's placeholder). output: the sound
    // output to play through; null plays through the sound server.
    explicit CDlgAudioPlay(QWidget* parent, WaveOutput* output = nullptr);
    ~CDlgAudioPlay() override;

    // The drive to read and the tree whose selection names the track; does
    // not stop what plays.
    void SetPlaySource(CDevCmdROM* drive, TreeControl* tree) { player_.SetPlaySource(drive, tree); }

    CAudioPlayer& Player() { return player_; }
    QSlider* Slider() const { return slider_; }
    CBmpBtn* PreButton() const { return pre_; }
    CBmpBtn* PlayButton() const { return play_; }
    CBmpBtn* PauseButton() const { return pause_; }
    CBmpBtn* StopButton() const { return stop_; }
    CBmpBtn* NextButton() const { return next_; }

protected:
    void paintEvent(QPaintEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;

private:
    CBmpBtn* AddKey(const char* name, int normal, int pressed, const QSize& size);
    void OnPosition(int percent);

    std::unique_ptr<WaveOutput> ownOutput_;
    CBmpBtn* stop_;
    CBmpBtn* pre_;
    CBmpBtn* play_;
    CBmpBtn* pause_;
    CBmpBtn* next_;
    QSlider* slider_;
    CAudioPlayer player_; // last: stopped before the slider and the output go
};

// The explorer hands its drive and its tree to the player.
void ConnectPlayer(CDlgMain& explorer, CDlgAudioPlay& player);
