#pragma once

#include "host/core/CTQObject.h"
#include "host/TQHostExport.h"

/// A named object of the wall-data component's database side.
class TQHOST_EXPORT CTQDBObject : public CTQObject
{
public:
    CTQDBObject() = default;
    explicit CTQDBObject(const QString& name);
    CTQDBObject(const CTQDBObject&) = default;
    CTQDBObject& operator=(const CTQDBObject&) = default;
    ~CTQDBObject() override;

    const char* GetRuntimeClass() const override;
    void Init() override;
    QString ShowString() const override;

    /// Kind of object, as a person reads it.
    virtual QString toTypeName() const;
    /// A new copy of the object; the caller owns it.
    virtual CTQDBObject* Clone() const;
    /// Same kind and same values.
    virtual bool EqualData(const CTQDBObject& other) const;
    virtual bool Erase();
    virtual bool IsCanErased() const;
    virtual bool IsCanFree() const;
    virtual bool append(const CTQDBObject& other);
    virtual void OnTQDBEvent(int event);
    virtual void NameChanged();
    virtual void Erased();

    const QString& GetName() const { return m_strName; }
    void SetName(const QString& name);

private:
    QString m_strName;
};
