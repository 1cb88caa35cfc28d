#include "tape/qt/wav_waveform.h"

#include <algorithm>

#include <QPainter>
#include <QPolygonF>

#include "tape/wav_deck.h"

WavWaveform::WavWaveform(QWidget* parent) : QWidget(parent) {
    setObjectName("waveform");
    setMinimumSize(180, 78);
    setSizePolicy(QSizePolicy::Expanding, QSizePolicy::Expanding);
}

double WavWaveform::LevelY(int level, int height) {
    return (255 - level) * double(height - 1) / 255.0;
}

void WavWaveform::paintEvent(QPaintEvent*) {
    QPainter p(this);
    const int w = width(), h = height();
    p.fillRect(rect(), Qt::white);
    // The settings as levels around the middle line: volume in blue, bias in red.
    p.setPen(Qt::blue);
    const double volumeY = LevelY(std::clamp(128 + wavDeck.wavVolume, 0, 255), h);
    p.drawLine(QPointF(0, volumeY), QPointF(w, volumeY));
    p.setPen(Qt::red);
    const double biasY = LevelY(std::clamp(128 + wavDeck.wavBias, 0, 255), h);
    p.drawLine(QPointF(0, biasY), QPointF(w, biasY));
    // Playing, the wave runs on from the play position; recording, it ends at the newest
    // sample, so it grows from the left until it fills the view.
    const uint64_t position = wavDeck.wavPosition;
    const int count = recording ? int(std::min<uint64_t>(uint64_t(w), position + 1)) : w;
    const uint64_t first = recording ? position + 1 - uint64_t(count) : position;
    QPolygonF wave;
    wave.reserve(count);
    for (int x = 0; x < count; ++x)
        wave.append(QPointF(x, LevelY(WavSampleLevel(first + uint64_t(x)), h)));
    p.setPen(Qt::black);
    p.drawPolyline(wave);
}
