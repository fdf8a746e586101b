#include "ui/editor/CTqUiBSInfoDlg.h"

#include "host/core/CTQContextResourceOverride.h"
#include "host/core/TQFolder.h"
#include "host/core/TQString.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CCtrlMenumGlobalSetting.h"
#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CPictureCtrl.h"
#include "host/ui/CPictureEx.h"
#include "host/ui/CTQUiService.h"
#include "host/ui/CTqUiPropertyGrid.h"
#include "host/ui/CTqUiReportControl.h"
#include "library/CTQBSConstructionSheet.h"
#include "records/CTQTimbering.h"
#include "ui/TQWallModule.h"
#include "ui/library/CTqUiBSProfileDlg.h"
#include "ui/library/CTqUiBSViewPicDlg.h"

#include <QColor>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QFontMetrics>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPalette>
#include <QPushButton>
#include <QRegularExpression>
#include <QRegularExpressionValidator>
#include <QStyledItemDelegate>
#include <QVBoxLayout>

#include <algorithm>
#include <cmath>

namespace {

// Layer grid cells: name, thickness (mm), correction factor, and the material ID kept in a cell
// beyond the three columns.
constexpr int kNameCell = 0;
constexpr int kThickCell = 1;
constexpr int kXzXsCell = 2;
constexpr int kStuffIdCell = 3;

/// The library keeps layer thicknesses in millimetres, the wall data in metres.
constexpr double kMillimetresPerMetre = 1000.0;

/// Decimals of the layer cells, of the coefficients and attenuation, and of the delay (h).
constexpr int kLayerDecimals = 2;
constexpr int kResultDecimals = 2;
constexpr int kDelayDecimals = 1;

/// A thickness search is not run when the construction is already this close to the target, W/(m²·K).
constexpr double kTargetTolerance = 0.01;

const QColor kComputedRed(255, 0, 0);

const QString kCaptionProvince = QStringLiteral("省份");
const QString kCaptionCategory = QStringLiteral("大类");
const QString kCaptionType = QStringLiteral("类型");
const QString kCaptionName = QStringLiteral("名称");

/// A decimal number as typed into a layer cell or a coefficient box ("12.5", "-3", ".5", "1e-2").
const QRegularExpression& DecimalPattern()
{
    static const QRegularExpression pattern(QStringLiteral(R"([-+]?(\d+\.?\d*|\.\d+)([eE][-+]?\d+)?)"));
    return pattern;
}

bool IsDecimal(const QString& text)
{
    static const QRegularExpression whole(QRegularExpression::anchoredPattern(DecimalPattern().pattern()));
    return whole.match(text.trimmed()).hasMatch();
}

/// The thickness and correction cells' in-place editors accept decimal numbers only, so a typo
/// cannot reach the library.
class DecimalCellDelegate : public QStyledItemDelegate
{
public:
    using QStyledItemDelegate::QStyledItemDelegate;

    QWidget* createEditor(QWidget* parent, const QStyleOptionViewItem& option, const QModelIndex& index) const override
    {
        QWidget* editor = QStyledItemDelegate::createEditor(parent, option, index);
        if (auto* lineEdit = qobject_cast<QLineEdit*>(editor))
            lineEdit->setValidator(new QRegularExpressionValidator(DecimalPattern(), lineEdit));
        return editor;
    }
};

QLineEdit* MakeValueBox(QWidget* parent, const QString& objectName)
{
    auto* box = new QLineEdit(parent);
    box->setObjectName(objectName);
    box->setMaximumWidth(90);
    box->setAlignment(Qt::AlignRight);
    return box;
}

QPushButton* MakeButton(QWidget* parent, const QString& text, const QString& objectName)
{
    auto* button = new QPushButton(text, parent);
    button->setObjectName(objectName);
    // Enter in a box must not save the construction: no button is pressed by Enter.
    button->setAutoDefault(false);
    button->setDefault(false);
    return button;
}

/// Width of a grid column: the given width, or more when the header text needs it.
int ColumnWidth(const QWidget* grid, const QString& header, int width)
{
    return std::max(width, QFontMetrics(grid->font()).horizontalAdvance(header) + 20);
}

} // namespace

CTqUiBSInfoDlg::CTqUiBSInfoDlg(QWidget* parent) : QDialog(parent)
{
    setWindowTitle(QStringLiteral("围护结构信息"));
    setSizeGripEnabled(true);
    BuildWindow();
}

CTqUiBSInfoDlg::~CTqUiBSInfoDlg()
{
    CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting()->ResumeDefult();
    // The controls outlive this part of the object; what they report while Qt deletes them must
    // not reach members that are already gone.
    for (QObject* child : findChildren<QObject*>())
        child->disconnect(this);
}

int CTqUiBSInfoDlg::DoModal()
{
    const CTQContextResourceOverride resources(TQLoad::GetTQWallModule());
    return exec();
}

