#pragma once

#include "TQWallExport.h"
#include "host/ui/stuMenuItem.h"
#include "library/CTQBSDataAdmin.h"
#include "records/CTQTimbering.h"
#include "records/CTQTimberingType.h"
#include "records/CTQWallProvince.h"

#include <QDialog>

#include <memory>

class CTQMateralData;
class CTqUiLibraryTree;
class CTqUiStuffGrid;
class QPushButton;
class QTreeWidgetItem;

namespace Ui {
class CTqUiStuffListDlg;
}

/// The material library ("材质管理"): the materials as a tree of all, common and per-province
/// materials by type, the selected material's values, and the actions that add, modify, delete
/// and mark materials. The caller may preset m_Type and m_Timbering (by name, or read by ID);
/// the dialog opens on them. With AttachData it is a choice: OK then hands the selected material
/// to the caller's object and refuses while no material is selected.
///
/// Every change is stored at once; the tree is then rebuilt from the library and the changed
/// material selected again by its names.
class TQWALL_EXPORT CTqUiStuffListDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTqUiStuffListDlg(QWidget* parent = nullptr);
    ~CTqUiStuffListDlg() override;

    /// Runs the dialog modally with this library's resources; QDialog::Accepted (1) for OK.
    virtual int DoModal();

    /// Choose mode: OK hands the selected material to `p` (not owned).
    void AttachData(CTQMateralData* p);
    /// Sets on `p`, in this order, the material's name, ID, density, specific heat, conductivity
    /// and common flag; province and type are not handed over.
    void GetData(CTQMateralData* p);

    /// The window content is built when the window is first shown.
    void setVisible(bool visible) override;
    /// OK: ends the dialog through OnOK.
    void accept() override;
    /// Ends the dialog and frees the material tree.
    void done(int result) override;

    CTQWallProvince m_Province;              ///< province of the selection; ID 0 outside "所有省份"
    CTQTimberingType m_Type;                 ///< material type of the selection
    CTQTimbering m_Timbering;                ///< material of the selection; ID 0: none
    int m_bCommon = 0;                       ///< the selection lies in "常用材质"
    CTQMateralData* m_pMateralData = nullptr; ///< the caller's object in choose mode; null: browse mode
    CTQBSDataAdmin m_BSDataAdmin;            ///< the dialog's own library manager

protected:
    /// Builds the window content and selects the preset material; returns 1.
    virtual int OnInitDialog();
    /// Hands the selected material over (choose mode) and ends the dialog with OK.
    virtual void OnOK();

    void OnBtnAdd();
    void OnBtnModify();
    void OnBtnDel();
    void OnSetCommonFlag();
    /// "使用情况": the constructions made of the chosen material.
    void OnBtnUsage();
    /// Follows the tree selection: reloads province, type and material from the library.
    int OnSelchangedTreeTimb();
    /// Commands of the tree's context menu, by the host's command numbers.
    void OnMenuCommand(int command);

private:
    void DrawUI();
    void ShowUIData();
    void TreeSelectItem(CTQTimberingType& type, CTQTimbering& material);
    void ResetGridTimbType(CTQTimberingType& type);
    void ResetGridTimb(CTQTimberingType& type, CTQTimbering& material);
    void UpdateActionUI(int nodeType);
    /// OK in choose mode needs a material.
    int CheckData();
    void AttachTreeMenu();
    void InitActionButtons();
    /// The end of the window: the tree is freed; the next showing builds the content again.
    void OnDestroy();

    std::unique_ptr<Ui::CTqUiStuffListDlg> m_ui;
    CTqUiLibraryTree* m_pTree = nullptr; ///< the tree's filling, lookups and search box
    CTqUiStuffGrid* m_pGrid = nullptr;
    QPushButton* m_pUsageButton = nullptr;
    CTQMenuItemArray* m_pMenuItems = nullptr; ///< the tree's context menu, the host's array
    bool m_bWindowBuilt = false;
};
