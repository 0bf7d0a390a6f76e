// What a screen reader is told about the support link: the system's own description of the static,
// except that its role is a link, its state says so, and its default action opens it.
#pragma once

#include <windows.h>

namespace Ui {

// The answer to WM_GETOBJECT with OBJID_CLIENT for `link` (its `wParam` passed on); 0 when no object
// could be made, and the static's own answer applies.
LRESULT LinkAccessibleObject(HWND link, WPARAM wParam);

}  // namespace Ui