void CTqUiBSInfoDlg::setVisible(bool visible)
{
    if (visible && !m_bWindowBuilt) {
        m_bWindowBuilt = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

// ---------------------------------------------------------------------------------------------
// Window

void CTqUiBSInfoDlg::BuildWindow()
{
    QLayout* layerButtons = MakeLayerButtons();
    QWidget* materials = MakeMaterialArea();
    QLayout* picture = MakePictureArea();
    QWidget* values = MakeValueArea();

    m_pExecute = MakeButton(this, QStringLiteral("确定"), QStringLiteral("executeButton"));
    QPushButton* cancel = MakeButton(this, QStringLiteral("取消"), QStringLiteral("cancelButton"));
    QPushButton* profile = MakeButton(this, QStringLiteral("温湿度分布"), QStringLiteral("profileButton"));
    connect(profile, &QPushButton::clicked, this, &CTqUiBSInfoDlg::OnBtnProfile);
    QPushButton* sheet = MakeButton(this, QStringLiteral("导出计算书"), QStringLiteral("sheetButton"));
    connect(sheet, &QPushButton::clicked, this, &CTqUiBSInfoDlg::OnBtnSheet);
    auto* closeButtons = new QHBoxLayout;
    closeButtons->addWidget(profile);
    closeButtons->addWidget(sheet);
    closeButtons->addStretch();
    closeButtons->addWidget(m_pExecute);
    closeButtons->addWidget(cancel);

    auto* main = new QGridLayout(this);
    main->addWidget(MakeParameterArea(), 0, 0);
    main->addWidget(MakeLayerGrid(), 1, 0);
    main->addLayout(layerButtons, 0, 1, 2, 1);
    main->addWidget(materials, 0, 2, 2, 1);
    main->addLayout(picture, 2, 0);
    main->addWidget(values, 2, 1, 1, 2);
    main->addLayout(closeButtons, 3, 0, 1, 3);
    main->setColumnStretch(0, 3);
    main->setColumnStretch(2, 2);
    // The layers get the room: a construction may have many.
    main->setRowStretch(1, 1);
    resize(860, 680);

    connect(m_pExecute, &QPushButton::clicked, this, &CTqUiBSInfoDlg::OnBtnExecute);
    connect(cancel, &QPushButton::clicked, this, &CTqUiBSInfoDlg::reject);
}

QWidget* CTqUiBSInfoDlg::MakeParameterArea()
{
    m_pPropertyGrid = new CTqUiPropertyGrid(this);
    m_pPropertyGrid->setObjectName(QStringLiteral("propertyGrid"));
    auto* parameters = new QGroupBox(QStringLiteral("围护结构参数"), this);
    auto* layout = new QVBoxLayout(parameters);
    layout->addWidget(m_pPropertyGrid);
    // Four rows and the description pane.
    parameters->setFixedHeight(200);
    return parameters;
}

QWidget* CTqUiBSInfoDlg::MakeLayerGrid()
{
    m_pLayerGrid = new CTqUiReportControl(this);
    m_pLayerGrid->setObjectName(QStringLiteral("layerGrid"));
    auto* decimalCells = new DecimalCellDelegate(m_pLayerGrid);
    m_pLayerGrid->setItemDelegateForColumn(kThickCell, decimalCells);
    m_pLayerGrid->setItemDelegateForColumn(kXzXsCell, decimalCells);

    connect(m_pLayerGrid, &CTqUiReportControl::menuCommand, this, &CTqUiBSInfoDlg::OnMenuCommand);
    connect(m_pLayerGrid, &CTqUiReportControl::deleteKeyPressed, this, &CTqUiBSInfoDlg::OnDeleteKeyClick);
    connect(m_pLayerGrid, &QTreeWidget::currentItemChanged, this, &CTqUiBSInfoDlg::OnTimbofbsSelChange);
    connect(m_pLayerGrid, &CTqUiReportControl::cellEdited, this, &CTqUiBSInfoDlg::OnCellEdited);
    return m_pLayerGrid;
}

QLayout* CTqUiBSInfoDlg::MakeLayerButtons()
{
    const struct
    {
        const char* text;
        const char* name;
        void (CTqUiBSInfoDlg::*handler)();
    } buttons[] = {{"←", "addLayerButton", &CTqUiBSInfoDlg::OnBtnAddt},
                   {"→", "deleteLayerButton", &CTqUiBSInfoDlg::OnBtnDelt},
                   {"↑", "upLayerButton", &CTqUiBSInfoDlg::OnButtonUpt},
                   {"↓", "downLayerButton", &CTqUiBSInfoDlg::OnButtonDownt}};
    auto* layout = new QVBoxLayout;
    layout->addStretch();
    for (const auto& item : buttons) {
        QPushButton* button = MakeButton(this, QString::fromUtf8(item.text), QString::fromLatin1(item.name));
        button->setFixedWidth(40);
        layout->addWidget(button);
        connect(button, &QPushButton::clicked, this, item.handler);
    }
    layout->addStretch();
    return layout;
}

QWidget* CTqUiBSInfoDlg::MakeMaterialArea()
{
    m_pTimbTree = new CMutiTreeCtrl(this);
    m_pTimbTree->setObjectName(QStringLiteral("timbTree"));
    auto* materials = new QGroupBox(QStringLiteral("所有材质"), this);
    auto* layout = new QVBoxLayout(materials);
    layout->addWidget(m_pTimbTree);
    materials->setMinimumWidth(240);
    // Long material names scroll sideways instead of being cut off.
    m_pTimbTree->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    m_pTimbTree->header()->setStretchLastSection(false);

    connect(m_pTimbTree, &QTreeWidget::itemDoubleClicked, this, &CTqUiBSInfoDlg::OnDblclkTreeTimb);
    connect(m_pTimbTree, &CMutiTreeCtrl::menuCommand, this, &CTqUiBSInfoDlg::OnMenuCommand);
    return materials;
}

QLayout* CTqUiBSInfoDlg::MakePictureArea()
{
    m_pDemoBMP = new CPictureCtrl(1, this);
    m_pDemoBMP->setObjectName(QStringLiteral("demoPicture"));
    m_pDemoBMP->setFrameShape(QFrame::StyledPanel);
    m_pDemoBMP->setMinimumSize(200, 150);
    QPushButton* choose = MakeButton(this, QStringLiteral("选择示\n意图片"), QStringLiteral("selectDemoPictureButton"));
    auto* layout = new QHBoxLayout;
    layout->addWidget(m_pDemoBMP, 1);
    layout->addWidget(choose, 0, Qt::AlignTop);

    connect(choose, &QPushButton::clicked, this, &CTqUiBSInfoDlg::OnBtnSelectdemobmp);
    connect(m_pDemoBMP, &CPictureCtrl::clicked, this, &CTqUiBSInfoDlg::OnStnClickedStcdemobmp);
    return layout;
}

QWidget* CTqUiBSInfoDlg::MakeValueArea()
{
    auto* values = new QGroupBox(QStringLiteral("传热系数"), this);
    m_pSummerCrXs = MakeValueBox(values, QStringLiteral("summerCrXsEdit"));
    m_pWinterCrXs = MakeValueBox(values, QStringLiteral("winterCrXsEdit"));
    m_pInnerCrXs = MakeValueBox(values, QStringLiteral("innerCrXsEdit"));
    m_pAttenuation = MakeValueBox(values, QStringLiteral("attenuationEdit"));
    m_pDelay = MakeValueBox(values, QStringLiteral("delayEdit"));
    m_pSummerHrXs = MakeValueBox(values, QStringLiteral("summerHrXsEdit"));
    m_pWinterHrXs = MakeValueBox(values, QStringLiteral("winterHrXsEdit"));
    m_pInnerHrXs = MakeValueBox(values, QStringLiteral("innerHrXsEdit"));
    QPushButton* summerThick = MakeButton(values, QStringLiteral("由K定厚度"), QStringLiteral("summerThickButton"));
    QPushButton* winterThick = MakeButton(values, QStringLiteral("由K定厚度"), QStringLiteral("winterThickButton"));

    const struct
    {
        const char* label;
        QLineEdit* box;
        QPushButton* button;
        bool bHidden;
    } rows[] = {{"夏季外传热系数:", m_pSummerCrXs, summerThick, false},
                {"冬季外传热系数:", m_pWinterCrXs, winterThick, false},
                {"内传热系数:", m_pInnerCrXs, nullptr, false},
                {"传热衰减:", m_pAttenuation, nullptr, false},
                {"传热延迟(h):", m_pDelay, nullptr, false},
                {"夏季外表面换热系数:", m_pSummerHrXs, nullptr, true},
                {"冬季外表面换热系数:", m_pWinterHrXs, nullptr, true},
                {"内表面换热系数:", m_pInnerHrXs, nullptr, true}};
    auto* layout = new QGridLayout(values);
    int row = 0;
    for (const auto& item : rows) {
        auto* label = new QLabel(QString::fromUtf8(item.label), values);
        layout->addWidget(label, row, 0);
        layout->addWidget(item.box, row, 1);
        if (item.button != nullptr)
            layout->addWidget(item.button, row, 2);
        // The surface coefficients come from the caller; the boxes only carry them.
        label->setVisible(!item.bHidden);
        item.box->setVisible(!item.bHidden);
        ++row;
    }
    m_pStatus = new QLabel(values);
    m_pStatus->setObjectName(QStringLiteral("thicknessStatus"));
    m_pStatus->setWordWrap(true);
    m_pStatus->setMinimumWidth(280);
    // Room for three lines from the start, so a message that appears moves nothing around it.
    m_pStatus->setMinimumHeight(3 * m_pStatus->fontMetrics().lineSpacing());
    m_pStatus->setAlignment(Qt::AlignLeft | Qt::AlignTop);
    layout->addWidget(m_pStatus, row, 0, 1, 3);
    layout->setRowStretch(row + 1, 1);

    // The summer and winter coefficients are inputs too, the targets of "由K定厚度": numbers only,
    // and red text says they can be typed into.
    for (QLineEdit* target : {m_pSummerCrXs, m_pWinterCrXs}) {
        target->setValidator(new QRegularExpressionValidator(DecimalPattern(), target));
        QPalette palette = target->palette();
        palette.setColor(QPalette::Active, QPalette::Text, kComputedRed);
        palette.setColor(QPalette::Inactive, QPalette::Text, kComputedRed);
        target->setPalette(palette);
    }

    connect(summerThick, &QPushButton::clicked, this, &CTqUiBSInfoDlg::OnBtnCalXj);
    connect(winterThick, &QPushButton::clicked, this, &CTqUiBSInfoDlg::OnBtnCalDj);
    for (QLineEdit* box : {m_pSummerHrXs, m_pWinterHrXs, m_pInnerHrXs})
        connect(box, &QLineEdit::textChanged, this, &CTqUiBSInfoDlg::OnChangeEdtHrxsNbm);
    for (QLineEdit* box : {m_pSummerHrXs, m_pInnerHrXs})
        box->installEventFilter(this);
    return values;
}

int CTqUiBSInfoDlg::OnInitDialog()
{
    DrawUI();
    ShowUIData();
    for (QLineEdit* result : {m_pInnerCrXs, m_pDelay, m_pAttenuation})
        result->setReadOnly(true);
    return 1;
}

void CTqUiBSInfoDlg::DrawUI()
{
    const int category = m_pPropertyGrid->AddCategory(QStringLiteral("围护结构"));
    if (m_Province.GetID() == 0)
        m_Province.Name = QStringLiteral("所有省份");
    const int province = m_pPropertyGrid->AddRow(category, kCaptionProvince, m_Province.Name);
    m_pPropertyGrid->SetRowReadOnly(province, true);
    const int bsdl = m_pPropertyGrid->AddRow(category, kCaptionCategory, m_Category.Name);
    m_pPropertyGrid->SetRowReadOnly(bsdl, true);
    m_pPropertyGrid->AddBoundRow(category, kCaptionType, &m_Type.Name, QStringLiteral("指定围护结构类型"));
    m_pPropertyGrid->AddBoundRow(category, kCaptionName, &m_Code.Name, QStringLiteral("指定围护结构名称"));
    m_pPropertyGrid->ExpandCategory(category);

    const struct
    {
        const char* header;
        int width;
    } columns[] = {{"材质名称(外-内)", 100}, {"厚度(mm)", 80}, {"导热修正系数", 80}};
    for (const auto& column : columns) {
        const QString header = QString::fromUtf8(column.header);
        m_pLayerGrid->AddColumn(header, ColumnWidth(m_pLayerGrid, header, column.width));
    }
    // Material names are the longest texts: the name column takes the room the others leave.
    m_pLayerGrid->header()->setStretchLastSection(false);
    m_pLayerGrid->header()->setSectionResizeMode(kNameCell, QHeaderView::Stretch);
    m_pLayerGrid->EnableSort(false);

    m_pSummerHrXs->setText(QString::asprintf("%.3f", m_CrXs.m_dWHrXs));
    m_pWinterHrXs->setText(QString::asprintf("%.3f", m_CrXs.m_dDjWHrXs));
    m_pInnerHrXs->setText(QString::asprintf("%.3f", m_CrXs.m_dNHrXs));

    CCtrlMenumGlobalSetting* menus = CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting();
    m_pLayerGrid->AttachMenItemAry(menus->GetBSInfoMenuAry());
    menus->Attach(QStringLiteral("材质"));
    m_pTimbTree->AttachMenItemAry(menus->GetBSInfoAddMenuAry());
    // The tree's items carry no check boxes: CMutiTreeCtrl makes none unless asked.
}

void CTqUiBSInfoDlg::ShowUIData()
{
    if (m_nMode == 1) {
        setWindowTitle(QStringLiteral("添加围护结构信息"));
        m_pExecute->setText(QStringLiteral("添加"));
    } else if (m_nMode == 2) {
        setWindowTitle(QStringLiteral("修改围护结构信息  修改:[%1]/[%2]").arg(m_Type.Name, m_Code.Name));
        m_pExecute->setText(QStringLiteral("修改"));
    }

    // One row per material. Stored lists can be shorter than the material list, or name a
    // material that is gone; each row shows what it counts as: a missing thickness as 0 mm, a
    // missing correction factor as 1, a missing material by its ID (its layer has no values, so
    // the results show "-" until the layer is removed).
    QStringList storedIds;
    TQLoad::SplitString(m_BoundingStructure.TIdS, storedIds, QLatin1Char(','));
    const CTQBoundingStructure& layers = m_BoundingStructure;
    for (int i = 0; i < layers.m_StuffAry.GetSize(); ++i) {
        const CTQMateralData& material = layers.m_StuffAry[i];
        int stuffId = material.GetStuffID();
        QString name = material.GetStuffName();
        if (stuffId == 0) {
            stuffId = i < storedIds.size() ? TQLoad::LeadingInt(storedIds.at(i)) : 0;
            name = QStringLiteral("（ID %1 的材质不存在）").arg(stuffId);
        }
        const double thick = i < layers.m_HouDuAry.GetSize() ? layers.m_HouDuAry[i] : 0.0;
        const double factor = i < layers.m_XzXsAry.GetSize() ? layers.m_XzXsAry[i] : 1.0;
        InsertLayerRow(m_pLayerGrid->RowCount(), {name, TQLoad::DblToStr(thick, kLayerDecimals),
                                                  TQLoad::DblToStr(factor, kLayerDecimals), TQLoad::IntToStr(stuffId)});
    }

    CalculateCRXS();
    ShowDemoBMP(m_Type, m_Code);

    m_pTimbTree->DeleteAllItems();
    if (tagBSNode* root = m_BSDataAdmin.GetTimbNodes(1)) {
        for (tagBSNode* heading : root->Children)
            _InitTimbTree(heading, nullptr);
    }
}

void CTqUiBSInfoDlg::_InitTimbTree(tagBSNode* node, QTreeWidgetItem* parentItem)
{
    if (node == nullptr)
        return;
    QTreeWidgetItem* item = m_pTimbTree->InsertItem(node->Name, parentItem, node);
    for (tagBSNode* child : node->Children)
        _InitTimbTree(child, item);
    item->setExpanded(node->Expand != 0);
}

// ---------------------------------------------------------------------------------------------
// Layers

void CTqUiBSInfoDlg::InsertLayerRow(int row, const QStringList& cells)
{
    const int index = m_pLayerGrid->InsertRow(row, cells);
    m_pLayerGrid->SetCellEditable(index, kThickCell, true);
    m_pLayerGrid->SetCellEditable(index, kXzXsCell, true);
}

void CTqUiBSInfoDlg::OnBtnAddt()
{
    QTreeWidgetItem* item = m_pTimbTree->currentItem();
    if (item == nullptr) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择某一具体的材质！"), QMessageBox::Warning);
        return;
    }
    const auto* node = static_cast<const tagBSNode*>(CMutiTreeCtrl::GetItemNode(item));
    if (node == nullptr) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("读取节点数据出错！"), QMessageBox::Warning);
        return;
    }
    if (node->NodeType != TQLoad::BSN_Timbering) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择某一具体的材质！"), QMessageBox::Warning);
        return;
    }
    // A new layer is 1 mm thick with correction factor 1, innermost.
    InsertLayerRow(m_pLayerGrid->RowCount(),
                   {node->Name, QStringLiteral("1.00"), QStringLiteral("1.00"), TQLoad::IntToStr(node->ID)});
    SetStatus({});
    CalculateCRXS();
}

