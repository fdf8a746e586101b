#pragma once

#include "TQWallExport.h"
#include "host/walldata/CTQCrXs.h"
#include "host/walldata/CTQWallData.h"
#include "library/CTQBSCoefficientSearch.h"
#include "library/CTQBSDataAdmin.h"
#include "records/CTQBSCategory.h"
#include "records/CTQBSCode.h"
#include "records/CTQBSType.h"
#include "records/CTQBoundingStructure.h"

#include <QDialog>
#include <QList>

#include <memory>

class CTqUiReportControl;
class QLineEdit;

namespace Ui {
class CTqUiBSQueryDlg;
}

/// The construction query ("围护结构查询"): finds the national constructions whose summer heat
/// transfer coefficient lies in a range, in all categories or in one kind of envelope, and lists
/// them with category, type, name, K, attenuation and delay. OK on a result row makes it the
/// choice (m_bChosen, m_Type, m_Code).
///
/// The owner keeps one query dialog for its whole life and runs it with DoModal for every query:
/// the range, the kind and whether one kind is searched are read from the ini section "BSStruct"
/// when the dialog is constructed and written back when it is destroyed. The window content is
/// built anew each time the dialog is shown; the results stay in the object until the next
/// search.
class TQWALL_EXPORT CTqUiBSQueryDlg : public QDialog
{
    Q_OBJECT

public:
    explicit CTqUiBSQueryDlg(QWidget* parent = nullptr);
    /// Writes the settings back, then frees the library tree.
    ~CTqUiBSQueryDlg() override;

    // The virtual operations follow the order of the library's interface, hence the access
    // sections alternate.
protected:
    /// Exchanges the two range fields: `bSaveAndValidate` true reads them and shows
    /// "请输入一个数字。" for a field that holds no number (then false); false shows the values.
    virtual bool DoDataExchange(bool bSaveAndValidate);
    /// Builds the window content: result grid, kinds, the settings in the controls; returns 1.
    virtual int OnInitDialog();
    /// Makes the focused result row the choice, if there is one, and ends the dialog with OK.
    virtual void OnOK();
    /// No choice; ends the dialog with Cancel.
    virtual void OnCancel();

public:
    /// Ini section of the settings.
    static QString SettingsSection();

    /// Runs the dialog modally with this library's resources; QDialog::Accepted (1) for OK.
    int DoModal();

    /// Searches every category under `allNode`, numbering the rows on across categories.
    void InitCalculate(tagBSNode* allNode);
    /// Searches the category at `position` among `allNode`'s children (none beyond the last).
    void Calculate(tagBSNode* allNode, int position);
    /// Searches one category with the range in the fields and appends its matches. Equal bounds
    /// are widened by 0.001 for this search, reversed bounds swapped.
    void NewCalulate(tagBSNode* categoryNode);
    /// Shows the settings in the controls: the "类型:" box, the kind and the range.
    void Init();

    /// The window content is built each time the window is about to appear.
    void setVisible(bool visible) override;
    /// OK and Enter end through OnOK, Cancel, Escape and closing through OnCancel.
    void accept() override;
    void reject() override;
    void done(int result) override;

    /// The matches of the last search; result row i carries i in its hidden index cell.
    const QList<TQCoefficientHit>& GetResults() const { return m_Results; }

    double m_dMinValue = 1.0;       ///< lower bound of the last search, W/(m²·K); persisted
    double m_dMaxValue = 1.8;       ///< upper bound of the last search; persisted
    int m_nTypeCheck = 1;           ///< 1: search one kind only; persisted
    int m_nBSType = 1;              ///< position of the kind last searched (0 to 5); persisted
    CTQBSDataAdmin m_BSDataAdmin;   ///< national constructions only: no province, no common mode
    tagBSNode* m_pAllNode = nullptr; ///< "所有围护结构" of m_BSDataAdmin's tree
    CTQBSCategory m_Category;       ///< category being searched
    CTQBSType m_Type;               ///< after OK with a chosen row: the choice's type
    CTQBSCode m_Code;               ///< after OK with a chosen row: the choice
    CTQBoundingStructure m_BoundingStructure;
    int m_bChosen = 0;              ///< 1 after OK on a result row
    CTQWallData m_WallData;
    CTQCrXs m_CrXs;                 ///< surface coefficients of the evaluation; set before each run
    int m_nResultCount = 0;         ///< number of result rows

protected:
    void OnButQuery();
    void OnCheckStyle();

    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void DrawUI();
    /// The kinds of the tree: the categories under "所有围护结构", in tree order.
    void ShowUIData();
    void ReadSettings();
    void WriteSettings() const;
    void ClearResults();
    void AddResultRow(const TQCoefficientHit& hit);
    bool ReadField(QLineEdit* field, double& value);

    std::unique_ptr<Ui::CTqUiBSQueryDlg> m_ui;
    CTqUiReportControl* m_pResultGrid = nullptr;
    CTQBSCoefficientSearch m_Search;
    QList<TQCoefficientHit> m_Results;
    double m_dMinFieldValue = 1.0; ///< value of the field "最小值:"
    double m_dMaxFieldValue = 1.8; ///< value of the field "最大值:"
    bool m_bWindowBuilt = false;
};
