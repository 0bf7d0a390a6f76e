// What the dialog procedure of a shown notification reads and changes.
#pragma once

#include <windows.h>

#include <cstdint>

#include "libraries/system/win32/unique_resource.h"
#include "ui/framework/dialog_template.h"
#include "ui/text_buffer.h"

namespace Ui {

struct NotificationDialogState {
    TextBuffer message;
    TextBuffer title;
    TextBuffer actionCaption;
    TextBuffer actionTarget;
    TextBuffer supportCaption;
    TextBuffer supportTarget;

    RECT messageRect{};
    RECT supportRect{};  // empty without a support link

    WORD defaultControlId = 1;  // the default push button: it takes the focus
    WORD lastStaticId = 0;
    WORD actionId = 0;   // 0 without an action button
    WORD supportId = 0;  // 0 without a support link
    bool actionIsButton = false;

    System::Win32::UniqueIcon icon;
    System::Win32::UniqueGdiObject messageFont;
    System::Win32::UniqueGdiObject linkFont;
    System::Win32::UniqueGdiObject windowBrush;

    bool visited = false;  // an address was opened: the link turns purple
    bool pressed = false;  // the left button went down over the link
    ModalState modal;      // ends the modal loop, with the id of the button that ended it
};

}  // namespace Ui
