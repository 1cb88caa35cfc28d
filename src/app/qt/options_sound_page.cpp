#include "app/qt/options_sound_page.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QSlider>

#include "app/qt/options_controls.h"
#include "sound/sound_settings.h"

namespace {

QStringList Names(const char* const* names, int count) {
    QStringList list;
    for (int n = 0; n < count; ++n)
        list << names[n];
    return list;
}

} // namespace

OptionsSoundPage::OptionsSoundPage(QWidget* parent) : QWidget(parent) {
    auto* form = new QFormLayout(this);
    form->addRow(BoundCheckBox("Sound Enabled", &opt_snd_sound, this));
    form->addRow(BoundCheckBox("AY Sound", &opt_snd_aysound, this));
    form->addRow("Sound Enhancement", BoundComboBox(Names(kSoundEnhancementNames, 3), &opt_echo, this));
    form->addRow("Frequency",
                 BoundComboBox({"11025", "22050", "44100"}, &opt_snd_freq, this, {11025, 22050, 44100}));
    form->addRow("Bit Depth", BoundComboBox({" 8", "16"}, &opt_snd_soundbits, this, {8, 16}));
    form->addRow("Output Mode", BoundComboBox(Names(kSoundOutputModeNames, 3), &opt_snd_output, this));

    auto* bufferText = new QLabel(this);
    bufferText->setObjectName("bufferText");
    bufferText->setMinimumWidth(70);
    auto* bufferRow = new QHBoxLayout;
    bufferRow->addWidget(BoundSlider(1, 50, &opt_snd_num_buffers, this, 1, bufferText, "%1 frames"));
    bufferRow->addWidget(bufferText);
    form->addRow("Sound Buffer Size", bufferRow);

    auto* volumeRow = new QHBoxLayout;
    volumeRow->addWidget(new QLabel("Min", this));
    volumeRow->addWidget(BoundSlider(0, 10, &opt_snd_volume, this, 10));
    volumeRow->addWidget(new QLabel("Max", this));
    form->addRow("Volume", volumeRow);
}
