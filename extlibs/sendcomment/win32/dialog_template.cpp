#include "extlibs/sendcomment/win32/dialog_template.h"

namespace horalia::feedback {
namespace {

constexpr std::size_t kItemCountOffset = 4;  // in WORDs: after style and extended style

}  // namespace

DialogTemplate::DialogTemplate(const std::wstring& caption, DWORD style, short width, short height,
                               WORD fontPoints, const std::wstring& fontName) {
    AddDword(style | DS_SETFONT);
    AddDword(0);  // extended style
    AddWord(0);   // item count, raised by Add
    for (const short value : {short{0}, short{0}, width, height})
        AddWord(static_cast<WORD>(value));
    AddWord(0);  // no menu
    AddWord(0);  // the standard dialog class
    AddText(caption);
    AddWord(fontPoints);
    AddText(fontName);
}

void DialogTemplate::Add(const DialogItem& item) {
    AlignToDword();
    AddDword(item.style | WS_CHILD | WS_VISIBLE);
    AddDword(0);  // extended style
    for (const short value : {item.x, item.y, item.width, item.height})
        AddWord(static_cast<WORD>(value));
    AddWord(item.id);
    AddWord(0xFFFF);
    AddWord(static_cast<WORD>(item.controlClass));
    AddText(item.text);
    AddWord(0);  // no creation data
    ++words_[kItemCountOffset];
}

const DLGTEMPLATE* DialogTemplate::get() const {
    return reinterpret_cast<const DLGTEMPLATE*>(words_.data());
}

// Items start on a DWORD boundary relative to the template, whose storage new[] aligns.
void DialogTemplate::AlignToDword() {
    if (words_.size() % 2 != 0)
        AddWord(0);
}

void DialogTemplate::AddWord(WORD value) {
    words_.push_back(value);
}

void DialogTemplate::AddDword(DWORD value) {
    AddWord(LOWORD(value));
    AddWord(HIWORD(value));
}

void DialogTemplate::AddText(const std::wstring& text) {
    for (const wchar_t c : text)
        AddWord(static_cast<WORD>(c));
    AddWord(0);
}

}  // namespace horalia::feedback
