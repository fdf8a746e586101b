#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "library/CTQBSDataAdmin.h"
#include "records/CTQBSCategory.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQBoundingStructure.h"
#include "records/CTQWallProvince.h"

#include <QDialog>
#include <QString>

class CMutiTreeCtrl;
class CPictureCtrl;
class CTqUiPropertyGrid;
class CTqUiReportControl;
class QLabel;
class QLayout;
class QLineEdit;
class QPushButton;
class QTreeWidgetItem;

/// The construction editor ("围护结构信息"): one construction's province, category, type and name,
/// its material layers from the outside inwards (thickness in mm and conductivity correction
/// factor, edited in place), the material tree the layers are taken from, its demo picture, and
/// its heat transfer coefficients, attenuation and delay, recomputed after every change. "由K定厚度"
/// sets one layer's thickness from a wanted summer or winter coefficient.
///
/// The caller assigns copies of the records and the surface coefficients to the public members,
/// sets m_nMode (1 add, 2 modify), runs DoModal and, when m_bChanged is 1, copies m_Type and
/// m_Code back. "确定" writes type, construction, picture file and layer set, in this order;
/// a refused step stops there with the dialog open, and what was written before stays written.
class TQWALL_EXPORT CTqUiBSInfoDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTqUiBSInfoDlg(QWidget* parent = nullptr);
    ~CTqUiBSInfoDlg() override;

    /// Runs the dialog modally with this library's resources; QDialog::Accepted (1) after a save.
    virtual int DoModal();
    /// The window content is built from the members when the window is first shown.
    void setVisible(bool visible) override;

    /// Shows the construction's own picture, else its type's (or "无示意图片"), and forgets a file
    /// chosen before.
    void ShowDemoBMP(CTQBSType& type, CTQBSCode& code);
    /// Shows the picture file at `path`.
    void ShowDemoBMP(const QString& path);

    /// 1 when the construction may be saved; `flag` non-zero skips the two name checks. Trims the
    /// construction's name and stores the grid's layers as the layer set's three lists.
    int CheckData(int flag);

    /// Recomputes and shows the five results from the layer grid and the surface coefficients.
    void CalculateCRXS();
    /// Turns negative thickness cells into "0".
    void CurrectHouDu();
    /// Changes one layer's thickness so that the construction reaches the coefficient typed in
    /// the summer (`season` 0) or winter (1) box, then recomputes.
    void CalculateHouDu(int season);

    int m_nMode = 0;                          ///< 1 add, 2 modify; set by the caller
    int m_bChanged = 0;                       ///< 1 once a save wrote the type or more; read by the caller
    QString m_strDemoBMPFile;                 ///< picture file chosen while the dialog is open; empty: none
    CTQBSCategory m_Category;                 ///< category of the construction; its ID is a new type's BSDLId
    CTQBSType m_Type;                         ///< type of the construction; its name is edited in the grid
    CTQBSCode m_Code;                         ///< the construction; its name is edited in the grid
    CTQWallProvince m_Province;               ///< province of the construction; ID 0: national
    CTQBoundingStructure m_BoundingStructure; ///< the stored layers; written by the save
    CTQCrXs m_CrXs;                           ///< surface coefficients the construction is evaluated with
    CTQBSDataAdmin m_BSDataAdmin;             ///< the editor's own library manager: material tree, picture paths

protected:
    /// Lays out the controls, fills them and makes the result boxes that are not inputs read-only.
    virtual int OnInitDialog();
    /// Enter in the summer outer or the inner surface-coefficient box recomputes instead of
    /// reaching the dialog. Returns true when the event was consumed.
    virtual bool PreTranslateMessage(QObject* target, QEvent* event);
    bool eventFilter(QObject* watched, QEvent* event) override;

    void OnBtnAddt();
    void OnBtnDelt();
    void OnButtonUpt();
    void OnButtonDownt();
    void OnBtnSelectdemobmp();
    void OnBtnExecute();
    /// "温湿度分布": the temperature and vapour profile of the layers in the grid.
    void OnBtnProfile();
    /// "导出计算书": the sheet of the construction as it stands in the dialog.
    void OnBtnSheet();
    void OnStnClickedStcdemobmp();
    void OnDblclkTreeTimb();
    void OnDeleteKeyClick();
    void OnTimbofbsSelChange();
    void OnChangeEdtHrxsNbm();
    void OnBtnCalXj();
    void OnBtnCalDj();
    void OnMenuCommand(int command);

private:
    void BuildWindow();
    QWidget* MakeParameterArea();
    QWidget* MakeLayerGrid();
    QLayout* MakeLayerButtons();
    QWidget* MakeMaterialArea();
    QLayout* MakePictureArea();
    QWidget* MakeValueArea();
    void DrawUI();
    void ShowUIData();
    void _InitTimbTree(tagBSNode* node, QTreeWidgetItem* parentItem);
    void OnCellEdited(int row, int col, const QString& text);
    /// Inserts a layer row at `row` (RowCount() appends) with its thickness and correction cells
    /// editable in place.
    void InsertLayerRow(int row, const QStringList& cells);
    void MoveFocusedLayer(int step);
    /// The layers of the grid as the wall-data component takes them, with the surface coefficients
    /// of the hidden boxes.
    void BuildWallData(CTQWallData& wall);
    void ShowResults(const CTQWallData& wall);
    void SetStatus(const QString& text);
    /// Says in the status line which layer "由K定厚度" would change, before it changes anything.
    void AnnounceSizedLayer(const CTQWallData& wall);
    /// "第N层 NAME" of a grid row.
    QString LayerCaption(int row) const;
    /// The picture shown: the file chosen in this dialog, else the construction's own picture, else
    /// its section drawn from the layer grid, else its type's picture.
    QImage DemoImage();
    QList<CTQBSSectionPicture::Layer> GridLayers() const;

    CTqUiPropertyGrid* m_pPropertyGrid = nullptr;
    CTqUiReportControl* m_pLayerGrid = nullptr;
    CMutiTreeCtrl* m_pTimbTree = nullptr;
    CPictureCtrl* m_pDemoBMP = nullptr;
    QLineEdit* m_pSummerCrXs = nullptr; ///< summer K; also the summer target
    QLineEdit* m_pWinterCrXs = nullptr; ///< winter K; also the winter target
    QLineEdit* m_pInnerCrXs = nullptr;
    QLineEdit* m_pAttenuation = nullptr;
    QLineEdit* m_pDelay = nullptr;
    QLineEdit* m_pSummerHrXs = nullptr; ///< hidden: summer outer surface coefficient
    QLineEdit* m_pWinterHrXs = nullptr; ///< hidden: winter outer surface coefficient
    QLineEdit* m_pInnerHrXs = nullptr;  ///< hidden: inner surface coefficient
    QLabel* m_pStatus = nullptr;        ///< what the last "由K定厚度" did
    QPushButton* m_pExecute = nullptr;
    bool m_bWindowBuilt = false;
};
