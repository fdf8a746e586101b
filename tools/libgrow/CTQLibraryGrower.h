#pragma once

#include <QList>
#include <QString>

#include <random>

class CADODatabase;

/// Grows a library for measurements of scale: generated constructions of 3 to 7 layers, spread
/// over the types and provinces the library holds and made of its national materials, each with
/// its layer set. The rows are written in one transaction with prepared statements; the same
/// seed grows the same library.
class CTQLibraryGrower
{
public:
    explicit CTQLibraryGrower(CADODatabase* database, unsigned int seed = 14);

    /// Adds constructions until the library holds `total` of them. False with GetErrorText()
    /// set when it cannot; nothing is added then.
    bool GrowTo(int total);
    /// Constructions the library holds; −1 when they cannot be counted.
    int CountConstructions();
    const QString& GetErrorText() const { return m_strError; }

private:
    bool ReadIds(const QString& sql, QList<int>& ids);
    bool AddConstructions(int first, int count);
    bool Fail(const QString& what);

    CADODatabase* m_pDatabase;
    std::mt19937 m_Random;
    QString m_strError;
    QList<int> m_Types;
    QList<int> m_Provinces;
    QList<int> m_Materials;
};
