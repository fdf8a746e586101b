#pragma once

#include "host/core/CTQDataDir.h"
#include "host/TQHostExport.h"

/// The host's environment; the system uses it as the installation's data folder.
class TQHOST_EXPORT CTQEnviroment : public CTQDataDir
{
public:
    static CTQEnviroment* GetEnviroment();

private:
    CTQEnviroment() = default;
};