void CTqUiBSInfoDlg::OnDblclkTreeTimb()
{
    QTreeWidgetItem* item = m_pTimbTree->currentItem();
    const auto* node = static_cast<const tagBSNode*>(CMutiTreeCtrl::GetItemNode(item));
    if (node != nullptr && node->NodeType == TQLoad::BSN_Timbering)
        OnBtnAddt();
}

void CTqUiBSInfoDlg::OnBtnDelt()
{
    const int row = m_pLayerGrid->GetFocusedRow();
    if (row < 0)
        return;
    m_pLayerGrid->RemoveRow(row);
    SetStatus({});
    CalculateCRXS();
}

void CTqUiBSInfoDlg::OnDeleteKeyClick()
{
    OnBtnDelt();
}

void CTqUiBSInfoDlg::OnButtonUpt()
{
    MoveFocusedLayer(-1);
}

void CTqUiBSInfoDlg::OnButtonDownt()
{
    MoveFocusedLayer(1);
}

void CTqUiBSInfoDlg::MoveFocusedLayer(int step)
{
    const int row = m_pLayerGrid->GetFocusedRow();
    const int target = row + step;
    if (row < 0 || target < 0 || target >= m_pLayerGrid->RowCount())
        return;
    // The row is rebuilt from its four texts; a red computed thickness becomes ordinary text.
    const QStringList cells = m_pLayerGrid->GetRowTexts(row);
    m_pLayerGrid->RemoveRow(row);
    InsertLayerRow(target, cells);
    m_pLayerGrid->SetFocusedRow(target);
    SetStatus({});
    CalculateCRXS();
}

