// What every display test shares: the address recorder as the system's browser, and where things go.
#pragma once

#include <string>
#include <vector>

#include "scoped_registry_value.h"

namespace UiTest {

// For a scope, the https handler is the recorder in the mode that also writes down, into `parentLog`,
// which process started it.
ScopedRegistryValue RecordOpensWithTheirParent(const std::wstring& parentLog);

// Addresses the recorder was asked to open since the last ForgetOpenedAddresses, in order.
std::vector<std::string> OpenedAddresses();
void ForgetOpenedAddresses();
// Waits until at least `count` addresses were recorded (or the time is up) and returns them.
std::vector<std::string> WaitForOpenedAddresses(size_t count, unsigned long timeoutMs);

// Whether the fallback browser of Wine was tried (it must never be).
bool BrowserWasTried();

// <build>\screenshots\<name>.bmp (turned into PNG files after the run).
std::wstring ScreenshotPath(const std::wstring& name);

}  // namespace UiTest
