#include "ui/framework/dialog_item.h"

#include "ui/framework/dialog_template.h"

namespace Ui {

void CXDialogItem::AddItem(CXDialogTemplate& dialogTemplate, WORD atom, WORD id, const RECT& rect, const wchar_t* text)
{
    AddItem(dialogTemplate.Buttons(), SplitDialogBaseUnits(::GetDialogBaseUnits()), atom, id, rect, text);
}

void CXDialogItem::AddItem(ButtonDefaults& buttons, DialogBaseUnits units, WORD atom, WORD id, const RECT& rect,
                           const wchar_t* text)
{
    m_class = atom;
    m_header.x = static_cast<short>(::MulDiv(rect.left, 4, units.x));
    m_header.y = static_cast<short>(::MulDiv(rect.top, 8, units.y));
    m_header.cx = static_cast<short>(::MulDiv(rect.right - rect.left, 4, units.x));
    m_header.cy = static_cast<short>(::MulDiv(rect.bottom - rect.top, 8, units.y));
    m_header.dwExtendedStyle = 0;
    m_header.id = id;

    if (atom == kButtonAtom) {
        ++buttons.buttonsAdded;
        if (buttons.buttonsAdded == buttons.defaultButtonNumber) {
            m_header.style = kDefaultButtonStyle;
            buttons.defaultControlId = id;
        } else {
            m_header.style = kButtonStyle;
        }
    } else {
        m_header.style = kStaticStyle;
    }

    m_text = text != nullptr ? text : L"";
}

}  // namespace Ui
