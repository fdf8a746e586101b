#include "ui/query/CTqUiBSQueryDlg.h"
#include "ui_CTqUiBSQueryDlg.h"

#include "host/core/CTQContextResourceOverride.h"
#include "host/core/TQString.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/db/TQPrecision.h"
#include "host/ui/CTQUiService.h"
#include "host/ui/CTqUiReportControl.h"
#include "ui/TQGridColumns.h"
#include "ui/TQWallModule.h"

#include <QApplication>
#include <QEvent>
#include <QIcon>
#include <QLocale>

#include <cmath>
#include <utility>

namespace {

using TQLoad::TQGridColumn;

constexpr TQGridColumn kResultColumns[] = {{"序号", 45},       {"大类", 50},     {"类型", 90},
                                           {"名称", 110},      {"传热系数(W/m^2·K)", 80},
                                           {"传热衰减", 80},   {"传热延迟(h)", 90}};
/// The construction's name takes the room the other columns leave.
constexpr int kNameColumn = 3;
/// Each row carries one cell more than there are columns: its index among the results.
constexpr int kResultIndexCell = 7;

/// How much equal bounds are widened on each side, W/(m²·K).
constexpr double kEqualBoundsMargin = 0.001;
/// Decimals of the stored range.
constexpr int kStoredRangeDecimals = 2;

/// The persisted settings: key and the text read when the key is absent. "BSType" defaults to
/// "1.8", which reads as the whole number 1 (the second kind).
struct Setting
{
    const char* key;
    const char* defaultText;
};
constexpr Setting kTypeCheck{"TypeCheck", "1"};
constexpr Setting kBSType{"BSType", "1.8"};
constexpr Setting kMinValue{"MinValue", "1"};
constexpr Setting kMaxValue{"MaxValue", "1.8"};

QString ReadSetting(const Setting& setting)
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetSysIni(
        CTqUiBSQueryDlg::SettingsSection(), QString::fromLatin1(setting.key), QString::fromLatin1(setting.defaultText));
}

void WriteSetting(const Setting& setting, const QString& value)
{
    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(CTqUiBSQueryDlg::SettingsSection(),
                                                        QString::fromLatin1(setting.key), value);
}

/// The text a range field shows for a value: the shortest that reads back as the same number.
QString FieldText(double value)
{
    return QString::number(value, 'g', 15);
}

/// The wait cursor while a search runs.
class WaitCursor
{
public:
    WaitCursor() { QApplication::setOverrideCursor(Qt::WaitCursor); }
    ~WaitCursor() { QApplication::restoreOverrideCursor(); }
    WaitCursor(const WaitCursor&) = delete;
    WaitCursor& operator=(const WaitCursor&) = delete;
};

} // namespace

CTqUiBSQueryDlg::CTqUiBSQueryDlg(QWidget* parent) : QDialog(parent), m_ui(std::make_unique<Ui::CTqUiBSQueryDlg>())
{
    m_ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/tqwall/icons/bslist.png")));

    m_pResultGrid = new CTqUiReportControl(m_ui->resultGridPlaceholder);
    m_pResultGrid->setObjectName(QStringLiteral("resultGrid"));
    m_pResultGrid->setFrameShadow(QFrame::Sunken);
    m_ui->resultGridPlaceholder->layout()->addWidget(m_pResultGrid);
    m_pResultGrid->viewport()->installEventFilter(this);

    connect(m_ui->queryButton, &QPushButton::clicked, this, &CTqUiBSQueryDlg::OnButQuery);
    connect(m_ui->typeCheckBox, &QCheckBox::clicked, this, &CTqUiBSQueryDlg::OnCheckStyle);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CTqUiBSQueryDlg::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CTqUiBSQueryDlg::reject);
    // A double click on a result is the quick way to choose it.
    connect(m_pResultGrid, &QTreeWidget::itemDoubleClicked, this, &CTqUiBSQueryDlg::accept);
    // Whatever the user changes, a new search can be asked for.
    const auto enableQuery = [this] { m_ui->queryButton->setEnabled(true); };
    connect(m_ui->minValueEdit, &QLineEdit::textEdited, this, enableQuery);
    connect(m_ui->maxValueEdit, &QLineEdit::textEdited, this, enableQuery);
    connect(m_ui->kindComboBox, &QComboBox::activated, this, enableQuery);

    ReadSettings();
}

CTqUiBSQueryDlg::~CTqUiBSQueryDlg()
{
    WriteSettings();
    m_BSDataAdmin.Release();
    // The controls outlive this part of the object; what they report while Qt deletes them must
    // not reach members that are already gone.
    for (QObject* control : findChildren<QObject*>())
        control->disconnect(this);
}

QString CTqUiBSQueryDlg::SettingsSection()
{
    return QStringLiteral("BSStruct");
}

