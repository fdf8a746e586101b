#include "host/core/CTQObject.h"

const char* CTQObject::GetRuntimeClass() const
{
    return "CTQObject";
}

CTQObject::~CTQObject() = default;

void CTQObject::Serialize() {}

void CTQObject::AssertValid() const {}

void CTQObject::Dump() const {}

void CTQObject::Init() {}

QString CTQObject::ShowString() const
{
    return QString::fromLatin1(GetRuntimeClass());
}

QString CTQObject::GetPostionString() const
{
    return {};
}
