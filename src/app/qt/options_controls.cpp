#include "app/qt/options_controls.h"

#include <QCheckBox>
#include <QComboBox>
#include <QGroupBox>
#include <QLabel>
#include <QSlider>
#include <QVBoxLayout>

namespace {

void NameAfterSetting(QWidget* control, const LiveVariable& live) {
    const int index = SettingIndex(live);
    if (index >= 0) control->setObjectName(SettingsTable()[size_t(index)].key);
}

} // namespace

QCheckBox* BoundCheckBox(const QString& text, const LiveVariable& live, QWidget* parent) {
    auto* box = new QCheckBox(text, parent);
    NameAfterSetting(box, live);
    box->setChecked(OptionNumber(live) != 0);
    QObject::connect(box, &QCheckBox::toggled, box, [live](bool on) { OptionNumber(live) = on ? 1 : 0; });
    return box;
}

QSlider* BoundSlider(int low, int high, const LiveVariable& live, QWidget* parent, int factor, QLabel* shown,
                     const QString& format) {
    auto* slider = new QSlider(Qt::Horizontal, parent);
    NameAfterSetting(slider, live);
    slider->setRange(low, high);
    slider->setPageStep(factor == 1 && high - low >= 100 ? 10 : 1);
    auto show = [shown, format](int value) {
        if (shown) shown->setText(format.arg(value));
    };
    const long value = OptionNumber(live);
    slider->setValue(int(value / factor));
    show(int(value));
    QObject::connect(slider, &QSlider::valueChanged, slider, [live, factor, show](int position) {
        OptionNumber(live) = long(position) * factor;
        show(position * factor);
    });
    return slider;
}

QComboBox* BoundComboBox(const QStringList& items, const LiveVariable& live, QWidget* parent,
                         const std::vector<long>& values) {
    auto* combo = new QComboBox(parent);
    NameAfterSetting(combo, live);
    combo->addItems(items);
    const long value = OptionNumber(live);
    int index = int(value);
    if (!values.empty()) {
        const auto found = std::find(values.begin(), values.end(), value);
        index = found == values.end() ? 0 : int(found - values.begin());
    }
    combo->setCurrentIndex(index >= 0 && index < items.size() ? index : 0);
    QObject::connect(combo, &QComboBox::currentIndexChanged, combo, [live, values](int n) {
        if (n < 0) return;
        OptionNumber(live) = values.empty() ? long(n) : values[size_t(n)];
    });
    return combo;
}

CheckBoxPage::CheckBoxPage(const QString& title,
                           std::initializer_list<std::pair<const char*, LiveVariable>> boxes, QWidget* parent)
    : QWidget(parent) {
    auto* group = new QGroupBox(title, this);
    auto* inner = new QVBoxLayout(group);
    for (const auto& [text, live] : boxes)
        inner->addWidget(BoundCheckBox(text, live, group));
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addStretch();
}
