#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "host/ui/stuMenuItem.h"
#include "host/thermal/TQArray.h"
#include "library/CTQBSDataAdmin.h"
#include "records/CTQBSCategory.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQBoundingStructure.h"
#include "records/CTQWallProvince.h"
#include "ui/query/CTqUiBSQueryDlg.h"

#include <QDialog>
#include <QImage>
#include <QSet>

#include <memory>

class CPictureCtrl;
class CTqUiLibraryTree;
class CTqUiReportControl;
class CTqUiStuffListDlg;
class QAbstractButton;
class QTreeWidgetItem;

namespace Ui {
class CTqUiBSListDlg;
}

/// The construction library ("围护结构管理器"): the library as a tree of categories and types
/// (all, common and per-province constructions), the constructions of the selected type with their
/// heat transfer coefficients, attenuation and delay, and the layers and demo picture of the
/// chosen one. The caller presets the current records and the surface coefficients, runs the
/// dialog with DoModal and, after OK, reads the choice from m_WallData.
///
/// The window content is built when the dialog is first shown and torn down when it closes: the
/// placement is stored and the library trees are freed, so the next run starts afresh.
class TQWALL_EXPORT CTqUiBSListDlg : public QDialog
{
    Q_OBJECT

public:
    /// Surface coefficients are the GB 50176 design values of CTQCrXs::Init.
    explicit CTqUiBSListDlg(QWidget* parent = nullptr);
    /// Surface coefficients are `crxs`.
    explicit CTqUiBSListDlg(CTQCrXs crxs, QWidget* parent = nullptr);
    ~CTqUiBSListDlg() override;

    // The virtual operations follow the order of the library's interface, hence the access
    // sections alternate.
protected:
    /// Exchanges the coefficient fields and m_CrXs: `bSaveAndValidate` true reads the fields.
    virtual void DoDataExchange(bool bSaveAndValidate);

public:
    /// Enter in the summer outer or the inner coefficient field only takes the fields' values
    /// and does not press the default button. Returns true when the event was consumed.
    virtual bool PreTranslateMessage(QObject* target, QEvent* event);
    /// Runs the dialog modally with this library's resources; QDialog::Accepted (1) for OK.
    virtual int DoModal();

    /// Key of the saved window placement in the ini section "Placement".
    static QString PlacementKey();

    /// Takes the wall's inner, summer outer and winter outer surface coefficients; call it before
    /// the dialog is shown.
    void SetCrXs(const CTQWallData& wall);
    /// Shows the construction's own picture, else its section drawn from its layers, else its
    /// type's picture, else none.
    void ShowDemoBMP(CTQBSType& type, CTQBSCode& code);

    /// The window content is built when the window is first shown.
    void setVisible(bool visible) override;
    /// OK: ends the dialog through OnOK.
    void accept() override;
    /// Ends the dialog, stores its placement and frees the library trees.
    void done(int result) override;

    CTQBSCategory m_Category;                 ///< current category
    CTQBSType m_Type;                         ///< current type
    CTQBSCode m_Code;                         ///< chosen construction; an empty name: nothing chosen
    CTQBoundingStructure m_BoundingStructure; ///< layer set of the chosen construction
    CTQWallProvince m_Province;               ///< province of the tree selection; ID 0: none
    CTQWallData m_WallData;                   ///< the chosen construction; its ID identifies the row
    CTQArray<CTQWallData> m_WallDataAry;      ///< the constructions of m_Type, in list order
    CTQCrXs m_CrXs;                           ///< surface coefficients the list is evaluated with
    int m_bMustSelect = 1;        ///< 1: OK needs a chosen construction; the coefficient fields are read-only
    CTQBSDataAdmin m_BSDataAdmin; ///< the dialog's own library manager
    int m_bCommon = 0;            ///< the tree selection lies in the common subtree
    CTqUiBSQueryDlg m_QueryDlg;   ///< the query by K, kept for the dialog's whole life

protected:
    /// Builds the window content and the initial selection; returns 1.
    virtual int OnInitDialog();
    /// Ends the dialog with OK, unless a construction must be chosen and none is.
    virtual void OnOK();

    void OnSelchangedTreeBs();
    /// A click on the selected type node chooses the type again.
    void OnClickTreeBs(QTreeWidgetItem* item);
    void OnBSNameCLick(int row);
    void OnStnClickedStcdemobmp();

