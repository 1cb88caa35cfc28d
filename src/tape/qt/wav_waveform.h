// The WAV browser's waveform: the samples from the play position on, one per pixel
// column, on white, with the volume setting as a blue line and the bias as a red one.
#pragma once

#include <QWidget>

class WavWaveform : public QWidget {
    Q_OBJECT
  public:
    explicit WavWaveform(QWidget* parent);
    QSize sizeHint() const override { return {360, 156}; }
    // The height of a level 0..255 in an area `height` pixels tall. A fraction, not
    // 256 / height in whole numbers, which is 0 (and divides by zero) on a tall area.
    static double LevelY(int level, int height);

  protected:
    void paintEvent(QPaintEvent*) override;
};
