// The desktop application's Host: Qt message boxes and file dialogs, presentation
// through the main window's display, and the default clock.
#pragma once

#include "base/host.h"

class DisplayPresenter;
class QWidget;

class QtHost : public Host {
  public:
    void ShowMessage(const std::string& caption, const std::string& text) override;
    bool AskYesNo(const std::string& caption, const std::string& text) override;
    bool AskYesNoWarning(const std::string& caption, const std::string& text) override;
    void PresentFrame() override;
    std::string ChooseOpenFile(const FileDialogRequest& request) override;
    std::string ChooseSaveFile(const FileDialogRequest& request) override;
    // The debugger window, modal over the main window.
    void RunDebugger() override;
    void PcLogStopped(int menuItem) override;

    // The display that PresentFrame feeds, and the window that owns file dialogs.
    void SetPresenter(DisplayPresenter* presenter) { presenter_ = presenter; }
    void SetDialogOwner(QWidget* owner) { owner_ = owner; }

    int messagesShown() const { return messagesShown_; }

  private:
    DisplayPresenter* presenter_ = nullptr;
    QWidget* owner_ = nullptr;
    int messagesShown_ = 0;
};