void CTqUiBSInfoDlg::OnCellEdited(int row, int col, const QString& text)
{
    // The validator lets an unfinished number through ("", "-", "1e"); the cell then shows the
    // number it counts as, so what is saved is what was computed.
    if (!IsDecimal(text))
        m_pLayerGrid->SetCellText(row, col, TQLoad::DblToStr(TQLoad::LeadingDouble(text), kLayerDecimals));
    SetStatus({});
    OnTimbofbsSelChange();
}

void CTqUiBSInfoDlg::OnTimbofbsSelChange()
{
    CalculateCRXS();
}

void CTqUiBSInfoDlg::OnMenuCommand(int command)
{
    switch (command) {
    case TQMenuCommand::Add:
        OnBtnAddt();
        break;
    case TQMenuCommand::Delete:
        OnBtnDelt();
        break;
    case TQMenuCommand::MoveUp:
        OnButtonUpt();
        break;
    case TQMenuCommand::MoveDown:
        OnButtonDownt();
        break;
    default:
        break;
    }
}

// ---------------------------------------------------------------------------------------------
// Coefficients and thickness

void CTqUiBSInfoDlg::OnChangeEdtHrxsNbm()
{
    CalculateCRXS();
}

void CTqUiBSInfoDlg::OnBtnCalXj()
{
    CalculateHouDu(0);
}

