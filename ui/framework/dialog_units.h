// Dialog base units: the pixels behind 4 horizontal and 8 vertical dialog units.
#pragma once

#include <windows.h>

namespace Ui {

struct DialogBaseUnits {
    int x;
    int y;
};

// The low and high words of GetDialogBaseUnits, as signed 16-bit values.
inline DialogBaseUnits SplitDialogBaseUnits(LONG packed)
{
    return {static_cast<SHORT>(LOWORD(packed)), static_cast<SHORT>(HIWORD(packed))};
}

}  // namespace Ui
