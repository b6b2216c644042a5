// A window described as data: its controls with kind, name, caption, rectangle in twips, tab
// order, tooltip, colour and cursor. Each toolkit has one builder that makes real windows from
// such a table (common/form/win32, common/form/qt), so a form's layout is written once, in the
// core, beside its presenter. The model and builders sit in common/ so that the two external
// libraries can describe their windows the same way.
#pragma once

#include <cstdint>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

namespace horalia::form {

// TextBox is a multi-line text; EditBox a one-line entry; Slider a horizontal track of whole
// numbers from minimum to maximum.
enum class Kind {
    PushButton,
    OptionButton,
    CheckBox,
    GroupBox,
    Label,
    TextBox,
    EditBox,
    Slider,
    Browser,
    HotkeyBox,  // shows a key combination and takes the one the person presses
    Link        // text that acts as a button: a Tab stop, opened with a click, Enter or Space
};
enum class Cursor { Arrow, Hand };

// Twips, relative to the form's client area.
struct Rect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const Rect&) const = default;
};

struct Rgb {
    std::uint8_t red = 0;
    std::uint8_t green = 0;
    std::uint8_t blue = 0;
};

struct Control {
    Kind kind = Kind::Label;
    std::string_view name;     // the control's name in the design, e.g. "Option_报时设置_1"
    std::string_view caption;  // UTF-8; "&" marks the access key
    Rect rect;
    int id = 0;                // the number the form's events carry
    int tabIndex = 0;          // position in the Tab order (frames and labels take no focus)
    int optionGroup = 0;       // option buttons of one array share a number above 0
    std::string_view toolTip;  // empty: none
    // What a screen reader calls a control that has no caption of its own and no label just
    // before it in the tab order (which names it otherwise).
    std::string_view accessibleName;
    std::optional<Rgb> textColour;
    Cursor cursor = Cursor::Arrow;
    bool isDefault = false;  // the button Enter presses
    bool enabled = true;
    int minimum = 0;  // a slider's range
    int maximum = 0;
};

// A control with the members every control has; the rest keep their defaults. (GCC 12 warns of
// designated initializers that leave members out, so tables start from this.)
constexpr Control MakeControl(Kind kind, int id, std::string_view name, std::string_view caption,
                              const Rect& rect, int tabIndex) {
    Control control;
    control.kind = kind;
    control.id = id;
    control.name = name;
    control.caption = caption;
    control.rect = rect;
    control.tabIndex = tabIndex;
    return control;
}

struct Form {
    std::string_view caption;
    int clientWidth = 0;  // twips
    int clientHeight = 0;
    double fontPoints = 8.25;
    std::span<const Control> controls;
};

inline constexpr int kTwipsPerInch = 1440;

// Twips to pixels at the given dots per inch, rounded to the nearest pixel.
int TwipsToPixels(int twips, double dpi);

struct PixelRect {
    int left = 0;
    int top = 0;
    int width = 0;
    int height = 0;
    bool operator==(const PixelRect&) const = default;
};
PixelRect ToPixels(const Rect& twips, double dpi);

// Whether the control takes the keyboard focus (a Tab stop).
bool TakesFocus(Kind kind);

// The controls by tab index: the order in which a builder creates them.
std::vector<const Control*> CreationOrder(const Form& form);

// A rectangle given relative to a frame, made relative to the frame's client area.
constexpr Rect Inside(const Rect& frame, const Rect& child) {
    return {frame.left + child.left, frame.top + child.top, child.width, child.height};
}

// The label that names a focusable control without a caption: the one created just before it.
// nullptr when the control has a caption or another control comes between.
const Control* NamingLabel(const std::vector<const Control*>& order, std::size_t index);

// What a screen reader calls the control at `index` of the creation order: its explicit name,
// its own caption or its label's, without access-key marks; empty for a control that takes no
// focus.
std::string AccessibleName(const std::vector<const Control*>& order, std::size_t index);

// The control with this id, or nullptr.
const Control* FindControl(const Form& form, int id);

}  // namespace horalia::form