void CTqUiBSInfoDlg::OnBtnCalDj()
{
    CalculateHouDu(1);
}

void CTqUiBSInfoDlg::BuildWallData(CTQWallData& wall)
{
    // The materials of all rows are read afresh with one statement per computation. A material
    // that cannot be read leaves its layer without values: the results then show "-" rather than
    // a coefficient that quietly lacks a layer.
    QList<int> materialIds;
    for (int row = 0; row < m_pLayerGrid->RowCount(); ++row)
        materialIds.append(TQLoad::LeadingInt(m_pLayerGrid->GetCellText(row, kStuffIdCell)));
    const CTQArray<CTQTimbering> materials = m_BSDataAdmin.GetTimberings(materialIds);

    CTQArray<CTQTimberingData> layers;
    for (int row = 0; row < m_pLayerGrid->RowCount(); ++row) {
        const CTQTimbering& material = materials.GetAt(row);
        CTQTimberingData layer;
        layer.SetStuffID(material.GetID()); // the profile looks up the material's vapour data by it
        layer.SetStuffName(material.GetStuffName());
        layer.SetBRr(material.GetBRr());
        layer.SetDrXs(material.GetDrXs());
        layer.SetGMD(material.GetGMD());
        layer.SetThick(TQLoad::LeadingDouble(m_pLayerGrid->GetCellText(row, kThickCell)) / kMillimetresPerMetre);
        layer.SetDrXsXz(TQLoad::LeadingDouble(m_pLayerGrid->GetCellText(row, kXzXsCell)));
        layers.Add(layer);
    }
    wall.SetTimbering(layers, false);
    wall.SetDjWHrXsData(TQLoad::LeadingDouble(m_pWinterHrXs->text()), false);
    wall.SetWHrXsData(TQLoad::LeadingDouble(m_pSummerHrXs->text()), false);
    wall.SetNHrXsData(TQLoad::LeadingDouble(m_pInnerHrXs->text()), false);
}

