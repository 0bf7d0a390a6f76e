// The one piece of ATL this program needs: the exception that carries an HRESULT (out of memory).
#pragma once

#include <windows.h>

namespace ATL {

class CAtlException {
public:
    explicit CAtlException(HRESULT hr) : m_hr(hr) {}
    operator HRESULT() const { return m_hr; }

    HRESULT m_hr;
};

}  // namespace ATL
