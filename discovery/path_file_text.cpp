#include "discovery/path_file_text.h"

namespace Discovery {
namespace {

constexpr char kEndOfText = 0x1A;

std::string TextModeBytes(std::string_view bytes)
{
    std::string text;
    text.reserve(bytes.size());
    for (size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == kEndOfText)
            break;
        if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
            continue;  // the LF that follows stands for the pair
        text += bytes[i];
    }
    return text;
}

bool IsContinuation(unsigned char byte, unsigned char low = 0x80, unsigned char high = 0xBF)
{
    return byte >= low && byte <= high;
}

// One code point from the front of `bytes`, or false for an invalid or incomplete sequence.
bool DecodeOne(std::string_view bytes, size_t& pos, char32_t& code)
{
    const auto at = [&](size_t i) { return static_cast<unsigned char>(bytes[i]); };
    const unsigned char lead = at(pos);
    size_t length = 0;
    unsigned char low = 0x80, high = 0xBF;  // allowed range of the second byte
    if (lead < 0x80) {
        code = lead;
        ++pos;
        return true;
    } else if (lead >= 0xC2 && lead <= 0xDF) {
        length = 2;
        code = lead & 0x1F;
    } else if (lead >= 0xE0 && lead <= 0xEF) {
        length = 3;
        code = lead & 0x0F;
        if (lead == 0xE0)
            low = 0xA0;  // no overlong forms
        if (lead == 0xED)
            high = 0x9F;  // no surrogates
    } else if (lead >= 0xF0 && lead <= 0xF4) {
        length = 4;
        code = lead & 0x07;
        if (lead == 0xF0)
            low = 0x90;
        if (lead == 0xF4)
            high = 0x8F;  // nothing above U+10FFFF
    } else {
        return false;
    }
    if (pos + length > bytes.size() || !IsContinuation(at(pos + 1), low, high))
        return false;
    for (size_t i = 1; i < length; ++i) {
        if (!IsContinuation(at(pos + i)))
            return false;
        code = (code << 6) | (at(pos + i) & 0x3F);
    }
    pos += length;
    return true;
}

}  // namespace

std::wstring DecodePathFileText(std::string_view bytes)
{
    const std::string text = TextModeBytes(bytes);
    std::wstring wide;
    wide.reserve(text.size());
    for (size_t pos = 0; pos < text.size();) {
        char32_t code = 0;
        if (!DecodeOne(text, pos, code))
            break;  // what came before the invalid sequence still counts
        if (code > 0xFFFF) {
            code -= 0x10000;
            wide += static_cast<wchar_t>(0xD800 + (code >> 10));
            wide += static_cast<wchar_t>(0xDC00 + (code & 0x3FF));
        } else {
            wide += static_cast<wchar_t>(code);
        }
    }

    // Editors add a byte-order mark or a final line break; no full path starts with U+FEFF or holds
    // CR or LF, so dropping them never changes a valid path.
    if (!wide.empty() && wide.front() == L'\uFEFF')
        wide.erase(0, 1);
    while (!wide.empty() && (wide.back() == L'\n' || wide.back() == L'\r'))
        wide.pop_back();
    return wide;
}

}  // namespace Discovery
