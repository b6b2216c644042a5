// libSendComment.so: ShowComment shows the feedback window (zenity or kdialog) and returns when
// it closes. Without either tool there is no window and the call returns at once.
#include <optional>
#include <string>
#include <vector>

#include "common/vendor_addresses.h"
#include "extlibs/desktop/linux/desktop_process.h"
#include "extlibs/sendcomment/feedback_mail.h"

namespace {

using horalia::desktop::DialogTool;

constexpr char kCommentPrompt[] = "请写下您的意见或建议：";
constexpr char kMailFailedText[] = "无法打开邮件程序。请把您的意见直接发到 ";

// The comment window, starting with `draft`; nothing when the user cancels or no window could
// be shown.
std::optional<std::string> AskForComment(DialogTool tool, const std::string& caption,
                                         const std::string& draft) {
    std::optional<horalia::desktop::ChildResult> result;
    if (tool == DialogTool::kZenity) {
        result = horalia::desktop::RunAndWait(
            {"zenity", "--text-info", "--editable", "--title=" + caption, "--width=480",
             "--height=320", "--ok-label=发送", "--cancel-label=取消"},
            draft);
    } else {
        result = horalia::desktop::RunAndWait(
            {"kdialog", "--title", caption, "--textinputbox", kCommentPrompt, draft});
    }
    if (!result || result->exitStatus != 0)
        return std::nullopt;
    std::string comment = std::move(result->output);
    if (!comment.empty() && comment.back() == '\n')
        comment.pop_back();  // both tools end their answer with a line break
    return comment;
}

void ShowMailFailed(DialogTool tool) {
    const std::string text = kMailFailedText + std::string(horalia::kVendorMailAddress);
    if (tool == DialogTool::kZenity)
        horalia::desktop::RunAndWait(
            {"zenity", "--error", "--no-wrap", "--title=Horalia", "--text=" + text});
    else
        horalia::desktop::RunAndWait({"kdialog", "--title", "Horalia", "--error", text});
}

void RunFeedbackWindow(const std::string& programText) {
    const DialogTool tool = horalia::desktop::FindDialogTool();
    if (tool == DialogTool::kNone)
        return;
    const std::string caption = horalia::feedback::FeedbackCaption(programText);
    std::string draft;
    // When the mail program cannot be opened the user is told so and gets the typed text back,
    // rather than losing it.
    while (const std::optional<std::string> comment = AskForComment(tool, caption, draft)) {
        const std::string link =
            horalia::feedback::FeedbackMailto(horalia::kVendorMailAddress, programText, *comment);
        if (horalia::desktop::OpenWithDesktop(link))
            return;
        ShowMailFailed(tool);
        draft = *comment;
    }
}

}  // namespace

extern "C" __attribute__((visibility("default"))) void ShowComment(const char* programText) {
    try {
        RunFeedbackWindow(programText ? programText : "");
    } catch (...) {
        // Out of memory: the window is simply not shown.
    }
}
