#include "ui/framework/dialog_template_bytes.h"

#include <algorithm>
#include <cstring>

namespace Ui {

namespace {

constexpr std::size_t kHeaderBytes = sizeof(DLGTEMPLATE);          // 18
constexpr std::size_t kItemHeaderBytes = sizeof(DLGITEMTEMPLATE);  // 18

std::size_t RoundUpTo4(std::size_t n)
{
    return (n + 3) & ~std::size_t{3};
}

std::wstring_view CutTitle(std::wstring_view title)
{
    return title.substr(0, std::min(title.size(), kMaxDialogTitleChars));
}

// Header, empty menu and class words, title and its NUL.
std::size_t HeaderPartBytes(std::wstring_view title)
{
    return kHeaderBytes + 2 + 2 + 2 * (title.size() + 1);
}

// Item header, 0xFFFF and the atom, text and its NUL, creation-data size.
std::size_t ItemBytes(const CXDialogItem& item)
{
    return kItemHeaderBytes + 2 + 2 + 2 * (item.Text().size() + 1) + 2;
}

std::byte* PutWord(std::byte* at, WORD value)
{
    std::memcpy(at, &value, sizeof(value));
    return at + sizeof(value);
}

std::byte* PutText(std::byte* at, std::wstring_view text)
{
    static_assert(sizeof(wchar_t) == 2, "template texts are UTF-16");
    std::memcpy(at, text.data(), text.size() * 2);
    return PutWord(at + text.size() * 2, 0);
}

}  // namespace

std::size_t DialogTemplateSize(std::wstring_view title, std::span<const CXDialogItem* const> items)
{
    std::size_t size = RoundUpTo4(HeaderPartBytes(CutTitle(title)));
    const CXDialogItem* last = nullptr;
    for (const CXDialogItem* item : items) {
        if (item != nullptr)
            last = item;
    }
    for (const CXDialogItem* item : items) {
        if (item == nullptr)
            continue;
        // Every item but the last is padded so that the next one starts on a 4-byte boundary.
        size += item == last ? ItemBytes(*item) : RoundUpTo4(ItemBytes(*item));
    }
    return size;
}

void WriteDialogTemplate(std::byte* out, const DLGTEMPLATE& header, std::wstring_view title,
                         std::span<const CXDialogItem* const> items)
{
    std::memcpy(out, &header, kHeaderBytes);
    std::byte* at = out + kHeaderBytes;
    at = PutWord(at, 0);  // no menu
    at = PutWord(at, 0);  // the default dialog class
    at = PutText(at, CutTitle(title));

    std::size_t offset = static_cast<std::size_t>(at - out);
    for (const CXDialogItem* item : items) {
        if (item == nullptr)
            continue;
        offset = RoundUpTo4(offset);
        at = out + offset;
        std::memcpy(at, &item->Header(), kItemHeaderBytes);
        at += kItemHeaderBytes;
        at = PutWord(at, 0xFFFF);  // the class follows as an atom
        at = PutWord(at, item->Atom());
        at = PutText(at, item->Text());
        at = PutWord(at, 0);  // no creation data
        offset = static_cast<std::size_t>(at - out);
    }
}

}  // namespace Ui
