// A notification dialog held as an in-memory template: laid out on construction, shown by RunModal.
#pragma once

#include <windows.h>

#include <array>
#include <cstdint>
#include <memory>

#include "ui/framework/dialog_item.h"
#include "ui/notification_dialog_state.h"
#include "ui/notification_options.h"

namespace Ui {

class CXDialogTemplate {
public:
    static constexpr std::size_t kMaxItems = 20;

    // Lays the dialog out for the current display and fills the items and the template header.
    CXDialogTemplate(HWND owner, const wchar_t* message, const wchar_t* title, const NotificationOptions& options);
    virtual ~CXDialogTemplate() = default;

    CXDialogTemplate(const CXDialogTemplate&) = delete;
    CXDialogTemplate& operator=(const CXDialogTemplate&) = delete;

    // Creates the dialog and runs its modal loop: the id of the button that ended it, 2 when it was
    // cancelled or no memory was left for the template, -1 when the window could not be created.
    std::int32_t RunModal();

    ButtonDefaults& Buttons() { return m_buttons; }
    NotificationDialogState& State() { return m_state; }

private:
    void Add(WORD atom, WORD id, const RECT& rect, const wchar_t* text);

    HWND m_owner;
    std::array<std::unique_ptr<CXDialogItem>, kMaxItems> m_items;
    ButtonDefaults m_buttons;
    DLGTEMPLATE m_header{};
    NotificationDialogState m_state;
};

}  // namespace Ui
