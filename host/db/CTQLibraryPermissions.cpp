#include "host/db/CTQLibraryPermissions.h"

CTQLibraryPermissions CTQLibraryPermissions::None()
{
    CTQLibraryPermissions none;
    none.bMayChangeTypes = false;
    none.bMayChangeConstructions = false;
    none.bMayChangeMaterials = false;
    return none;
}

bool CTQLibraryPermissions::MayChangeConstruction(int provinceId, int commonFlag) const
{
    return ConstructionRefusal(provinceId, commonFlag).isEmpty();
}

QString CTQLibraryPermissions::ConstructionRefusal(int provinceId, int commonFlag) const
{
    if (!bMayChangeConstructions)
        return RefusedText();
    if (bOnlyProvincial && (provinceId == 0 || commonFlag != 0))
        return QStringLiteral("没有修改全国或常用围护结构的权限，只能修改各省的非常用围护结构");
    return {};
}

QString CTQLibraryPermissions::TypeRefusal() const
{
    return bMayChangeTypes ? QString() : QStringLiteral("没有修改围护结构类型的权限");
}

QString CTQLibraryPermissions::MaterialRefusal() const
{
    return bMayChangeMaterials ? QString() : QStringLiteral("没有修改材质库的权限");
}

QString CTQLibraryPermissions::RefusedText()
{
    return QStringLiteral("没有修改围护结构库的权限");
}
