#pragma once

#include "host/walldata/CTQWallData.h"

#include <QList>
#include <QString>

/// One wall of the building: its name and its wall data (surface coefficients, construction,
/// layers and results).
struct CTQHostWall
{
    QString name;
    CTQWallData wall;
};

/// The walls of a building, kept in a small JSON project file. A wall keeps its own copy of its
/// construction's layers, so a project reads back the same numbers even after the library
/// changed; the results are computed again on loading.
class CTQHostProject
{
public:
    /// A new project with a few example walls; constructions are taken from the open library
    /// by name where it holds them.
    static CTQHostProject MakeExample();

    /// False with `error` set when the file cannot be read or is no project; the project is
    /// then unchanged.
    bool Load(const QString& path, QString* error);
    bool Save(const QString& path, QString* error) const;

    QList<CTQHostWall> walls;
};
