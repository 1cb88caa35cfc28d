// Help, Help: a message box captioned "Help" with one of twenty quotations.
#pragma once

class QWidget;

void ShowHelpBox(QWidget* owner);
