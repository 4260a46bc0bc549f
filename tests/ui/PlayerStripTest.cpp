// The player strip over the explorer's tree: its keys play through a
// recording output, Pre and Next move the tree's selection, the slider
// follows the reading and seeks when released.
#include "ViewDiscs.h"

#include "audio/ui/CDlgAudioPlay.h"
#include "explorer/ui/CDlgMain.h"
#include "skin/CBmpBtn.h"
#include "support/RecordingWaveOutput.h"

#include <QSlider>
#include <QtTest>

using namespace testing_support;

namespace {

std::string SelectedText(CDlgMain& explorer)
{
    const TreeControl& tree = *explorer.Tree();
    return tree.GetItemText(tree.GetSelectedItem());
}

} // namespace

class PlayerStripTest : public QObject {
    Q_OBJECT
private slots:
    void KeysHaveTheirBitmapsOnTheSkinColour();
    void PlaysStepsAndSeeks();
};

void PlayerStripTest::KeysHaveTheirBitmapsOnTheSkinColour()
{
    RecordingWaveOutput output;
    QWidget frame;
    frame.resize(242, 20);
    CDlgAudioPlay strip(&frame, &output);
    QCOMPARE(strip.geometry(), frame.rect());
    QCOMPARE(strip.PreButton()->NormalBitmap(), 221);
    QCOMPARE(strip.PlayButton()->PressedBitmap(), 224);
    QCOMPARE(strip.PauseButton()->NormalBitmap(), 227);
    QCOMPARE(strip.StopButton()->NormalBitmap(), 229);
    QCOMPARE(strip.NextButton()->PressedBitmap(), 226);
    QCOMPARE(strip.Slider()->maximum(), 100);
    const QImage picture = strip.grab().toImage();
    QCOMPARE(picture.pixelColor(picture.width() - 1, 0), QColor(100, 125, 142));
    // The keys sit side by side, left of the slider.
    QVERIFY(strip.PreButton()->geometry().right() < strip.PlayButton()->geometry().left());
    QVERIFY(strip.NextButton()->geometry().right() < strip.Slider()->geometry().left());

    // Without a drive and a tree nothing plays.
    QTest::mouseClick(strip.PlayButton(), Qt::LeftButton);
    QVERIFY(strip.Player().GetState() == CAudioPlayer::State::Idle);
}

void PlayerStripTest::PlaysStepsAndSeeks()
{
    ViewDisc disc = OpenViewDisc(TestData("cue-toc/libcdio/cdda_4_5.cue"));
    QVERIFY(disc);
    QWidget area;
    area.resize(536, 294);
    CDlgMain explorer(&area);
    explorer.ShowDisc(disc.drive.get());
    QCOMPARE(SelectedText(explorer), std::string("AUDIO TRACK 4"));

    RecordingWaveOutput output;
    QWidget frame;
    frame.resize(242, 20);
    CDlgAudioPlay strip(&frame, &output);
    ConnectPlayer(explorer, strip);

    QTest::mouseClick(strip.PlayButton(), Qt::LeftButton);
    QVERIFY(strip.Player().GetState() != CAudioPlayer::State::Idle);
    QCOMPARE(strip.Player().GetStartSector(), 0u);
    QCOMPARE(strip.Player().GetEndSector(), 150u);
    QVERIFY(output.WaitForBlocks(2));
    QTRY_COMPARE(strip.Slider()->value(), 100); // the whole track read
    QCOMPARE(output.Recorded().blocks.front().size(), size_t(CAudioPlayer::kBlockBytes));

    // Next plays track 5 and the explorer follows; Next again finds no track.
    QTest::mouseClick(strip.NextButton(), Qt::LeftButton);
    QCOMPARE(SelectedText(explorer), std::string("AUDIO TRACK 5"));
    QCOMPARE(strip.Player().GetStartSector(), 150u);
    QTest::mouseClick(strip.NextButton(), Qt::LeftButton);
    QCOMPARE(SelectedText(explorer), std::string("AUDIO TRACK 5"));
    QVERIFY(strip.Player().GetState() == CAudioPlayer::State::Idle);
    QTest::mouseClick(strip.PreButton(), Qt::LeftButton);
    QCOMPARE(SelectedText(explorer), std::string("AUDIO TRACK 4"));
    QCOMPARE(strip.Player().GetStartSector(), 0u);

    // Pause holds, Play resumes.
    QTest::mouseClick(strip.PauseButton(), Qt::LeftButton);
    QVERIFY(strip.Player().IsPaused());
    QTest::mouseClick(strip.PlayButton(), Qt::LeftButton);
    QVERIFY(!strip.Player().IsPaused());

    // Releasing the thumb seeks to its share of the track.
    strip.Slider()->setSliderDown(true);
    strip.Slider()->setValue(100);
    strip.Slider()->setSliderDown(false); // emits sliderReleased
    QCOMPARE(strip.Player().GetCurrentSector(), 150u);

    QTest::mouseClick(strip.StopButton(), Qt::LeftButton);
    QVERIFY(strip.Player().GetState() == CAudioPlayer::State::Idle);
    QCOMPARE(strip.Player().GetCurrentSector(), 0u);
    strip.Slider()->setSliderDown(true);
    strip.Slider()->setSliderDown(false);
    QCOMPARE(strip.Player().GetCurrentSector(), 0u); // idle: nothing to seek
}

QTEST_MAIN(PlayerStripTest)
#include "PlayerStripTest.moc"
