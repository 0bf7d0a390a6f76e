#include "ui/notification_dialog.h"

#include <optional>

#include "libraries/system/win32/unique_resource.h"
#include "ui/gdi_text_measure.h"
#include "ui/notification_dialog_proc.h"
#include "ui/notification_layout.h"

namespace Ui {

namespace {

constexpr DWORD kDialogStyle = WS_POPUP | WS_VISIBLE | WS_CAPTION | WS_SYSMENU | DS_CENTER | DS_MODALFRAME;
static_assert(kDialogStyle == 0x90C80880);

std::optional<SIZE> ErrorIconSize(HICON icon)
{
    if (icon == nullptr)
        return std::nullopt;
    return SIZE{::GetSystemMetrics(SM_CXICON), ::GetSystemMetrics(SM_CYICON)};
}

}  // namespace

NotificationDialog::NotificationDialog(HWND owner, const wchar_t* message, const wchar_t* title,
                                       const NotificationOptions& options)
    : m_owner(owner)
{
    const DialogBaseUnits units = LayoutBaseUnits(owner);
    m_state.windowBrush.reset(::CreateSolidBrush(::GetSysColor(COLOR_WINDOW)));

    m_state.message = CopyToTextBuffer(message);
    m_state.title = CopyToTextBuffer(title);
    m_state.actionCaption = CopyToTextBuffer(options.actionCaption);
    m_state.actionTarget = CopyToTextBuffer(options.actionTarget);
    m_state.supportCaption = CopyToTextBuffer(options.supportCaption);
    m_state.supportTarget = CopyToTextBuffer(options.supportTarget);

    System::Win32::UniqueDeviceContext display(::CreateDCW(L"DISPLAY", nullptr, nullptr, nullptr));
    LOGFONTW font = MessageLogFont();
    m_state.messageFont.reset(::CreateFontIndirectW(&font));
    if (m_state.supportCaption) {
        font.lfUnderline = TRUE;
        m_state.linkFont.reset(::CreateFontIndirectW(&font));
    }
    m_state.icon.reset(::LoadIconW(nullptr, IDI_ERROR));

    const DisplayMetrics metrics{units, ::GetSystemMetrics(SM_CXSCREEN), ::GetSystemMetrics(SM_CXICON),
                                 ErrorIconSize(m_state.icon.get())};
    GdiTextMeasure measure(display.get(), static_cast<HFONT>(m_state.messageFont.get()),
                           static_cast<HFONT>(m_state.linkFont.get()));
    // The layout sees the buffered texts, so what is measured is what is shown.
    NotificationOptions buffered{};
    buffered.buttons = options.buttons;
    buffered.actionCaption = m_state.actionCaption.get();
    buffered.supportCaption = m_state.supportCaption.get();
    const NotificationLayout layout =
        LayOutNotification(m_state.message ? m_state.message.get() : L"", buffered, metrics, measure);

    for (const LayoutControl& control : layout.controls)
        m_template.Add(control.atom, control.id, control.rect, control.text.c_str(), control.extraStyle);
    m_template.SetFrame(kDialogStyle, layout.dialogUnits);

    m_state.messageRect = layout.messageRect;
    if (layout.supportRect)
        m_state.supportRect = *layout.supportRect;
    m_state.lastStaticId = layout.lastStaticId;
    m_state.actionId = layout.actionId;
    m_state.actionIsButton = layout.actionId != 0;
    m_state.supportId = layout.supportId;
    m_state.defaultControlId = m_template.DefaultControlId();
}

std::int32_t NotificationDialog::RunModal()
{
    return m_template.RunModal(m_owner, m_state.title.get(), NotificationDialogProc, reinterpret_cast<LPARAM>(&m_state),
                               m_state.modal);
}

}  // namespace Ui
