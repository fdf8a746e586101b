#pragma once

#include "TQWallExport.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"

#include <QDialog>

#include <memory>

class CTqUiStuffGrid;
class QLineEdit;

namespace Ui {
class CTqUiStuffInfoDlg;
}

/// The material editor ("材质信息"): one material's type, name, dry density, conductivity and
/// specific heat in a property grid. The caller sets m_nMode (1 add, 2 modify) and copies of the
/// current type, province and (to modify) material, runs the dialog with DoModal and, when
/// m_bChanged is 1, takes back m_Type and m_Timbering.
///
/// "确定" stores the type and then the material at once; a refused or failed write shows why and
/// leaves the dialog open with the user's input.
class TQWALL_EXPORT CTqUiStuffInfoDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTqUiStuffInfoDlg(QWidget* parent = nullptr);
    ~CTqUiStuffInfoDlg() override;

    /// Runs the dialog modally with this library's resources; QDialog::Accepted (1) after a save.
    virtual int DoModal();

    /// The window content is built when the window is first shown.
    void setVisible(bool visible) override;
    /// "确定" and Enter: the save, through OnOK.
    void accept() override;

    int m_nMode = 1;              ///< 1 add a material, 2 modify m_Timbering
    int m_bChanged = 0;           ///< 1 once a type or material row was written
    CTQWallProvince m_Province;   ///< province a new material is stored for; ID 0: national
    CTQTimberingType m_Type;      ///< the material's type; its Name is edited in the grid
    CTQTimbering m_Timbering;     ///< the material; ID 0 in add mode

protected:
    /// Builds the grid from the records and sets title and button by mode; returns 1.
    virtual int OnInitDialog();
    /// Checks the names and stores type and material; closes the dialog when both are stored.
    virtual void OnOK();

private:
    void DrawUI();
    void ShowUIData();
    /// Trims both names; 0 (after saying which) when one of them is empty.
    int CheckData();
    /// The add-mode writes; true when the material was stored.
    bool SaveNew();
    /// The modify-mode writes; true when the material was stored.
    bool SaveChanged();
    /// Refuses a material name the province already has, naming the type of the stored one.
    void ShowNameTaken();
    /// A conductivity of 0 or less is stored as typed, but no construction using it can be
    /// evaluated: a line below the grid says so while a stored or typed value is such.
    void UpdateWarning();

    std::unique_ptr<Ui::CTqUiStuffInfoDlg> m_ui;
    CTqUiStuffGrid* m_pGrid = nullptr;
    QLineEdit* m_pVapourEdit = nullptr; ///< μ in g/(m·h·Pa); empty: no vapour data
    bool m_bWindowBuilt = false;
};
