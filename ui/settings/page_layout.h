// A settings page's window as data, made from the settings rows: the page names where each
// setting's control lies and its fixed controls (frames, buttons); the rows give each control's
// kind, caption, tooltip and place in the tab order. A setting the page gives no place gets a line
// of its own.
#pragma once

#include <array>
#include <deque>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "common/form/form.h"
#include "config/settings.h"

namespace horalia {

// Where a page puts the control of one setting: a rectangle per part, relative to the frame.
// The parts by the control's kind:
//   check: the box; options: the label, then a button per choice; number: the label, the slider,
//   the value; time list: the switch, the box, the hint; hotkey: the label, the box, the note;
//   folder: the label, the box, 浏览…; text: the label, the box, a hint.
struct Place {
    std::string_view key;
    form::Rect frame;
    std::array<form::Rect, 7> parts{};
    // Options in a frame of their own with this name, titled with the caption, in place of a label.
    std::string_view frameName = {};
};

struct PageLayout {
    std::string_view caption;
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    std::span<const form::Control> leading;  // before the settings in the tab order
    std::span<const Place> places;
    std::span<const form::Control> trailing;  // after them
    // A setting without a place gets a line below the last one in this frame (one of the
    // trailing controls), which grows by a line each, and the page with it.
    form::Rect growFrame;
    int nextLineTop = 0;  // inside growFrame
    int linePitch = 0;
};

// The page's form: its fixed controls and the controls of its settings, tab indexes in that
// order (frames last).
class PageForm {
  public:
    PageForm(SettingsPage page, const PageLayout& layout);
    PageForm(const PageForm&) = delete;
    PageForm& operator=(const PageForm&) = delete;

    const form::Form& Form() const { return form_; }

  private:
    void AddSetting(const SettingRow& row, const Place& place);
    form::Control& Add(form::Kind kind, int id, std::string name, std::string caption,
                       const form::Rect& rect);
    std::string_view Keep(std::string text);

    std::deque<std::string> texts_;  // the names and captions the controls point into
    std::vector<form::Control> controls_;
    std::vector<form::Control> frames_;
    form::Form form_;
};

}  // namespace horalia
