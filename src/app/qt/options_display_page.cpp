#include "app/qt/options_display_page.h"

#include <QButtonGroup>
#include <QComboBox>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QRadioButton>
#include <QSlider>
#include <QVBoxLayout>

#include "app/qt/options_controls.h"
#include "display/shader_preset.h"
#include "display/display_settings.h"
#include "display/presentation.h"
#include "display/renderer.h"
#include "machine/frame.h"

OptionsDisplayPage::OptionsDisplayPage(QWidget* parent) : QWidget(parent) {
    auto* modeGroup = new QGroupBox("Display Mode", this);
    auto* modes = new QButtonGroup(this);
    auto* modeLayout = new QVBoxLayout(modeGroup);
    const struct {
        const char* text;
        const char* name;
        int mode;
    } backEnds[] = {{"Software", "drawSoftware", kDrawSoftware},
                    {"OpenGL", "drawOpenGL", kDrawOpenGL},
                    {"OpenGL with shaders", "drawShaders", kDrawShaders}};
    const long current = OptionNumber(&opt_DrawMode);
    for (const auto& backEnd : backEnds) {
        auto* button = new QRadioButton(backEnd.text, modeGroup);
        button->setObjectName(backEnd.name);
        button->setChecked(current == backEnd.mode);
        modes->addButton(button, backEnd.mode);
        modeLayout->addWidget(button);
    }

    QStringList shaderNames;
    for (int shader = 0; shader < kShaderCount; ++shader)
        shaderNames << ShaderName(shader);
    auto* shaders = BoundComboBox(shaderNames, &opt_shader, this);
    shaders->setEnabled(current == kDrawShaders);
    connect(modes, &QButtonGroup::idClicked, this, [shaders](int mode) {
        OptionNumber(&opt_DrawMode) = mode;
        shaders->setEnabled(mode == kDrawShaders);
    });
    auto* shaderGroup = new QGroupBox("Shader", this);
    (new QVBoxLayout(shaderGroup))->addWidget(shaders);

    QStringList schemes;
    for (int n = 0; n < kColourSchemeCount; ++n)
        schemes << ColourSchemeAt(n).name;
    auto* colourGroup = new QGroupBox("Colours", this);
    (new QVBoxLayout(colourGroup))->addWidget(BoundComboBox(schemes, &opt_colours, colourGroup));

    auto* skipGroup = new QGroupBox("Frameskip", this);
    auto* skipText = new QLabel(skipGroup);
    skipText->setMinimumWidth(30);
    auto* skipRow = new QHBoxLayout(skipGroup);
    skipRow->addWidget(BoundSlider(1, 11, &frameSkipPeriod, skipGroup, 1, skipText));
    skipRow->addWidget(skipText);

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(modeGroup);
    layout->addWidget(shaderGroup);
    layout->addWidget(colourGroup);
    layout->addWidget(skipGroup);
    layout->addStretch();
}
