#include "log/log_line.h"

namespace Log {

std::wstring hex32(unsigned long value)
{
    constexpr wchar_t kDigits[] = L"0123456789ABCDEF";
    std::wstring text = L"0x00000000";
    for (int index = 9; index >= 2; --index, value >>= 4)
        text[index] = kDigits[value & 0xF];
    return text;
}

}  // namespace Log
