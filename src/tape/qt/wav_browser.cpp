#include "tape/qt/wav_browser.h"
#include "tape/qt/transport_button.h"

#include <QCheckBox>
#include <QFormLayout>
#include <QSignalBlocker>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPainter>
#include <QPushButton>
#include <QScrollBar>
#include <QSlider>
#include <QStyle>
#include <QTimerEvent>
#include <QVBoxLayout>

#include "base/qt/tool_window_place.h"
#include "machine/frame.h"
#include "tape/load_file.h"
#include "tape/qt/wav_waveform.h"
#include "tape/wav_deck.h"

namespace {

WavBrowser* openBrowser = nullptr;
constexpr int kIdleRefreshMs = 200;
constexpr int kStep = 20;         // the back and forward buttons' step in sample frames
constexpr int kSliderRange = 100; // volume -10..10 is x1/2..x2; the range reaches further

void UpdateOpenBrowser() {
    if (openBrowser) openBrowser->UpdateWavTime();
}

QIcon RecordIcon() {
    QPixmap pixmap(16, 16);
    pixmap.fill(Qt::transparent);
    QPainter p(&pixmap);
    p.setRenderHint(QPainter::Antialiasing);
    p.setBrush(Qt::red);
    p.setPen(Qt::darkRed);
    p.drawEllipse(2, 2, 12, 12);
    return QIcon(pixmap);
}

QSlider* Slider(const char* name, QWidget* parent) {
    auto* s = new QSlider(Qt::Vertical, parent);
    s->setObjectName(name);
    s->setRange(-kSliderRange, kSliderRange);
    s->setValue(0);
    s->setInvertedAppearance(false);
    return s;
}

} // namespace

