// An in-memory dialog template, so the feedback window needs no resource script.
#pragma once

#include <windows.h>

#include <string>
#include <vector>

namespace horalia::feedback {

// Standard control classes, by their predefined atoms.
enum class ControlClass : WORD { kButton = 0x0080, kEdit = 0x0081, kStatic = 0x0082 };

struct DialogItem {
    ControlClass controlClass;
    std::wstring text;
    WORD id;
    DWORD style;
    short x, y, width, height;  // dialog units
};

class DialogTemplate {
  public:
    // A DS_SETFONT dialog: the caption and font are part of the template.
    DialogTemplate(const std::wstring& caption, DWORD style, short width, short height,
                   WORD fontPoints, const std::wstring& fontName);
    void Add(const DialogItem& item);
    const DLGTEMPLATE* get() const;

  private:
    void AlignToDword();
    void AddWord(WORD value);
    void AddDword(DWORD value);
    void AddText(const std::wstring& text);

    std::vector<WORD> words_;
};

}  // namespace horalia::feedback
