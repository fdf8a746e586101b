#pragma once

#include "host/ui/CTqUiPropertyGrid.h"

#include <array>

class CTQTimbering;

/// The property grid of both material dialogs: under "基本信息" the material type and the
/// material name, under "参数" dry density, conductivity and specific heat.
///
/// Conductivity and specific heat are shown with three decimals. A value the user has not edited
/// reads back as the number it was shown from, not as its rounded text, so looking at a material
/// or renaming it never changes its stored values.
class CTqUiStuffGrid : public CTqUiPropertyGrid
{
public:
    explicit CTqUiStuffGrid(QWidget* parent = nullptr);

    /// Fills the empty grid, both categories expanded: the type row bound to `typeName` (what is
    /// typed there goes straight into it), the name and the three values of `material`. With
    /// `readOnly` no row can be edited.
    void Draw(QString* typeName, const CTQTimbering& material, bool readOnly);

    /// Shows `typeName` in the type row.
    void ShowType(const QString& typeName);
    /// Shows the material's name and its three values.
    void ShowMaterial(const CTQTimbering& material);
    /// Copies the name row and the three value rows of "参数" (found by caption) into `material`.
    void ReadMaterial(CTQTimbering& material) const;

    /// Selects the type row, or the name row, for the user to correct it.
    void SelectType();
    void SelectName();

    /// The conductivity as it reads back now, W/(m·K), and whether the user typed it.
    double GetConductivity() const;
    bool IsConductivityEdited() const;

private:
    enum Value
    {
        Density,
        Conductivity,
        SpecificHeat,
        ValueCount
    };

    int ValueRow(Value value) const;
    double ReadValue(Value value) const;
    void OnValueChanged(int row);

    int m_nValueCategory = -1;
    std::array<double, ValueCount> m_Shown{}; ///< the numbers the value rows were last shown from
    std::array<bool, ValueCount> m_Edited{};  ///< the user typed into the row since
};