void CTqUiBSInfoDlg::CurrectHouDu()
{
    for (int row = 0; row < m_pLayerGrid->RowCount(); ++row) {
        if (TQLoad::LeadingDouble(m_pLayerGrid->GetCellText(row, kThickCell)) / kMillimetresPerMetre < 0.0)
            m_pLayerGrid->SetCellText(row, kThickCell, QStringLiteral("0"));
    }
}

void CTqUiBSInfoDlg::OnBtnProfile()
{
    // The layers as they stand in the grid, saved or not.
    CurrectHouDu();
    CTQWallData wall;
    BuildWallData(wall);
    wall.m_strBSCName = m_Code.Name;
    CTqUiBSProfileDlg dialog(wall, m_Province.GetID(), this);
    dialog.exec();
}

void CTqUiBSInfoDlg::OnBtnSheet()
{
    // The names and layers as they stand in the dialog, saved or not, evaluated as shown.
    CurrectHouDu();
    CTQBSConstructionSheet::Entry entry;
    BuildWallData(entry.Wall);
    entry.Wall.Cal(1);
    entry.Wall.Cal(0);
    entry.Wall.m_strBSCName = m_Code.Name;
    entry.Category = m_Category.Name;
    entry.Type = m_Type.Name;
    entry.Province = m_Province.GetID() > 0 ? m_Province.Name : QString();
    CTQBSConstructionSheet::ExportAsked(this, entry);
}

void CTqUiBSInfoDlg::CalculateCRXS()
{
    CurrectHouDu();
    CTQWallData wall;
    BuildWallData(wall);
    wall.Cal(1);
    wall.Cal(0);
    ShowResults(wall);
    AnnounceSizedLayer(wall);
    // A drawn section follows the layers as they are edited; a picture file stays as it is.
    if (m_strDemoBMPFile.isEmpty())
        m_pDemoBMP->SetImage(DemoImage());
}

void CTqUiBSInfoDlg::ShowResults(const CTQWallData& wall)
{
    m_pSummerCrXs->setText(TQLoad::DblToStr(wall.GetCrXs(), kResultDecimals));
    m_pAttenuation->setText(TQLoad::DblToStr(wall.GetSj(), kResultDecimals));
    m_pDelay->setText(TQLoad::DblToStr(wall.GetYc(), kDelayDecimals));
    m_pWinterCrXs->setText(TQLoad::DblToStr(wall.GetDjCrXs(), kResultDecimals));
    m_pInnerCrXs->setText(TQLoad::DblToStr(wall.GetNCrXs(), kResultDecimals));
}

