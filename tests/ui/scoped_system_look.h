// What the system draws windows with, changed for a scope without saving it and put back afterwards.
// Every process that starts meanwhile sees the change too, so a test can make the system's colours and
// its message font tell apart what their defaults do not.
#pragma once

#include <windows.h>

#include <initializer_list>
#include <utility>
#include <vector>

namespace UiTest {

// The system's non-client metrics, its fonts among them.
NONCLIENTMETRICSW SystemNonClientMetrics();

class ScopedSystemColours {
public:
    // Pairs of COLOR_* index and colour.
    explicit ScopedSystemColours(std::initializer_list<std::pair<int, COLORREF>> colours);
    ~ScopedSystemColours();
    ScopedSystemColours(const ScopedSystemColours&) = delete;
    ScopedSystemColours& operator=(const ScopedSystemColours&) = delete;

    bool Applied() const { return m_applied; }

private:
    std::vector<int> m_indexes;
    std::vector<COLORREF> m_saved;
    bool m_applied = false;
};

class ScopedMessageFont {
public:
    // The message font of the non-client metrics becomes `font`; the other fonts stay.
    explicit ScopedMessageFont(const LOGFONTW& font);
    ~ScopedMessageFont();
    ScopedMessageFont(const ScopedMessageFont&) = delete;
    ScopedMessageFont& operator=(const ScopedMessageFont&) = delete;

    bool Applied() const { return m_applied; }

private:
    NONCLIENTMETRICSW m_saved;
    bool m_applied = false;
};

}  // namespace UiTest
