// The feedback window as data: a prompt, the comment box and 发送 / 取消 at the bottom right.
#pragma once

#include "common/form/form.h"

namespace horalia::feedback {

inline constexpr int kSendId = 1;    // Enter
inline constexpr int kCancelId = 2;  // Esc
inline constexpr int kCommentBoxId = 100;
inline constexpr int kPromptId = 101;

inline constexpr char kMailFailedText[] = "无法打开邮件程序。请把您的意见直接发到 ";

// Its caption is FeedbackCaption of the caller's text; the table's own caption is empty.
const form::Form& FeedbackForm();

}  // namespace horalia::feedback
