#include "app/qt/display_menu.h"

#include <QAction>
#include <QActionGroup>
#include <QMenu>

#include "app/qt/run_commands.h"
#include "app/qt/view_controller.h"
#include "display/presentation.h"
#include "display/shader_preset.h"

namespace {

struct BackEndChoice {
    const char* name;
    const char* text;
    int drawMode;
};

const BackEndChoice kBackEnds[] = {
    {"drawSoftware", "&Software", kDrawSoftware},
    {"drawOpenGL", "&OpenGL", kDrawOpenGL},
    {"drawShaders", "OpenGL S&haders", kDrawShaders},
};

void Apply(ViewController& view, int drawMode, int shader) {
    PauseAround pause;
    opt_DrawMode = drawMode;
    opt_shader = shader;
    view.SetUpDisplay();
}

} // namespace

void AddDisplayChoices(QMenu* viewMenu, ViewController& view) {
    viewMenu->addSeparator();
    QMenu* backEnds = viewMenu->addMenu("&Display");
    backEnds->setObjectName("displayMenu");
    auto* backEndGroup = new QActionGroup(backEnds);
    for (const BackEndChoice& choice : kBackEnds) {
        QAction* action = backEnds->addAction(choice.text);
        action->setObjectName(choice.name);
        action->setCheckable(true);
        action->setData(choice.drawMode);
        backEndGroup->addAction(action);
        QObject::connect(action, &QAction::triggered, backEnds,
                         [&view, mode = choice.drawMode] { Apply(view, mode, opt_shader); });
    }

    QMenu* shaders = viewMenu->addMenu("S&hader");
    shaders->setObjectName("shaderMenu");
    auto* shaderGroup = new QActionGroup(shaders);
    for (int i = 0; i < kShaderCount; ++i) {
        QAction* action = shaders->addAction(ShaderName(i));
        action->setObjectName(QString("shader%1").arg(i));
        action->setCheckable(true);
        action->setData(i);
        shaderGroup->addAction(action);
        QObject::connect(action, &QAction::triggered, shaders, [&view, i] { Apply(view, kDrawShaders, i); });
    }

    // The options may change elsewhere (configuration, options dialog): tick what holds now.
    QObject::connect(viewMenu, &QMenu::aboutToShow, viewMenu, [backEnds, shaders] {
        for (QAction* action : backEnds->actions())
            action->setChecked(action->data().toInt() == opt_DrawMode);
        for (QAction* action : shaders->actions())
            action->setChecked(opt_DrawMode == kDrawShaders && action->data().toInt() == opt_shader);
    });
}
