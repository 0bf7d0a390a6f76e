// COM initialised on the current thread for the life of a block; undone on that thread only.
#pragma once

#include <windows.h>

namespace System::Win32 {

class ComScope {
public:
    // Single-threaded apartment without OLE1 DDE. A failure is logged, not thrown: the block runs without COM.
    ComScope();
    // Balances a successful initialisation (S_FALSE included) when run on the creating thread.
    ~ComScope();

    ComScope(const ComScope&) = delete;
    ComScope& operator=(const ComScope&) = delete;
    ComScope(ComScope&&) = delete;
    ComScope& operator=(ComScope&&) = delete;

    HRESULT result() const { return result_; }

private:
    const HRESULT result_;
    const DWORD threadId_;
};

}  // namespace System::Win32
