// The feedback window on Linux: a Qt dialog of its own, built from the feedback form's table.
// "发送" hands a mailto: link to the desktop's mail program and closes the window; when no mail
// program takes it, the window stays open with the typed text and says where to write instead.
#pragma once

#include <QDialog>
#include <string>

#include "common/form/qt/form_widgets.h"

namespace horalia::feedback {

class FeedbackWindow final : public QDialog {
  public:
    explicit FeedbackWindow(const std::string& programText);

  private:
    void OnClicked(int id);
    void Send();
    void TellMailFailed();

    std::string subject_;
    bool sending_ = false;
    qt::FormWidgets widgets_;
};

// Shows the window and returns at once when a Qt program (the tray program) runs on this
// thread: the window then lives beside the program's own windows and deletes itself when closed.
// Anywhere else the call makes a Qt application of its own and returns when the window closes.
void ShowFeedbackWindow(const std::string& programText);

}  // namespace horalia::feedback
