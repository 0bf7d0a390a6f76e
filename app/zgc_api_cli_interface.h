// The operations the entry point can ask of the launcher client. The slot order is fixed: destructor,
// Open, Update, VerifyIntegrity, Uninstall, ChangeClientType, Install.
#pragma once

#include "errors/result_codes.h"

namespace ZGC {

class IZGCApiCli {
public:
    virtual ~IZGCApiCli() = default;
    virtual ResultCode Open() = 0;
    virtual ResultCode Update() = 0;
    virtual ResultCode VerifyIntegrity() = 0;
    virtual ResultCode Uninstall() = 0;
    virtual ResultCode ChangeClientType(const wchar_t* type) = 0;
    virtual ResultCode Install(const wchar_t* argument) = 0;
};

}  // namespace ZGC
