// The system's standard (non-extended) in-memory dialog template, written from a header and items.
// Pure: no window is involved, so the bytes can be checked anywhere.
#pragma once

#include <windows.h>

#include <cstddef>
#include <span>
#include <string_view>

#include "ui/framework/dialog_item.h"

namespace Ui {

// Longer titles are cut to this many characters.
constexpr std::size_t kMaxDialogTitleChars = 1023;

// Bytes needed for the template; null slots are skipped.
std::size_t DialogTemplateSize(std::wstring_view title, std::span<const CXDialogItem* const> items);

// Writes the template into `out`, which holds DialogTemplateSize bytes and is zero-filled.
void WriteDialogTemplate(std::byte* out, const DLGTEMPLATE& header, std::wstring_view title,
                         std::span<const CXDialogItem* const> items);

}  // namespace Ui