WavBrowser::WavBrowser(QWidget* parent) : QDialog(parent) {
    setObjectName("wavBrowser");
    setWindowTitle("NoltACE Wav Browser");
    setAttribute(Qt::WA_DeleteOnClose);
    auto* outer = new QVBoxLayout(this);
    group_ = new QGroupBox("No WAV File Loaded", this);
    group_->setObjectName("wavGroup");
    auto* inside = new QHBoxLayout(group_);

    auto* volumeColumn = new QVBoxLayout;
    volumeColumn->addWidget(new QLabel("Vol.", group_));
    volume_ = Slider("volume", group_);
    volumeColumn->addWidget(volume_, 1);
    volumeText_ = new QLabel("0", group_);
    volumeText_->setObjectName("volumeText");
    volumeColumn->addWidget(volumeText_);
    inside->addLayout(volumeColumn);

    auto* waveColumn = new QVBoxLayout;
    wave_ = new WavWaveform(group_);
    waveColumn->addWidget(wave_, 1);
    scroll_ = new QScrollBar(Qt::Horizontal, group_);
    scroll_->setObjectName("position");
    scroll_->setPageStep(15);
    waveColumn->addWidget(scroll_);
    inside->addLayout(waveColumn, 1);

    auto* biasColumn = new QVBoxLayout;
    biasColumn->addWidget(new QLabel("Bias", group_));
    bias_ = Slider("bias", group_);
    biasColumn->addWidget(bias_, 1);
    biasText_ = new QLabel("0", group_);
    biasText_->setObjectName("biasText");
    biasColumn->addWidget(biasText_);
    inside->addLayout(biasColumn);

    auto* info = new QGroupBox("Information", group_);
    auto* form = new QFormLayout(info);
    auto field = [&](const char* label, const char* name) {
        auto* l = new QLabel(info);
        l->setObjectName(name);
        l->setMinimumWidth(90);
        form->addRow(label, l);
        return l;
    };
    length_ = field("Raw Data Length", "rawDataLength");
    format_ = field("Audio Format", "audioFormat");
    channels_ = field("No. of Channels", "channels");
    rate_ = field("Sample Rate", "sampleRate");
    invert_ = new QCheckBox("Invert signal", info);
    invert_->setObjectName("invert");
    invert_->setToolTip("Play the recording the other way up (set on loading to the way its first header reads)");
    form->addRow(invert_);
    inside->addWidget(info);
    outer->addWidget(group_, 1);

    auto* bottom = new QHBoxLayout;
    time_ = new QLabel("000s/000s", this);
    time_->setObjectName("time");
    status_ = new QLabel("Stopped", this);
    status_->setObjectName("status");
    status_->setMinimumWidth(80);
    bottom->addWidget(time_);
    bottom->addWidget(status_);
    QStyle* s = style();
    auto* record = TransportButton(this, "record", "Record the next SAVE", RecordIcon());
    auto* start =
        TransportButton(this, "toStart", "To the start", s->standardIcon(QStyle::SP_MediaSkipBackward));
    auto* back = TransportButton(this, "back", "Back", s->standardIcon(QStyle::SP_MediaSeekBackward));
    play_ = TransportButton(this, "play", "Play", s->standardIcon(QStyle::SP_MediaPlay));
    auto* forward = TransportButton(this, "forward", "Forward", s->standardIcon(QStyle::SP_MediaSeekForward));
    auto* end = TransportButton(this, "toEnd", "To the end", s->standardIcon(QStyle::SP_MediaSkipForward));
    auto* open =
        TransportButton(this, "open", "Open a WAV file", s->standardIcon(QStyle::SP_DialogOpenButton));
    for (QPushButton* b : {record, start, back, play_, forward, end, open})
        bottom->addWidget(b);
    bottom->addStretch(1);
    auto* ok = new QPushButton("OK", this);
    ok->setObjectName("ok");
    bottom->addWidget(ok);
    outer->addLayout(bottom);

    connect(record, &QPushButton::clicked, this, [this] {
        PrepareRecording("");
        ShowInformation();
    });
    connect(start, &QPushButton::clicked, this, [this] { Move(0); });
    connect(end, &QPushButton::clicked, this, [this] { Move(int64_t(wavDeck.wavFrames)); });
    connect(back, &QPushButton::clicked, this, [this] {
        if (wavDeck.wavPosition >= kStep) Move(int64_t(wavDeck.wavPosition) - kStep);
    });
    connect(forward, &QPushButton::clicked, this, [this] {
        if (wavDeck.wavPosition + uint64_t(kStep) <= wavDeck.wavFrames)
            Move(int64_t(wavDeck.wavPosition) + kStep);
    });
    connect(play_, &QPushButton::clicked, this, [this] {
        ToggleWavPlayback();
        ShowInformation();
    });
    connect(open, &QPushButton::clicked, this, &WavBrowser::Open);
    connect(ok, &QPushButton::clicked, this, &QDialog::close);
    connect(volume_, &QSlider::valueChanged, this, [this](int v) {
        wavDeck.wavVolume = v;
        volumeText_->setNum(v);
        wave_->update();
    });
    connect(bias_, &QSlider::valueChanged, this, [this](int v) {
        wavDeck.wavBias = v;
        biasText_->setNum(v);
        wave_->update();
    });
    connect(invert_, &QCheckBox::toggled, this, [this](bool on) {
        wavDeck.wavInvert = on;
        wave_->update();
    });
    connect(scroll_, &QScrollBar::actionTriggered, this, &WavBrowser::Scrolled);

    resize(700, 260);
    KeepToolWindowPlace(this, kPlaceWavBrowser);
    wavDeck.wavVolume = wavDeck.wavBias = 0;
    frameDriver.wavTimeUpdater = UpdateOpenBrowser;
    ShowInformation();
    timerId_ = startTimer(kIdleRefreshMs);
}

WavBrowser::~WavBrowser() {
    if (openBrowser == this) openBrowser = nullptr;
    if (frameDriver.wavTimeUpdater == UpdateOpenBrowser) frameDriver.wavTimeUpdater = nullptr;
}

