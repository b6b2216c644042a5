#include "common/form/form.h"

#include <algorithm>
#include <cmath>

namespace horalia::form {

int TwipsToPixels(int twips, double dpi) {
    return static_cast<int>(std::lround(twips * dpi / kTwipsPerInch));
}

PixelRect ToPixels(const Rect& twips, double dpi) {
    // Edges are rounded, not the size, so that controls that touch in twips touch in pixels.
    const int left = TwipsToPixels(twips.left, dpi);
    const int top = TwipsToPixels(twips.top, dpi);
    return {left, top, TwipsToPixels(twips.left + twips.width, dpi) - left,
            TwipsToPixels(twips.top + twips.height, dpi) - top};
}

bool TakesFocus(Kind kind) {
    return kind != Kind::GroupBox && kind != Kind::Label;
}

std::vector<const Control*> CreationOrder(const Form& form) {
    std::vector<const Control*> order;
    for (const Control& control : form.controls) {
        order.push_back(&control);
    }
    std::stable_sort(order.begin(), order.end(),
                     [](const Control* a, const Control* b) { return a->tabIndex < b->tabIndex; });
    return order;
}

const Control* NamingLabel(const std::vector<const Control*>& order, std::size_t index) {
    const Control& control = *order[index];
    if (!TakesFocus(control.kind) || !control.caption.empty() || index == 0 ||
        order[index - 1]->kind != Kind::Label) {
        return nullptr;
    }
    return order[index - 1];
}

std::string AccessibleName(const std::vector<const Control*>& order, std::size_t index) {
    const Control& control = *order[index];
    if (!TakesFocus(control.kind)) {
        return {};
    }
    const Control* label = NamingLabel(order, index);
    const std::string_view text = !control.accessibleName.empty() ? control.accessibleName
                                  : label != nullptr              ? label->caption
                                                                  : control.caption;
    std::string name;
    for (const char c : text) {
        if (c != '&') {
            name += c;
        }
    }
    return name;
}

const Control* FindControl(const Form& form, int id) {
    const auto found = std::find_if(form.controls.begin(), form.controls.end(),
                                    [id](const Control& control) { return control.id == id; });
    return found == form.controls.end() ? nullptr : &*found;
}

}  // namespace horalia::form
