#include "app/qt/disassemble_to_file_dialog.h"

#include <QCheckBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QVBoxLayout>

#include "base/host.h"
#include "debugger/disassemble_to_file.h"

DisassembleToFileDialog::DisassembleToFileDialog(QWidget* parent) : QDialog(parent) {
    setObjectName("DISASSEMBLE_TO_FILE");
    setWindowTitle("Disassemble To File");
    start_ = new QLineEdit(this);
    start_->setObjectName("start");
    start_->setMaxLength(6);
    end_ = new QLineEdit(this);
    end_->setObjectName("end");
    end_->setMaxLength(6);
    showHex_ = new QCheckBox("Show Hex", this);
    showHex_->setObjectName("showHex");
    romCalls_ = new QCheckBox("ROM Calls", this);
    romCalls_->setObjectName("romCalls");
    systemVariables_ = new QCheckBox("System Variables", this);
    systemVariables_->setObjectName("systemVariables");
    auto* form = new QFormLayout;
    form->addRow("Start Address", start_);
    form->addRow("End Address", end_);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName("ok");
    connect(buttons, &QDialogButtonBox::accepted, this, &DisassembleToFileDialog::Accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(form);
    layout->addWidget(showHex_);
    layout->addWidget(romCalls_);
    layout->addWidget(systemVariables_);
    layout->addWidget(buttons);
}

void DisassembleToFileDialog::Accept() {
    DisassemblyRange range;
    const DisassemblyFault fault =
        ParseDisassemblyRange(start_->text().toStdString(), end_->text().toStdString(), range);
    if (fault != DisassemblyFault::None) {
        host().ShowMessage("Disassemble To File", DisassemblyFaultText(fault));
        return;
    }
    FileDialogRequest request;
    request.title = "Disassemble To File";
    request.filters = {{"Text files (*.txt)", "*.txt"}, {"All files (*)", "*"}};
    request.initialName = "disassembly.txt";
    request.defaultExtension = "txt";
    const std::string path = host().ChooseSaveFile(request);
    if (path.empty()) return;
    const DisassemblyOptions options{showHex_->isChecked(), systemVariables_->isChecked()};
    std::string error;
    if (!WriteDisassembly(path, range, options, error)) {
        host().ShowMessage("Cannot Open File", "ERROR");
        return;
    }
    accept();
}

void RunDisassembleToFile(QWidget* parent) {
    DisassembleToFileDialog dialog(parent);
    dialog.exec();
}
