// libSendComment.so: ShowComment shows the feedback window. In the tray program it returns at
// once and the window lives beside the program's own; see feedback_window.h.
#include "extlibs/sendcomment/linux/feedback_window.h"

extern "C" __attribute__((visibility("default"))) void ShowComment(const char* programText) {
    try {
        horalia::feedback::ShowFeedbackWindow(programText ? programText : "");
    } catch (...) {
        // Out of memory: the window is simply not shown.
    }
}
