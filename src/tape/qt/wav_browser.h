// The WAV browser: a modeless tool window over the WAV tape: transport buttons, the
// waveform at the play position with its scroll bar, volume and bias sliders, the
// "Invert signal" switch (set on load to the polarity that reads), the play time and the
// file's format. It redraws once a frame while a WAV plays or records (the
// frame driver's wavTimeUpdater) and a few times a second otherwise.
//
//   OpenWavBrowser(mainWindow);   // Tools, WAV Browser: opens it, or raises it
#pragma once

#include <QDialog>

class QCheckBox;
class QGroupBox;
class QLabel;
class QPushButton;
class QScrollBar;
class QSlider;
class WavWaveform;

class WavBrowser : public QDialog {
    Q_OBJECT
  public:
    explicit WavBrowser(QWidget* parent);
    ~WavBrowser() override;

    // The time text and the waveform, after the play position moved.
    void UpdateWavTime();

  protected:
    void timerEvent(QTimerEvent* event) override;

  private:
    void ShowInformation();
    void ShowState();
    void SetScrollBar();
    void Scrolled(int action);
    void Move(int64_t to);
    void Open();

    QGroupBox* group_ = nullptr;
    WavWaveform* wave_ = nullptr;
    QSlider* volume_ = nullptr;
    QSlider* bias_ = nullptr;
    QLabel* volumeText_ = nullptr;
    QLabel* biasText_ = nullptr;
    QScrollBar* scroll_ = nullptr;
    QLabel* length_ = nullptr;
    QLabel* format_ = nullptr;
    QLabel* channels_ = nullptr;
    QLabel* rate_ = nullptr;
    QLabel* time_ = nullptr;
    QLabel* status_ = nullptr;
    QPushButton* play_ = nullptr;
    QCheckBox* invert_ = nullptr;
    int timerId_ = 0;
    int shownState_ = -1;
    int scrollShift_ = 0; // long files: the scroll bar counts in 2^shift frames
    bool settingScroll_ = false;
};

void OpenWavBrowser(QWidget* parent);
WavBrowser* OpenWavBrowserWindow(); // the open window, or nullptr
