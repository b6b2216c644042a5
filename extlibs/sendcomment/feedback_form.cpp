#include "extlibs/sendcomment/feedback_form.h"

#include <array>

namespace horalia::feedback {
namespace {

using form::Kind;

constexpr form::Control Make(Kind kind, int id, std::string_view name, std::string_view caption,
                             form::Rect rect, int tabIndex) {
    form::Control control = form::MakeControl(kind, id, name, caption, rect, tabIndex);
    control.isDefault = id == kSendId;
    return control;
}

// The comment box takes the focus first; Enter inside it starts a new line.
constexpr std::array kControls{
    Make(Kind::TextBox, kCommentBoxId, "Text_意见", "", {120, 420, 5760, 2640}, 0),
    Make(Kind::PushButton, kSendId, "Command_发送", "发送", {3600, 3225, 1080, 360}, 1),
    Make(Kind::PushButton, kCancelId, "Command_取消", "取消", {4800, 3225, 1080, 360}, 2),
    Make(Kind::Label, kPromptId, "Label_提示", "请写下您的意见或建议：", {120, 120, 5760, 240}, 3),
};

constexpr form::Form kForm{"", 6000, 3750, 9, kControls};

}  // namespace

const form::Form& FeedbackForm() {
    return kForm;
}

}  // namespace horalia::feedback
