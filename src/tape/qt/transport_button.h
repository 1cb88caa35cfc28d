// The small icon buttons of the tape and WAV browsers' transport rows.
#pragma once

#include <QIcon>
#include <QPushButton>
#include <QString>

// A 32 x 32 icon button that takes no keyboard focus, so the keys stay with the Ace.
inline QPushButton* TransportButton(QWidget* parent, const QString& name, const QString& tip,
                                    const QIcon& icon) {
    auto* b = new QPushButton(icon, QString(), parent);
    b->setObjectName(name);
    b->setToolTip(tip);
    b->setFixedSize(32, 32);
    b->setFocusPolicy(Qt::NoFocus);
    return b;
}
