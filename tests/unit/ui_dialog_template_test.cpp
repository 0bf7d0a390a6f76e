// The in-memory dialog template: item headers from AddItem and the serialised bytes.
#include <windows.h>

#include <gtest/gtest.h>

#include <cstddef>
#include <cstring>
#include <memory>
#include <string>
#include <vector>

#include "ui/framework/dialog_item.h"
#include "ui/framework/dialog_template_bytes.h"

namespace {

using Ui::ButtonDefaults;
using Ui::CXDialogItem;
using Ui::DialogBaseUnits;

constexpr DialogBaseUnits kUnits8x16{8, 16};

struct Bytes {
    std::vector<std::byte> data;

    template <class T>
    T Read(std::size_t offset) const
    {
        T value{};
        if (offset + sizeof(T) > data.size()) {
            ADD_FAILURE() << "read past the end of the template at " << offset;
            return value;
        }
        std::memcpy(&value, data.data() + offset, sizeof(T));
        return value;
    }
    WORD Word(std::size_t offset) const { return Read<WORD>(offset); }
    DWORD Dword(std::size_t offset) const { return Read<DWORD>(offset); }
    std::wstring Text(std::size_t offset) const
    {
        std::wstring text;
        for (; offset + 2 <= data.size() && Word(offset) != 0; offset += 2)
            text.push_back(static_cast<wchar_t>(Word(offset)));
        return text;
    }
};

Bytes Serialise(const DLGTEMPLATE& header, const std::wstring& title, const std::vector<const CXDialogItem*>& items)
{
    Bytes bytes;
    bytes.data.resize(Ui::DialogTemplateSize(title, items));
    Ui::WriteDialogTemplate(bytes.data.data(), header, title, items);
    return bytes;
}

std::unique_ptr<CXDialogItem> MakeItem(ButtonDefaults& buttons, WORD atom, WORD id, RECT rect, const wchar_t* text)
{
    auto item = std::make_unique<CXDialogItem>();
    item->AddItem(buttons, kUnits8x16, atom, id, rect, text);
    return item;
}

TEST(DialogTemplateBytes, HeaderPartIsTitleAndTwentyFourBytesRoundedUpToFour)
{
    const struct {
        std::size_t titleLength;
        std::size_t expected;
    } cases[] = {{0, 24}, {1, 28}, {2, 28}, {3, 32}, {17, 60}, {1023, 2072}};
    for (const auto& c : cases) {
        const std::wstring title(c.titleLength, L'T');
        EXPECT_EQ(Ui::DialogTemplateSize(title, {}), c.expected) << "title length " << c.titleLength;
    }
}

TEST(DialogTemplateBytes, HeaderHoldsStyleCountSizeEmptyMenuAndClassAndTitle)
{
    DLGTEMPLATE header{};
    header.style = 0x90C80880;
    header.cdit = 4;
    header.x = 0;
    header.y = 0;
    header.cx = 250;
    header.cy = 91;
    const Bytes bytes = Serialise(header, L"Tarvo Game Center", {});

    EXPECT_EQ(bytes.Dword(0), 0x90C80880u);
    EXPECT_EQ(bytes.Dword(4), 0u);
    EXPECT_EQ(bytes.Word(8), 4);
    EXPECT_EQ(bytes.Word(10), 0);
    EXPECT_EQ(bytes.Word(12), 0);
    EXPECT_EQ(bytes.Word(14), 250);
    EXPECT_EQ(bytes.Word(16), 91);
    EXPECT_EQ(bytes.Word(18), 0) << "menu";
    EXPECT_EQ(bytes.Word(20), 0) << "class";
    EXPECT_EQ(bytes.Text(22), L"Tarvo Game Center");
}

TEST(DialogTemplateBytes, TitleOfTwoThousandCharactersIsCutTo1023)
{
    std::wstring title;
    for (int i = 0; i < 2000; ++i)
        title.push_back(static_cast<wchar_t>(L'a' + i % 26));
    const Bytes bytes = Serialise(DLGTEMPLATE{}, title, {});

    EXPECT_EQ(bytes.data.size(), 2072u);
    EXPECT_EQ(bytes.Text(22), title.substr(0, 1023));
}

TEST(DialogTemplateBytes, ItemsStartOnFourByteBoundariesAndTheLastIsNotPadded)
{
    ButtonDefaults buttons;
    const auto a = MakeItem(buttons, CXDialogItem::kStaticAtom, 1001, RECT{16, 32, 216, 64}, L"abc");
    const auto b = MakeItem(buttons, CXDialogItem::kStaticAtom, 1000, RECT{24, 24, 58, 58}, nullptr);
    const auto c = MakeItem(buttons, CXDialogItem::kStaticAtom, 1002, RECT{64, 72, 160, 88}, L"abcde");
    const auto d = MakeItem(buttons, CXDialogItem::kButtonAtom, 23, RECT{100, 120, 188, 146}, L"abcdefg");
    const std::wstring title = L"Tarvo Game Center";  // 17 characters: header part 58, rounded 60
    const std::vector<const CXDialogItem*> items{a.get(), nullptr, b.get(), c.get(), d.get()};

    const Bytes bytes = Serialise(DLGTEMPLATE{}, title, items);

    ASSERT_EQ(bytes.data.size(), 60u + 32 + 28 + 36 + 40);
    const struct {
        std::size_t offset;
        const CXDialogItem* item;
        WORD atom;
        std::wstring text;
    } expected[] = {
        {60, a.get(), 0x0082, L"abc"},
        {92, b.get(), 0x0082, L""},
        {120, c.get(), 0x0082, L"abcde"},
        {156, d.get(), 0x0080, L"abcdefg"},
    };
    for (const auto& e : expected) {
        SCOPED_TRACE(e.offset);
        const DLGITEMTEMPLATE& header = e.item->Header();
        EXPECT_EQ(bytes.Dword(e.offset), header.style);
        EXPECT_EQ(bytes.Dword(e.offset + 4), 0u);
        EXPECT_EQ(static_cast<short>(bytes.Word(e.offset + 8)), header.x);
        EXPECT_EQ(static_cast<short>(bytes.Word(e.offset + 10)), header.y);
        EXPECT_EQ(static_cast<short>(bytes.Word(e.offset + 12)), header.cx);
        EXPECT_EQ(static_cast<short>(bytes.Word(e.offset + 14)), header.cy);
        EXPECT_EQ(bytes.Word(e.offset + 16), header.id);
        EXPECT_EQ(bytes.Word(e.offset + 18), 0xFFFF);
        EXPECT_EQ(bytes.Word(e.offset + 20), e.atom);
        EXPECT_EQ(bytes.Text(e.offset + 22), e.text);
        EXPECT_EQ(bytes.Word(e.offset + 24 + 2 * e.text.size()), 0) << "creation data";
    }
    EXPECT_EQ(bytes.data.size(), 156u + 26 + 2 * 7) << "the last item ends the buffer";
}

TEST(DialogItem, PixelsBecomeDialogUnitsWithTheBaseUnitsGiven)
{
    const struct {
        DialogBaseUnits units;
        RECT rect;
        short x, y, cx, cy;
    } cases[] = {
        {{8, 16}, {16, 32, 216, 64}, 8, 16, 100, 16},
        {{7, 16}, {16, 32, 216, 64}, 9, 16, 114, 16},  // MulDiv rounds: 64/7 = 9.14, 800/7 = 114.3
        {{7, 16}, {24, 24, 58, 58}, 14, 12, 19, 17},   // 96/7 = 13.7, 136/7 = 19.4
        {{9, 16}, {0, 0, 88, 26}, 0, 0, 39, 13},       // 352/9 = 39.1, 208/16 = 13
    };
    for (const auto& c : cases) {
        ButtonDefaults buttons;
        CXDialogItem item;
        item.AddItem(buttons, c.units, CXDialogItem::kStaticAtom, 1001, c.rect, L"x");
        EXPECT_EQ(item.Header().x, c.x);
        EXPECT_EQ(item.Header().y, c.y);
        EXPECT_EQ(item.Header().cx, c.cx);
        EXPECT_EQ(item.Header().cy, c.cy);
        EXPECT_EQ(item.Header().dwExtendedStyle, 0u);
        EXPECT_EQ(item.Header().id, 1001);
    }
}

TEST(DialogItem, FirstButtonIsTheDefaultAndTakesTheFocusLaterButtonsArePlain)
{
    ButtonDefaults buttons;
    const auto icon = MakeItem(buttons, CXDialogItem::kStaticAtom, 1000, RECT{}, nullptr);
    const auto text = MakeItem(buttons, CXDialogItem::kStaticAtom, 1001, RECT{}, L"Message");
    EXPECT_EQ(buttons.defaultControlId, 1) << "statics do not change the default control";
    const auto first = MakeItem(buttons, CXDialogItem::kButtonAtom, 23, RECT{}, L"A");
    const auto second = MakeItem(buttons, CXDialogItem::kButtonAtom, 24, RECT{}, L"B");
    const auto third = MakeItem(buttons, CXDialogItem::kButtonAtom, 25, RECT{}, L"C");

    EXPECT_EQ(icon->Header().style, 0x50000000u);
    EXPECT_EQ(text->Header().style, 0x50000000u);
    EXPECT_EQ(first->Header().style, 0x50010001u);
    EXPECT_EQ(second->Header().style, 0x50010000u);
    EXPECT_EQ(third->Header().style, 0x50010000u);
    EXPECT_EQ(buttons.buttonsAdded, 3);
    EXPECT_EQ(buttons.defaultControlId, 23);
    EXPECT_EQ(icon->Text(), L"");
    EXPECT_EQ(third->Atom(), 0x0080);
}

}  // namespace