void CTqUiBSQueryDlg::ReadSettings()
{
    m_nTypeCheck = TQLoad::LeadingInt(ReadSetting(kTypeCheck));
    m_nBSType = TQLoad::LeadingInt(ReadSetting(kBSType));
    m_dMinValue = TQLoad::LeadingDouble(ReadSetting(kMinValue));
    m_dMaxValue = TQLoad::LeadingDouble(ReadSetting(kMaxValue));
}

void CTqUiBSQueryDlg::WriteSettings() const
{
    WriteSetting(kTypeCheck, TQLoad::IntToStr(m_nTypeCheck));
    WriteSetting(kBSType, TQLoad::IntToStr(m_nBSType));
    WriteSetting(kMinValue, TQLoad::DblToStr(m_dMinValue, kStoredRangeDecimals));
    WriteSetting(kMaxValue, TQLoad::DblToStr(m_dMaxValue, kStoredRangeDecimals));
}

int CTqUiBSQueryDlg::DoModal()
{
    const CTQContextResourceOverride resources(TQLoad::GetTQWallModule());
    return exec();
}

// ---------------------------------------------------------------------------------------------
// Window life

void CTqUiBSQueryDlg::setVisible(bool visible)
{
    if (visible && !m_bWindowBuilt) {
        m_bWindowBuilt = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

int CTqUiBSQueryDlg::OnInitDialog()
{
    DrawUI();
    ShowUIData();
    Init();
    m_ui->statusLabel->clear();
    m_ui->minValueEdit->setFocus();
    return 1;
}

void CTqUiBSQueryDlg::DrawUI()
{
    // The columns are made once; a dialog shown again keeps them and starts with no rows.
    if (m_pResultGrid->columnCount() == 0) {
        TQLoad::AddGridColumns(m_pResultGrid, kResultColumns);
        m_pResultGrid->SetFirColSortable(false);
    }
    m_pResultGrid->ClearRows();
}

void CTqUiBSQueryDlg::ShowUIData()
{
    // The rebuild frees the nodes of the previous run.
    m_pAllNode = nullptr;
    m_ui->kindComboBox->clear();
    const tagBSNode* root = m_BSDataAdmin.GetBSNodes(1);
    if (root == nullptr || root->Children.IsEmpty())
        return;
    m_pAllNode = root->Children[0];
    for (const tagBSNode* category : m_pAllNode->Children)
        m_ui->kindComboBox->addItem(category->Name);
    m_ui->kindComboBox->setCurrentIndex(m_ui->kindComboBox->count() > 0 ? 0 : -1);
    m_ui->kindComboBox->setEnabled(false);
}

void CTqUiBSQueryDlg::Init()
{
    if (m_nTypeCheck == 1) {
        m_ui->typeCheckBox->setChecked(true);
        if (m_nBSType >= 0 && m_nBSType < m_ui->kindComboBox->count())
            m_ui->kindComboBox->setCurrentIndex(m_nBSType);
        m_ui->kindComboBox->setEnabled(true);
    } else {
        m_ui->typeCheckBox->setChecked(false);
    }
    m_dMinFieldValue = m_dMinValue;
    m_dMaxFieldValue = m_dMaxValue;
    DoDataExchange(false);
}

void CTqUiBSQueryDlg::done(int result)
{
    QDialog::done(result);
    m_bWindowBuilt = false;
}

// ---------------------------------------------------------------------------------------------
// Fields

bool CTqUiBSQueryDlg::DoDataExchange(bool bSaveAndValidate)
{
    if (!bSaveAndValidate) {
        m_ui->minValueEdit->setText(FieldText(m_dMinFieldValue));
        m_ui->maxValueEdit->setText(FieldText(m_dMaxFieldValue));
        return true;
    }
    return ReadField(m_ui->minValueEdit, m_dMinFieldValue) && ReadField(m_ui->maxValueEdit, m_dMaxFieldValue);
}

bool CTqUiBSQueryDlg::ReadField(QLineEdit* field, double& value)
{
    const QString text = field->text().trimmed();
    bool bNumber = false;
    double read = QLocale::c().toDouble(text, &bNumber);
    if (!bNumber)
        read = QLocale().toDouble(text, &bNumber);
    if (!bNumber || !std::isfinite(read)) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请输入一个数字。"), QMessageBox::Warning);
        field->setFocus();
        field->selectAll();
        return false;
    }
    value = read;
    return true;
}

// ---------------------------------------------------------------------------------------------
// Searching

void CTqUiBSQueryDlg::OnCheckStyle()
{
    const bool bChecked = m_ui->typeCheckBox->isChecked();
    m_ui->kindComboBox->setEnabled(bChecked);
    m_nTypeCheck = bChecked ? 1 : 0;
    m_ui->queryButton->setEnabled(true);
}

void CTqUiBSQueryDlg::OnButQuery()
{
    if (!DoDataExchange(true))
        return;
    if (m_dMinFieldValue >= m_dMaxFieldValue) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("最小值不能大于最大值！"), QMessageBox::NoIcon);
        return;
    }
    m_ui->statusLabel->setText(QStringLiteral("正在查询…"));
    m_ui->statusLabel->repaint();

    if (m_pAllNode == nullptr) {
        const tagBSNode* root = m_BSDataAdmin.GetBSNodes(1);
        if (root == nullptr || root->Children.IsEmpty())
            return;
        m_pAllNode = root->Children[0];
    }
    {
        const WaitCursor wait;
        if (!m_ui->typeCheckBox->isChecked()) {
            InitCalculate(m_pAllNode);
        } else if (const int position = CTQBSCoefficientSearch::KindPosition(m_ui->kindComboBox->currentText());
                   position >= 0) {
            // The kind is taken by its place among the fixed kinds; in a library whose categories
            // are those kinds in that order, the place and the name agree.
            Calculate(m_pAllNode, position);
            m_nBSType = position;
        }
    }

    m_ui->statusLabel->setText(QStringLiteral("查询结束。"));
    if (m_nResultCount == 0)
        CTQUiService::Instance().MessageBox(this, QStringLiteral("没有找到满足要求的传热系数！"),
                                            QMessageBox::Information);
}

