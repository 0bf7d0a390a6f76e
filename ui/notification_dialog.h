// One notification laid out for the current display, held as an in-memory dialog template together
// with what its dialog procedure reads and changes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "ui/framework/dialog_template.h"
#include "ui/notification_dialog_state.h"
#include "ui/notification_options.h"

namespace Ui {

class NotificationDialog {
public:
    // Lays the dialog out for the current display: texts, fonts, icon, controls and the frame.
    NotificationDialog(HWND owner, const wchar_t* message, const wchar_t* title, const NotificationOptions& options);

    NotificationDialog(const NotificationDialog&) = delete;
    NotificationDialog& operator=(const NotificationDialog&) = delete;

    // Shows it modally: the id of the button that ended it, IDCANCEL when it was cancelled or no memory
    // was left for the template, -1 when the window could not be created.
    std::int32_t RunModal();

private:
    HWND m_owner;
    CXDialogTemplate m_template;
    NotificationDialogState m_state;
};

}  // namespace Ui