    /// Runs the editor on a new construction of the current category, type and province (common
    /// when the common subtree is selected); a saved one is selected in the rebuilt tree.
    void OnBtnAdd();
    /// Runs the editor on the chosen construction; a saved change is shown.
    void OnBtnModify();
    /// A double click on a construction row chooses it and modifies it.
    void OnBSNameDbClk(int row);
    /// Opens the material library; the list is evaluated again afterwards, with the materials as
    /// they are now.
    void OnBtnTimb();
    /// A double click on a layer opens the material library on the layer's material.
    void OnBSTimbDbClk(int row);
    /// Deletes the chosen construction, or with none chosen the current type with all its
    /// constructions, after asking.
    void OnBtnDel();
    /// Stores a copy of the chosen construction named "复件 " + its name (the prefix repeated
    /// until the name is free in its type and province), with its layers and its picture.
    void OnBtnCopy();
    /// Exports the chosen construction, or the type, common constructions, province, category or
    /// whole library the tree's selection stands for; imports a file after its preview.
    void OnBtnExport();
    void OnBtnImport();
    /// Makes the chosen construction common, or outside the common subtree no longer common.
    void OnSetCommonFlag();
    /// "温湿度分布": the chosen construction's temperature and vapour profile.
    void OnBtnProfile();
    /// "导出计算书": the chosen construction's sheet as a PDF.
    void OnBtnSheet();
    void OnBtnCal();
    void OnBtnAutoCal();
    /// Finds constructions by their summer K; a chosen result becomes the chosen construction.
    void OnButtonQuery();
    void OnDeleteKeyClick();
    /// A command of the construction list's context menu.
    void OnMenuCommand(int command);
    /// The focused row moved (arrow keys, a right click): it becomes the chosen construction.
    void OnBSListSelChanged();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawUI();
    void ResetBSTree();
    void ShowUIData();
    void TreeSelectItem(CTQBSCategory& category, CTQBSType& type);
    /// After an editor saved `m_Code` of `m_Type`: the tree is rebuilt, the type selected in it and
    /// the construction chosen in the list.
    void ShowSavedConstruction();
    /// The picture ShowDemoBMP shows and a click enlarges.
    QImage DemoImage(CTQBSType& type, CTQBSCode& code);
    void CalculateCRXS(bool calc);
    void ResetGridBSC(bool calc);
    /// Enables the buttons and the context menu's items by one rule; run after every change of
    /// the choice and whenever the menu opens.
    void UpdateActionUI();
    /// Delete acts on a chosen construction, or with none on a type chosen in the tree since the
    /// last deletion.
    bool CanDelete() const;
    /// Why the library's role may not carry out `command` (TQMenuCommand) on the current choice;
    /// empty where it may. The server refuses it anyway; the dialog does not offer it.
    QString PermissionRefusal(int command) const;

    void InitActionButtons();
    void AttachListMenu();
    void FillLayerGrid();
    /// Runs the material library and evaluates the list again with what it changed.
    void RunMaterialLibrary(CTqUiStuffListDlg& library);
    int FindChosenRow() const;
    /// Enables an action button only once its handler is connected, so that no button offers an
    /// action the dialog does not carry out.
    void EnableAction(QAbstractButton* button, bool bEnable);
    /// Connects an action button to its handler and lets UpdateActionUI enable it.
    void ConnectAction(QAbstractButton* button, void (CTqUiBSListDlg::*handler)());
    void RestorePlacement();
    void SavePlacement();
    /// The end of the window: the trees are freed; the next showing builds the content again.
    void OnDestroy();

    std::unique_ptr<Ui::CTqUiBSListDlg> m_ui;
    CTqUiLibraryTree* m_pTree = nullptr;        ///< the tree's filling, lookups and search box
    CTqUiReportControl* m_pBSList = nullptr;    ///< constructions of m_Type
    CTqUiReportControl* m_pLayerGrid = nullptr; ///< layers of the chosen construction
    CPictureCtrl* m_pDemoBMP = nullptr;
    int m_bSavedCommon = 0;                   ///< m_bCommon kept while the tree is rebuilt
    CTQMenuItemArray* m_pMenuItems = nullptr; ///< context menu of the construction list
    QSet<QAbstractButton*> m_ConnectedActions;
    bool m_bWindowBuilt = false;
    bool m_bTypeChosen = false;  ///< the tree's type node was chosen and nothing deleted since
    bool m_bFillingList = false; ///< the list is being refilled: its selection changes are not the user's
};