void CTqUiBSQueryDlg::ClearResults()
{
    m_pResultGrid->ClearRows();
    m_Results.clear();
    m_nResultCount = 0;
}

void CTqUiBSQueryDlg::InitCalculate(tagBSNode* allNode)
{
    ClearResults();
    if (allNode == nullptr)
        return;
    for (tagBSNode* category : allNode->Children) {
        m_Category.ReadData(category->ID, nullptr);
        NewCalulate(category);
    }
}

void CTqUiBSQueryDlg::Calculate(tagBSNode* allNode, int position)
{
    ClearResults();
    if (allNode == nullptr || position < 0 || position >= allNode->Children.GetSize())
        return;
    tagBSNode* category = allNode->Children[position];
    m_Category.ReadData(category->ID, nullptr);
    NewCalulate(category);
}

void CTqUiBSQueryDlg::NewCalulate(tagBSNode* categoryNode)
{
    if (categoryNode == nullptr || !DoDataExchange(true))
        return;
    m_dMinValue = m_dMinFieldValue;
    m_dMaxValue = m_dMaxFieldValue;
    const bool bWidened = m_dMinValue == m_dMaxValue;
    if (bWidened) {
        m_dMinValue -= kEqualBoundsMargin;
        m_dMaxValue += kEqualBoundsMargin;
    } else if (m_dMinValue > m_dMaxValue) {
        std::swap(m_dMinValue, m_dMaxValue);
    }

    QList<TQCoefficientHit> hits;
    m_Search.SetCrXs(m_CrXs);
    m_Search.SearchCategory(categoryNode, m_dMinValue, m_dMaxValue, hits);
    m_pResultGrid->setUpdatesEnabled(false);
    for (const TQCoefficientHit& hit : hits)
        AddResultRow(hit);
    m_pResultGrid->setUpdatesEnabled(true);

    if (bWidened) {
        m_dMinValue += kEqualBoundsMargin;
        m_dMaxValue -= kEqualBoundsMargin;
    }
}

void CTqUiBSQueryDlg::AddResultRow(const TQCoefficientHit& hit)
{
    const int index = m_nResultCount;
    const CTQWallData& wall = hit.wall;
    m_pResultGrid->AddRow({TQLoad::IntToStr(index + 1), hit.categoryName, hit.typeName, wall.m_strBSCName,
                           TQLoad::DblToStr(wall.GetCrXs(), TQLoad::GetCrXsJd()),
                           TQLoad::DblToStr(wall.GetSj(), TQLoad::GetCrSjJd()),
                           TQLoad::DblToStr(wall.GetYc(), TQLoad::GetCrYcJd()), TQLoad::IntToStr(index)},
                          index);
    m_Results.append(hit);
    ++m_nResultCount;
}

// ---------------------------------------------------------------------------------------------
// Ending

void CTqUiBSQueryDlg::accept()
{
    OnOK();
}

void CTqUiBSQueryDlg::reject()
{
    OnCancel();
}

void CTqUiBSQueryDlg::OnOK()
{
    m_bChosen = 0;
    const int row = m_pResultGrid->GetFocusedRow();
    if (row >= 0) {
        // The rows may have been sorted: the hidden cell says which result a row shows.
        const int index = TQLoad::LeadingInt(m_pResultGrid->GetCellText(row, kResultIndexCell));
        if (index >= 0 && index < m_Results.size()) {
            const TQCoefficientHit& hit = m_Results.at(index);
            // A construction deleted since the search is no choice.
            if (m_Code.ReadData(hit.wall.m_nBSCId, nullptr) && m_Type.ReadData(hit.typeId, nullptr))
                m_bChosen = 1;
        }
    }
    QDialog::accept();
}

void CTqUiBSQueryDlg::OnCancel()
{
    m_bChosen = 0;
    QDialog::reject();
}

bool CTqUiBSQueryDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_pResultGrid->viewport())
        TQLoad::FitGridColumns(m_pResultGrid, kResultColumns, kNameColumn);
    return QDialog::eventFilter(watched, event);
}
