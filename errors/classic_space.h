// White space as the classic C locale knows it: blank, tab, line feed, vertical tab, form feed, carriage return.
#pragma once

namespace Text {

inline bool IsClassicSpace(wchar_t unit)
{
    return unit == L' ' || (unit >= L'\t' && unit <= L'\r');
}

}  // namespace Text
