#include "app/qt/forth_stack_tab.h"

#include "app/qt/app_fonts.h"
#include "debugger/disassembler.h"
#include "debugger/forth_stack.h"

ForthStackTab::ForthStackTab(QWidget* parent) : QPlainTextEdit(parent) {
    setObjectName("forthStacks");
    setReadOnly(true);
    setFont(ListingFont());
    setLineWrapMode(QPlainTextEdit::NoWrap);
    Refresh();
}

void ForthStackTab::SetStepNote(const QString& note) {
    stepNote_ = note;
    Refresh();
}

void ForthStackTab::Refresh() {
    QStringList lines;
    if (!stepNote_.isEmpty()) lines << stepNote_ << "";
    const ForthDataStack data = ReadForthDataStack();
    lines << QString("Data stack, depth %1").arg(data.depth);
    for (uint16_t cell : data.cells)
        lines << "  " + QString::fromStdString(FormatStackCell(cell, disassembler.numberBase));
    lines << "" << "Return stack";
    for (const ReturnStackEntry& entry : ReadForthReturnStack())
        lines << "  " + QString::fromStdString(FormatReturnStackEntry(entry));
    setPlainText(lines.join('\n'));
}
