// What one notification dialog shows besides its message. Zero-initialise it and set what applies;
// the texts belong to the caller and are only read.
#pragma once

namespace Ui {

struct NotificationOptions {
    const wchar_t* buttons;         // push-button captions separated by line feeds; may be empty
    const wchar_t* actionCaption;   // appended to the button row when present
    const wchar_t* actionTarget;    // address opened by the action button
    const wchar_t* supportCaption;  // caption of the support link
    const wchar_t* supportTarget;   // address opened by the support link
};

}  // namespace Ui
