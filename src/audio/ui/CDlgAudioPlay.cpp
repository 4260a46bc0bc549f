#include "audio/ui/CDlgAudioPlay.h"

#include "audio/PulseWaveOutput.h"
#include "explorer/ui/CDlgMain.h"
#include "shell/Messages.h"
#include "skin/CBmpBtn.h"
#include "skin/SkinGeometry.h"
#include "skin/ViewKeys.h"

#include <QPainter>
#include <QSlider>

namespace {
constexpr int kKeyGap = 2;
constexpr int kSliderGap = 6;

WaveOutput& OutputOrOwn(WaveOutput* output, std::unique_ptr<WaveOutput>& own)
{
    if (!output)
        own = std::make_unique<PulseWaveOutput>();
    return output ? *output : *own;
}
} // namespace

CDlgAudioPlay::CDlgAudioPlay(QWidget* parent, WaveOutput* output)
    : QWidget(parent), stop_(nullptr), pre_(nullptr), play_(nullptr), pause_(nullptr), next_(nullptr),
      slider_(nullptr), player_(OutputOrOwn(output, ownOutput_))
{
    setObjectName(QStringLiteral("playerStrip"));
    if (parent)
        setGeometry(parent->rect());
    setAttribute(Qt::WA_OpaquePaintEvent);

    pre_ = AddKey("preButton", 221, 222, {22, 18});
    play_ = AddKey("playButton", 223, 224, {22, 18});
    pause_ = AddKey("pauseButton", 227, 228, {22, 17});
    stop_ = AddKey("stopButton", 229, 230, {22, 17});
    next_ = AddKey("nextButton", 225, 226, {22, 17});

    const int keysRight = next_->geometry().right() + 1;
    slider_ = new QSlider(Qt::Horizontal, this);
    slider_->setObjectName(QStringLiteral("positionSlider"));
    slider_->setRange(0, 100);
    slider_->setFocusPolicy(Qt::NoFocus);
    slider_->setGeometry(keysRight + kSliderGap, 0, std::max(0, width() - keysRight - kSliderGap), height());
    const QColor base = QColor::fromRgb(SkinColors::Background);
    slider_->setStyleSheet(QStringLiteral("QSlider { background: %1; }"
                                          "QSlider::groove:horizontal { height: 4px; border-radius: 2px;"
                                          " background: rgb(38, 52, 66); }"
                                          "QSlider::sub-page:horizontal { border-radius: 2px;"
                                          " background: rgb(169, 184, 202); }"
                                          "QSlider::handle:horizontal { width: 10px; margin: -5px 0;"
                                          " border-radius: 5px; background: rgb(214, 224, 234);"
                                          " border: 1px solid rgb(38, 52, 66); }")
                               .arg(base.name()));

    connect(pre_, &QAbstractButton::clicked, this, [this] { player_.Pre(); });
    connect(play_, &QAbstractButton::clicked, this, [this] { player_.Play(); });
    connect(pause_, &QAbstractButton::clicked, this, [this] { player_.Pause(); });
    connect(stop_, &QAbstractButton::clicked, this, [this] { player_.Stop(); });
    connect(next_, &QAbstractButton::clicked, this, [this] { player_.Next(); });
    connect(slider_, &QSlider::sliderReleased, this, [this] { player_.Seek(slider_->value()); });

    // The position comes from the reading thread; it must not wait for this one.
    player_.onPosition = [this](int percent) {
        QMetaObject::invokeMethod(this, [this, percent] { OnPosition(percent); }, Qt::QueuedConnection);
    };
    player_.onMessage = [this](int stringId) { ShowInformation(this, stringId); };
}

CDlgAudioPlay::~CDlgAudioPlay() { player_.Stop(); }

CBmpBtn* CDlgAudioPlay::AddKey(const char* name, int normal, int pressed, const QSize& size)
{
    // Keys side by side from the left, centred in the strip's height.
    int left = 0;
    for (const CBmpBtn* key : {pre_, play_, pause_, stop_, next_})
        if (key)
            left = key->geometry().right() + 1 + kKeyGap;
    auto* key = new CBmpBtn(this);
    key->setObjectName(QString::fromLatin1(name));
    key->SetBitmaps(normal, pressed);
    key->setGeometry(left, (height() - size.height()) / 2, size.width(), size.height());
    return key;
}

void CDlgAudioPlay::OnPosition(int percent)
{
    if (!slider_->isSliderDown()) // the user's drag wins until released
        slider_->setValue(percent);
}

void CDlgAudioPlay::paintEvent(QPaintEvent*)
{
    QPainter(this).fillRect(rect(), QColor::fromRgb(SkinColors::Background));
}

void CDlgAudioPlay::keyPressEvent(QKeyEvent* event)
{
    if (IsDialogCloseKey(event))
        return event->accept();
    QWidget::keyPressEvent(event);
}

void ConnectPlayer(CDlgMain& explorer, CDlgAudioPlay& player)
{
    player.SetPlaySource(explorer.Core().GetCurrentDrive(), explorer.Tree());
}