void CTqUiBSInfoDlg::CalculateHouDu(int season)
{
    CTQWallData wall;
    BuildWallData(wall);
    int index = -1;
    double thickness = 0.0;
    const bool bWinter = season != 0;
    const QString targetText = (bWinter ? m_pWinterCrXs : m_pSummerCrXs)->text();
    const double target = TQLoad::LeadingDouble(targetText);
    wall.Cal(bWinter ? 1 : 0);
    const double reached = bWinter ? wall.GetDjCrXs() : wall.GetCrXs();
    if (std::fabs(target - reached) < kTargetTolerance) {
        SetStatus(QStringLiteral("传热系数与目标相差不到0.01，厚度未改变"));
        return;
    }
    if (bWinter)
        wall.CurrectDjThick(target, index, thickness);
    else
        wall.CurrectThick(target, index, thickness);

    // The search may need a layer thinner than nothing: the target lies above what the other
    // layers allow. The layer then gets 0 and the status says the target is out of reach.
    const bool bUnreachable = !(thickness > 0.0);
    if (thickness < 0.0)
        thickness = 0.0;
    QString status = QStringLiteral("没有可由K定厚度的层，厚度未改变");
    if (index >= 0 && index < m_pLayerGrid->RowCount()) {
        const QString before =
            TQLoad::DblToStr(TQLoad::LeadingDouble(m_pLayerGrid->GetCellText(index, kThickCell)), kLayerDecimals);
        const QString after = QString::asprintf("%.2f", thickness * kMillimetresPerMetre);
        m_pLayerGrid->SetCellText(index, kThickCell, after);
        m_pLayerGrid->SetCellTextColor(index, kThickCell, kComputedRed);
        const QString layer = LayerCaption(index);
        status = bUnreachable ? QStringLiteral("目标传热系数 %1 达不到：%2减到0也不够，已置为%3 mm，请改正")
                                    .arg(targetText.trimmed(), layer, after)
                              : QStringLiteral("%1：%2 → %3 mm").arg(layer, before, after);
    }
    CalculateCRXS();
    SetStatus(status);
}

void CTqUiBSInfoDlg::AnnounceSizedLayer(const CTQWallData& wall)
{
    const int index = wall.GetCurrectThickLayer();
    SetStatus(index >= 0 && index < m_pLayerGrid->RowCount()
                  ? QStringLiteral("由K定厚度将改变%1的厚度").arg(LayerCaption(index))
                  : QString());
}

QString CTqUiBSInfoDlg::LayerCaption(int row) const
{
    return QStringLiteral("第%1层 %2").arg(row + 1).arg(m_pLayerGrid->GetCellText(row, kNameCell));
}

void CTqUiBSInfoDlg::SetStatus(const QString& text)
{
    m_pStatus->setText(text);
}

