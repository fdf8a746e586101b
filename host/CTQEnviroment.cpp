#include "host/CTQEnviroment.h"

CTQEnviroment* CTQEnviroment::GetEnviroment()
{
    static CTQEnviroment instance;
    return &instance;
}
