// A dialog held as an in-memory template: controls placed in pixels, assembled in the system's format
// and run modally. What the dialog shows and how it behaves belong to its caller and its procedure.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "ui/framework/dialog_item.h"

namespace Ui {

// What a dialog procedure tells the modal loop: `done` ends it, `result` is its answer.
struct ModalState {
    bool done = false;
    std::int32_t result = -1;
};

class CXDialogTemplate {
public:
    static constexpr std::size_t kMaxItems = 20;

    CXDialogTemplate() = default;
    virtual ~CXDialogTemplate() = default;

    CXDialogTemplate(const CXDialogTemplate&) = delete;
    CXDialogTemplate& operator=(const CXDialogTemplate&) = delete;

    // A control placed in pixels, in the next free slot, with `extraStyle` added to the style of its
    // kind; nothing once all slots are taken.
    void Add(WORD atom, WORD id, const RECT& rect, const wchar_t* text, DWORD extraStyle = 0);

    // The dialog window's style and size in dialog units; it sits at 0, 0 until its style or procedure
    // places it.
    void SetFrame(DWORD style, SIZE dialogUnits);

    // The default push button (the first one added, 1 while there is none): it takes the initial focus.
    WORD DefaultControlId() const { return m_buttons.defaultControlId; }

    // Creates the dialog, owned by `owner`, with `procedure`, which receives `parameter` with
    // WM_INITDIALOG, and pumps messages until the procedure sets `modal.done`; the owner is disabled
    // meanwhile. Returns `modal.result` as it stood before the dialog was destroyed (-1 when the window
    // could not be created, or a WM_QUIT ended the loop first), IDCANCEL when no memory was left.
    std::int32_t RunModal(HWND owner, const wchar_t* title, DLGPROC procedure, LPARAM parameter,
                          const ModalState& modal);

    ButtonDefaults& Buttons() { return m_buttons; }

private:
    std::array<std::unique_ptr<CXDialogItem>, kMaxItems> m_items;
    ButtonDefaults m_buttons;
    DLGTEMPLATE m_header{};
};

}  // namespace Ui