void WavBrowser::ShowInformation() {
    const bool any = wavLoaded || wavDeck.recordPrepared;
    group_->setTitle(any ? QString::fromStdString(wavDeck.wavDisplayName) : QString("No WAV File Loaded"));
    if (any) {
        length_->setText(QString("%1 bytes").arg(qulonglong(wavDeck.wavSamples.size())));
        format_->setText(wavDeck.wavFormat.formatTag == 1 ? QString("PCM")
                                                          : QString::number(wavDeck.wavFormat.formatTag));
        channels_->setNum(wavDeck.wavFormat.channels);
        rate_->setText(QString("%1khz").arg(wavDeck.wavFormat.sampleRate / 1000.0, 0, 'g', 4));
    } else {
        for (QLabel* l : {length_, format_, channels_, rate_})
            l->clear();
    }
    const QSignalBlocker quiet(invert_);
    invert_->setChecked(wavDeck.wavInvert);
    invert_->setEnabled(wavLoaded);
    UpdateWavTime();
}

void WavBrowser::ShowState() {
    const int state = recording || recordArmed ? 2 : wavPlaying ? 1 : 0;
    if (state == shownState_) return;
    shownState_ = state;
    static const char* const kTexts[] = {"  Stopped", "  Playing", "  Recording"};
    status_->setText(kTexts[state]);
    play_->setIcon(style()->standardIcon(state == 1 ? QStyle::SP_MediaStop : QStyle::SP_MediaPlay));
    play_->setToolTip(state == 2 ? "End the recording" : state == 1 ? "Stop" : "Play");
}

void WavBrowser::UpdateWavTime() {
    const uint32_t rate = wavDeck.wavFormat.sampleRate ? wavDeck.wavFormat.sampleRate : 1;
    if (wavLoaded || wavDeck.recordPrepared)
        time_->setText(
            QString("%1s/%2s").arg(wavDeck.wavPosition / rate).arg(qulonglong(wavDeck.wavFrames / rate)));
    else
        time_->setText("0s/0s");
    ShowState();
    SetScrollBar();
    wave_->update();
}

void WavBrowser::SetScrollBar() {
    scrollShift_ = 0;
    while ((wavDeck.wavFrames >> scrollShift_) > 0x7FFFFFFF)
        ++scrollShift_;
    settingScroll_ = true;
    scroll_->setRange(0, int(wavDeck.wavFrames >> scrollShift_));
    scroll_->setValue(int(uint64_t(wavDeck.wavPosition) >> scrollShift_));
    settingScroll_ = false;
}

void WavBrowser::Scrolled(int action) {
    if (settingScroll_ || !wavLoaded) return;
    switch (action) {
    case QAbstractSlider::SliderSingleStepSub:
        if (wavDeck.wavPosition > 0) Move(int64_t(wavDeck.wavPosition) - 1);
        break;
    case QAbstractSlider::SliderSingleStepAdd:
        if (wavDeck.wavPosition < wavDeck.wavFrames) Move(int64_t(wavDeck.wavPosition) + 1);
        break;
    default: Move(int64_t(scroll_->sliderPosition()) << scrollShift_); break;
    }
}

void WavBrowser::Move(int64_t to) {
    if (!wavLoaded) return;
    wavDeck.wavPosition =
        uint32_t(std::clamp<int64_t>(to, 0, int64_t(std::min<uint64_t>(wavDeck.wavFrames, 0xFFFFFFFF))));
    UpdateWavTime();
}

void WavBrowser::Open() {
    if (LoadFileDialog(LoadFilter::WavOnly) != LoadResult::Loaded) return;
    volume_->setValue(0);
    bias_->setValue(0);
    ShowInformation();
}

void WavBrowser::timerEvent(QTimerEvent* event) {
    if (event->timerId() == timerId_ && !wavPlaying && !recording) ShowInformation();
}

void OpenWavBrowser(QWidget* parent) {
    if (!openBrowser) {
        openBrowser = new WavBrowser(parent);
        openBrowser->show();
    }
    openBrowser->raise();
    openBrowser->activateWindow();
}

WavBrowser* OpenWavBrowserWindow() {
    return openBrowser;
}
