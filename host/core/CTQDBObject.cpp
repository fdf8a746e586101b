#include "host/core/CTQDBObject.h"

#include <cstring>

CTQDBObject::CTQDBObject(const QString& name) : m_strName(name) {}

CTQDBObject::~CTQDBObject() = default;

const char* CTQDBObject::GetRuntimeClass() const
{
    return "CTQDBObject";
}

void CTQDBObject::Init()
{
    m_strName.clear();
}

QString CTQDBObject::ShowString() const
{
    return m_strName;
}

QString CTQDBObject::toTypeName() const
{
    return QString::fromLatin1(GetRuntimeClass());
}

CTQDBObject* CTQDBObject::Clone() const
{
    return new CTQDBObject(*this);
}

bool CTQDBObject::EqualData(const CTQDBObject& other) const
{
    return std::strcmp(GetRuntimeClass(), other.GetRuntimeClass()) == 0 && m_strName == other.m_strName;
}

bool CTQDBObject::Erase()
{
    if (!IsCanErased())
        return false;
    Erased();
    return true;
}

bool CTQDBObject::IsCanErased() const
{
    return true;
}

bool CTQDBObject::IsCanFree() const
{
    return true;
}

bool CTQDBObject::append(const CTQDBObject&)
{
    return false;
}

void CTQDBObject::OnTQDBEvent(int) {}

void CTQDBObject::NameChanged() {}

void CTQDBObject::Erased() {}

void CTQDBObject::SetName(const QString& name)
{
    if (m_strName == name)
        return;
    m_strName = name;
    NameChanged();
}
