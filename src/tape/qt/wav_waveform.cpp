#include "tape/qt/wav_waveform.h"

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
    const double volumeY = LevelY(std::clamp(128 + wavVolume, 0, 255), h);
    p.drawLine(QPointF(0, volumeY), QPointF(w, volumeY));
    p.setPen(Qt::red);
    const double biasY = LevelY(std::clamp(128 + wavBias, 0, 255), h);
    p.drawLine(QPointF(0, biasY), QPointF(w, biasY));
    QPolygonF wave;
    wave.reserve(w);
    for (int x = 0; x < w; ++x)
        wave.append(QPointF(x, LevelY(WavSampleLevel(uint64_t(wavPosition) + uint64_t(x)), h)));
    p.setPen(Qt::black);
    p.drawPolyline(wave);
}
