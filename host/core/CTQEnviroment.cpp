#include "host/core/CTQEnviroment.h"

CTQEnviroment* CTQEnviroment::GetEnviroment()
{
    static CTQEnviroment instance;
    return &instance;
}
