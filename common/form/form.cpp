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

const Control* FindControl(const Form& form, int id) {
    const auto found = std::find_if(form.controls.begin(), form.controls.end(),
                                    [id](const Control& control) { return control.id == id; });
    return found == form.controls.end() ? nullptr : &*found;
}

}  // namespace horalia::form