bool CTqUiBSInfoDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (PreTranslateMessage(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool CTqUiBSInfoDlg::PreTranslateMessage(QObject* target, QEvent* event)
{
    const QEvent::Type type = event->type();
    if (type != QEvent::KeyPress && type != QEvent::KeyRelease)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    if (target != m_pSummerHrXs && target != m_pInnerHrXs)
        return false;
    if (type == QEvent::KeyPress)
        CalculateCRXS();
    return true;
}

// ---------------------------------------------------------------------------------------------
// Demo picture

void CTqUiBSInfoDlg::ShowDemoBMP(CTQBSType& type, CTQBSCode& code)
{
    m_strDemoBMPFile.clear();
    m_pDemoBMP->SetImage(m_BSDataAdmin.GetBSDemoImage(type, code, m_Category.Name, GridLayers(), m_Province.Name));
}

void CTqUiBSInfoDlg::ShowDemoBMP(const QString& path)
{
    m_pDemoBMP->update();
    m_pDemoBMP->LoadImageW(path);
}

QImage CTqUiBSInfoDlg::DemoImage()
{
    if (!m_strDemoBMPFile.isEmpty())
        return CPictureEx::ReadImage(m_strDemoBMPFile);
    return m_BSDataAdmin.GetBSDemoImage(m_Type, m_Code, m_Category.Name, GridLayers(), m_Province.Name);
}

QList<CTQBSSectionPicture::Layer> CTqUiBSInfoDlg::GridLayers() const
{
    QList<CTQBSSectionPicture::Layer> layers;
    for (int row = 0; row < m_pLayerGrid->RowCount(); ++row)
        layers.append({m_pLayerGrid->GetCellText(row, kNameCell),
                       TQLoad::LeadingDouble(m_pLayerGrid->GetCellText(row, kThickCell))});
    return layers;
}

void CTqUiBSInfoDlg::OnBtnSelectdemobmp()
{
    const QString chosen = CTQUiService::Instance().GetOpenFileName(this, QString(), QString(),
                                                                    QStringLiteral("墙体形象图形文件(*.JPG)|*.JPG||"));
    if (chosen.isEmpty())
        return;
    ShowDemoBMP(chosen);
    m_strDemoBMPFile = chosen;
}

void CTqUiBSInfoDlg::OnStnClickedStcdemobmp()
{
    if (m_Code.BSTId == 0 && m_strDemoBMPFile.isEmpty())
        return;
    const QImage picture = DemoImage();
    if (picture.isNull())
        return;
    CTqUiBSViewPicDlg viewer(picture, this);
    viewer.DoModal();
}

// ---------------------------------------------------------------------------------------------
// Saving

int CTqUiBSInfoDlg::CheckData(int flag)
{
    m_Code.Name = m_Code.Name.trimmed();
    m_pPropertyGrid->RefreshBoundRows();
    if (m_Type.Name.isEmpty() && flag == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请输入围护结构的类型！"), QMessageBox::Warning);
        m_pPropertyGrid->SelectRow(kCaptionType);
        return 0;
    }
    if (m_Code.Name.isEmpty() && flag == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请输入围护结构的名称！"), QMessageBox::Warning);
        m_pPropertyGrid->SelectRow(kCaptionName);
        return 0;
    }
    QStringList ids;
    QStringList thicknesses;
    QStringList factors;
    for (int row = 0; row < m_pLayerGrid->RowCount(); ++row) {
        ids.append(m_pLayerGrid->GetCellText(row, kStuffIdCell));
        thicknesses.append(m_pLayerGrid->GetCellText(row, kThickCell));
        factors.append(m_pLayerGrid->GetCellText(row, kXzXsCell));
    }
    m_BoundingStructure.TIdS = ids.join(QLatin1Char(','));
    m_BoundingStructure.HouDuS = thicknesses.join(QLatin1Char(','));
    m_BoundingStructure.XzXsS = factors.join(QLatin1Char(','));
    return 1;
}

void CTqUiBSInfoDlg::OnBtnExecute()
{
    if (CheckData(0) == 0)
        return;

    CTQUiService& service = CTQUiService::Instance();
    const auto showExisting = [this, &service] {
        CTQBSType stored;
        stored.ReadData(m_Code.BSTId, nullptr);
        service.MessageBox(this,
                           QStringLiteral("该名称的围护结构已经存在！\r\n[%1] - [%2]").arg(stored.Name, m_Code.Name),
                           QMessageBox::Warning);
        m_pPropertyGrid->SelectRow(kCaptionName);
    };

    if (m_nMode == 1) {
        m_Type.BSDLId = m_Category.GetID();
        const TQLoad::DBStatusCode typeStatus = m_Type.AddIfNotExist(nullptr, 1);
        if (typeStatus == TQLoad::DBS_Failed) {
            service.MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                               QMessageBox::Critical);
            return;
        }
        if (typeStatus == TQLoad::DBS_Added)
            m_bChanged = 1;
        // DBS_Exist: the type is now the stored one of that name, and the construction joins it.
        m_Code.BSTId = m_Type.GetID();
        m_Code.ProvinceId = m_Province.GetID();
        const TQLoad::DBStatusCode codeStatus = m_Code.AddIfNotExist(nullptr, 1);
        if (codeStatus == TQLoad::DBS_Exist) {
            showExisting();
            return;
        }
        if (codeStatus == TQLoad::DBS_Failed) {
            service.MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                               QMessageBox::Critical);
            return;
        }
    } else if (m_nMode == 2) {
        const CTQBSType typeBefore = m_Type;
        const TQLoad::DBStatusCode typeStatus = m_Type.UpdateIfNoOther(nullptr, 1);
        if (typeStatus == TQLoad::DBS_Failed) {
            service.MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                               QMessageBox::Critical);
            return;
        }
        if (typeStatus == TQLoad::DBS_Updated)
            m_bChanged = 1;
        // DBS_Exist: another type has the name; the type is now that one and the construction moves.
        const CTQBSCode codeBefore = m_Code;
        m_Code.BSTId = m_Type.GetID();
        const TQLoad::DBStatusCode codeStatus = m_Code.UpdateIfNoOther(nullptr, 1);
        if (codeStatus == TQLoad::DBS_Failed) {
            service.MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                               QMessageBox::Critical);
            return;
        }
        if (codeStatus == TQLoad::DBS_Exist) {
            showExisting();
            m_Code = codeBefore;
            m_Type = typeBefore;
            m_pPropertyGrid->RefreshBoundRows();
            return;
        }
    }

    if (m_strDemoBMPFile.isEmpty()) {
        m_BoundingStructure.HaveDemoBMP = 0;
    } else {
        m_BoundingStructure.HaveDemoBMP = 1;
        const QString codePicture = m_BSDataAdmin.GetBSDemoBMPPath(m_Type, m_Code);
        const QString typePicture = m_BSDataAdmin.GetBSTDemoBMPPath(m_Type);
        const auto samePath = [this](const QString& path) {
            return QDir::cleanPath(m_strDemoBMPFile).compare(QDir::cleanPath(path), Qt::CaseInsensitive) == 0;
        };
        if (!samePath(codePicture) && !samePath(typePicture)) {
            TQLoad::MakeFolder(codePicture.left(codePicture.lastIndexOf(QLatin1Char('/')) + 1));
            // A picture the construction had before is replaced. The copy's outcome is not
            // reported: the construction is saved either way.
            QFile::remove(codePicture);
            QFile::copy(m_strDemoBMPFile, codePicture);
        }
    }

    m_bChanged = 1;
    m_BoundingStructure.BSCId = m_Code.GetID();
    m_BoundingStructure.AddOrUpdate(nullptr);
    done(QDialog::Accepted);
}
