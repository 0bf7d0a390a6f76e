// One control of an in-memory dialog template.
#pragma once

#include <windows.h>

#include <string>

#include "ui/framework/dialog_units.h"

namespace Ui {

class CXDialogTemplate;

// Which push button becomes the default one; its id takes the initial focus.
struct ButtonDefaults {
    int buttonsAdded = 0;
    int defaultButtonNumber = 1;
    WORD defaultControlId = 1;
};

class CXDialogItem {
public:
    static constexpr WORD kButtonAtom = 0x0080;
    static constexpr WORD kStaticAtom = 0x0082;

    static constexpr DWORD kStaticStyle = WS_CHILD | WS_VISIBLE | SS_LEFT;
    static constexpr DWORD kButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_PUSHBUTTON;
    static constexpr DWORD kDefaultButtonStyle = WS_CHILD | WS_VISIBLE | WS_TABSTOP | BS_DEFPUSHBUTTON;

    CXDialogItem() = default;
    virtual ~CXDialogItem() = default;

    // Fills this item from a pixel rectangle, converted with the system's dialog base units. The caller
    // stores the item in the template's next free slot.
    void AddItem(CXDialogTemplate& dialogTemplate, WORD atom, WORD id, const RECT& rect, const wchar_t* text);
    // The same with the base units and the button bookkeeping given.
    void AddItem(ButtonDefaults& buttons, DialogBaseUnits units, WORD atom, WORD id, const RECT& rect,
                 const wchar_t* text);

    // Style bits beyond those of the control's kind, such as WS_TABSTOP for a static that takes the focus.
    void AddStyle(DWORD style) { m_header.style |= style; }

    // Laid out exactly as the system's item header, so it is copied into the template as one block.
    const DLGITEMTEMPLATE& Header() const { return m_header; }
    WORD Atom() const { return LOWORD(m_class); }
    const std::wstring& Text() const { return m_text; }

private:
    DLGITEMTEMPLATE m_header{};
    DWORD m_class = 0;
    std::wstring m_text;
};

static_assert(sizeof(DLGITEMTEMPLATE) == 18, "the system's item header is 18 bytes");

}  // namespace Ui
