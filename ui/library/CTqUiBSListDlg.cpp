#include "ui/library/CTqUiBSListDlg.h"
#include "ui_CTqUiBSListDlg.h"

#include "host/ui/CCtrlMenumGlobalSetting.h"
#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CPictureCtrl.h"
#include "host/ui/CSuperEdit.h"
#include "host/core/CTQContextResourceOverride.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CTQUiService.h"
#include "host/ui/CTqUiReportControl.h"
#include "host/core/TQString.h"
#include "host/ui/TQToolTip.h"
#include "library/CTQBSConstructionSheet.h"
#include "ui/TQGridColumns.h"
#include "ui/TQWallModule.h"
#include "ui/common/CTqUiLibraryTree.h"
#include "ui/editor/CTqUiBSInfoDlg.h"
#include "ui/library/CTqUiBSProfileDlg.h"
#include "ui/library/CTqUiBSExchangeDlg.h"
#include "ui/library/CTqUiBSViewPicDlg.h"
#include "ui/materials/CTqUiStuffListDlg.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QIcon>
#include <QKeyEvent>
#include <QScopeGuard>

namespace {

/// Decimals of the construction list: coefficients and attenuation 2, delay (h) 1; of the layer
/// grid: thickness (mm) and correction factor 2.
constexpr int kCoefficientDecimals = 2;
constexpr int kDelayDecimals = 1;
constexpr int kLayerDecimals = 2;

/// The library keeps layer thicknesses in millimetres, the wall data in metres.
constexpr double kMillimetresPerMetre = 1000.0;

/// Accepted range of a surface heat-exchange coefficient, W/(m²·K).
constexpr double kLowestHrXs = 1e-6;
constexpr double kHighestHrXs = 1e30;

const QString kPlacementSection = QStringLiteral("Placement");

/// The tool tip an action button shows while it is allowed.
constexpr char kActionToolTip[] = "tqwallActionToolTip";

const CTQLibraryPermissions& LibraryPermissions()
{
    return CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase()->GetPermissions();
}

using TQLoad::TQGridColumn;

constexpr TQGridColumn kListColumns[] = {{"名称", 100},
                                         {"传热系数(夏)(W/m^2·K)", 80},
                                         {"传热系数(冬)(W/m^2·K)", 80},
                                         {"传热系数(内)(W/m^2·K)", 80},
                                         {"传热衰减", 80},
                                         {"传热延迟(h)", 80}};
constexpr TQGridColumn kLayerColumns[] = {{"材质名称(外-内)", 100}, {"厚度(mm)", 80}, {"导热修正系数", 80}};

/// The name, the longest text of a row, takes the room the other columns leave.
constexpr int kNameColumn = 0;

/// The tree grows to show its longest type name up to this width, px; beyond it the name reads
/// in its tool tip.
constexpr int kWidestTree = 320;

CTQCrXs DefaultCrXs()
{
    CTQCrXs crxs;
    crxs.Init();
    return crxs;
}

CTqUiReportControl* MakeGrid(QWidget* placeholder, const QString& objectName)
{
    auto* grid = new CTqUiReportControl(placeholder);
    grid->setObjectName(objectName);
    placeholder->layout()->addWidget(grid);
    return grid;
}

} // namespace

CTqUiBSListDlg::CTqUiBSListDlg(QWidget* parent) : CTqUiBSListDlg(DefaultCrXs(), parent) {}

CTqUiBSListDlg::CTqUiBSListDlg(CTQCrXs crxs, QWidget* parent)
    : QDialog(parent), m_CrXs(crxs), m_QueryDlg(this), m_ui(std::make_unique<Ui::CTqUiBSListDlg>())
{
    m_ui->setupUi(this);
    setWindowIcon(QIcon(QStringLiteral(":/tqwall/icons/bslist.png")));
    setWindowFlag(Qt::WindowMaximizeButtonHint);

    m_pTree = new CTqUiLibraryTree(m_ui->bsTree);
    m_pBSList = MakeGrid(m_ui->bsListPlaceholder, QStringLiteral("bsList"));
    m_pLayerGrid = MakeGrid(m_ui->layerGridPlaceholder, QStringLiteral("layerGrid"));
    m_pDemoBMP = new CPictureCtrl(1, m_ui->bsDemoPicturePlaceholder);
    m_pDemoBMP->setObjectName(QStringLiteral("bsDemoPicture"));
    m_pDemoBMP->setFrameShape(QFrame::StyledPanel);
    m_ui->bsDemoPicturePlaceholder->layout()->addWidget(m_pDemoBMP);

    // The calculation controls exist for hosts that show them; the library keeps them hidden.
    m_ui->calculateButton->hide();
    m_ui->autoCalculateCheckBox->hide();
    ConnectAction(m_ui->addButton, &CTqUiBSListDlg::OnBtnAdd);
    ConnectAction(m_ui->modifyButton, &CTqUiBSListDlg::OnBtnModify);
    ConnectAction(m_ui->deleteButton, &CTqUiBSListDlg::OnBtnDel);
    ConnectAction(m_ui->copyButton, &CTqUiBSListDlg::OnBtnCopy);
    ConnectAction(m_ui->calculateButton, &CTqUiBSListDlg::OnBtnCal);
    ConnectAction(m_ui->queryButton, &CTqUiBSListDlg::OnButtonQuery);
    ConnectAction(m_ui->materialButton, &CTqUiBSListDlg::OnBtnTimb);
    ConnectAction(m_ui->exportButton, &CTqUiBSListDlg::OnBtnExport);
    ConnectAction(m_ui->importButton, &CTqUiBSListDlg::OnBtnImport);
    for (QPushButton* button : {m_ui->addButton, m_ui->modifyButton, m_ui->deleteButton, m_ui->copyButton,
                                m_ui->calculateButton, m_ui->materialButton, m_ui->queryButton})
        EnableAction(button, false);
    auto* profileButton = new QPushButton(QStringLiteral("温湿度分布"), this);
    profileButton->setObjectName(QStringLiteral("profileButton"));
    profileButton->setAutoDefault(false);
    m_ui->actionLayout->insertWidget(m_ui->actionLayout->indexOf(m_ui->materialButton) + 1, profileButton);
    connect(profileButton, &QPushButton::clicked, this, &CTqUiBSListDlg::OnBtnProfile);
    auto* sheetButton = new QPushButton(QStringLiteral("导出计算书"), this);
    sheetButton->setObjectName(QStringLiteral("sheetButton"));
    sheetButton->setAutoDefault(false);
    m_ui->actionLayout->insertWidget(m_ui->actionLayout->indexOf(profileButton) + 1, sheetButton);
    connect(sheetButton, &QPushButton::clicked, this, &CTqUiBSListDlg::OnBtnSheet);

    connect(m_ui->bsTree, &QTreeWidget::currentItemChanged, this, &CTqUiBSListDlg::OnSelchangedTreeBs);
    connect(m_ui->bsTree, &QTreeWidget::itemClicked, this, &CTqUiBSListDlg::OnClickTreeBs);
    connect(m_pBSList, &CTqUiReportControl::rowClicked, this, [this](int row, int) { OnBSNameCLick(row); });
    connect(m_pBSList, &QTreeWidget::itemSelectionChanged, this, &CTqUiBSListDlg::OnBSListSelChanged);
    connect(m_pBSList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OnBSNameDbClk(m_pBSList->indexOfTopLevelItem(item)); });
    connect(m_pLayerGrid, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OnBSTimbDbClk(m_pLayerGrid->indexOfTopLevelItem(item)); });
    connect(m_pBSList, &CTqUiReportControl::deleteKeyPressed, this, &CTqUiBSListDlg::OnDeleteKeyClick);
    connect(m_pBSList, &CTqUiReportControl::menuCommand, this, &CTqUiBSListDlg::OnMenuCommand);
    // The host's menus are shared and any dialog opened from here may restore their defaults when
    // it ends: the items' states are set from the choice each time the menu opens.
    connect(m_pBSList, &CTqUiReportControl::menuAboutToShow, this, &CTqUiBSListDlg::UpdateActionUI);
    connect(m_ui->autoCalculateCheckBox, &QCheckBox::clicked, this, &CTqUiBSListDlg::OnBtnAutoCal);
    connect(m_pDemoBMP, &CPictureCtrl::clicked, this, &CTqUiBSListDlg::OnStnClickedStcdemobmp);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CTqUiBSListDlg::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CTqUiBSListDlg::reject);
    for (CSuperEdit* field : {m_ui->summerHrXsEdit, m_ui->winterHrXsEdit, m_ui->innerHrXsEdit})
        field->installEventFilter(this);
    m_pBSList->viewport()->installEventFilter(this);
    m_pLayerGrid->viewport()->installEventFilter(this);
}

CTqUiBSListDlg::~CTqUiBSListDlg()
{
    CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting()->ResumeDefult();
    // A window that was never closed is torn down here.
    if (m_bWindowBuilt) {
        SavePlacement();
        OnDestroy();
    }
    // The child controls outlive this part of the object; what they report while Qt deletes them
    // must not reach members that are already gone.
    for (QObject* control : findChildren<QObject*>())
        control->disconnect(this);
}

QString CTqUiBSListDlg::PlacementKey()
{
    return QStringLiteral("围护结构对话框位置");
}

void CTqUiBSListDlg::SetCrXs(const CTQWallData& wall)
{
    m_CrXs.m_dNHrXs = wall.GetNHrXsData();
    m_CrXs.m_dWHrXs = wall.GetWHrXsData();
    m_CrXs.m_dDjWHrXs = wall.GetDjWHrXsData();
}

int CTqUiBSListDlg::DoModal()
{
    const CTQContextResourceOverride resources(TQLoad::GetTQWallModule());
    return exec();
}

// ---------------------------------------------------------------------------------------------
// Window life

void CTqUiBSListDlg::setVisible(bool visible)
{
    // The window content is built when the window is about to appear, so the placement is restored
    // before it is seen.
    if (visible && !m_bWindowBuilt) {
        m_bWindowBuilt = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

int CTqUiBSListDlg::OnInitDialog()
{
    InitActionButtons();
    m_ui->autoCalculateCheckBox->setChecked(true);
    AttachListMenu();

    DrawUI();
    ResetBSTree();
    ShowUIData();

    if (m_bMustSelect == 1) {
        for (CSuperEdit* field : {m_ui->summerHrXsEdit, m_ui->winterHrXsEdit, m_ui->innerHrXsEdit})
            field->setReadOnly(true);
    }
    RestorePlacement();
    return 1;
}

void CTqUiBSListDlg::done(int result)
{
    SavePlacement();
    QDialog::done(result);
    OnDestroy();
}

void CTqUiBSListDlg::OnDestroy()
{
    if (!m_bWindowBuilt)
        return;
    m_bWindowBuilt = false;
    // The items carry pointers into the trees that are freed next; emptying the tree is no
    // selection by the user, and the choice the caller reads stays as it is.
    m_pTree->Clear();
    m_BSDataAdmin.Release();
}

void CTqUiBSListDlg::RestorePlacement()
{
    const QString stored =
        CTQDBGlobalSetting::GetGlobalSetting()->GetSysIni(kPlacementSection, PlacementKey(), QString());
    if (!stored.isEmpty())
        restoreGeometry(QByteArray::fromBase64(stored.toLatin1()));
}

void CTqUiBSListDlg::SavePlacement()
{
    if (!m_bWindowBuilt)
        return;
    CTQDBGlobalSetting::GetGlobalSetting()->WriteSysIni(kPlacementSection, PlacementKey(),
                                                        QString::fromLatin1(saveGeometry().toBase64()));
}

// ---------------------------------------------------------------------------------------------
// Window content

void CTqUiBSListDlg::InitActionButtons()
{
    CTqUiLibraryTree::DecorateActions({{m_ui->addButton, "add", "添加"},
                                       {m_ui->modifyButton, "modify", "修改"},
                                       {m_ui->deleteButton, "delete", "删除"},
                                       {m_ui->copyButton, "copy", "复制"},
                                       {m_ui->calculateButton, "calculate", "计算"},
                                       {m_ui->materialButton, "material", "材质管理"}});
}

void CTqUiBSListDlg::AttachListMenu()
{
    CCtrlMenumGlobalSetting* menus = CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting();
    m_pMenuItems = menus->GetBSListMenuAry(m_bCommon != 0);
    m_pBSList->AttachMenItemAry(m_pMenuItems);
    menus->Attach(QStringLiteral("围护结构"));
}

void CTqUiBSListDlg::DrawUI()
{
    // The columns are made once; a dialog shown a second time keeps them.
    if (m_pBSList->columnCount() == 0) {
        m_pBSList->EnableSort(false);
        TQLoad::AddGridColumns(m_pBSList, kListColumns);
    }
    if (m_pLayerGrid->columnCount() == 0) {
        m_pLayerGrid->EnableSort(false);
        TQLoad::AddGridColumns(m_pLayerGrid, kLayerColumns);
    }
    m_ui->winterHrXsEdit->SetInputFloat(m_CrXs.m_dDjWHrXs, kLowestHrXs, kHighestHrXs, 0, 1,
                                        QStringLiteral("冬季外表面换热系数应大于0"));
    m_ui->summerHrXsEdit->SetInputFloat(m_CrXs.m_dWHrXs, kLowestHrXs, kHighestHrXs, 0, 1,
                                        QStringLiteral("夏季外表面换热系数应大于0"));
    m_ui->innerHrXsEdit->SetInputFloat(m_CrXs.m_dNHrXs, kLowestHrXs, kHighestHrXs, 0, 1,
                                       QStringLiteral("内表面换热系数应大于0"));
}

void CTqUiBSListDlg::DoDataExchange(bool bSaveAndValidate)
{
    if (bSaveAndValidate) {
        m_CrXs.m_dWHrXs = m_ui->summerHrXsEdit->GetWindowValue();
        m_CrXs.m_dDjWHrXs = m_ui->winterHrXsEdit->GetWindowValue();
        m_CrXs.m_dNHrXs = m_ui->innerHrXsEdit->GetWindowValue();
    } else {
        m_ui->summerHrXsEdit->SetWindowValue(m_CrXs.m_dWHrXs);
        m_ui->winterHrXsEdit->SetWindowValue(m_CrXs.m_dDjWHrXs);
        m_ui->innerHrXsEdit->SetWindowValue(m_CrXs.m_dNHrXs);
    }
}

// ---------------------------------------------------------------------------------------------
// Tree

void CTqUiBSListDlg::ResetBSTree()
{
    // Removing and inserting items moves the selection, and each move resets the current records.
    const CTQBSCategory category = m_Category;
    const CTQBSCode code = m_Code;
    const CTQBSType type = m_Type;
    m_bSavedCommon = m_bCommon;

    // The items go before the rebuild frees the nodes they point to.
    m_ui->bsTree->DeleteAllItems();
    m_pTree->Fill(m_BSDataAdmin.GetBSNodes(1));
    m_pTree->FitWidthToCaptions(kWidestTree);

    m_Category = category;
    m_Code = code;
    m_Type = type;
    m_bCommon = m_bSavedCommon;
}

void CTqUiBSListDlg::ShowUIData()
{
    if (m_Code.GetID() >= 1) {
        m_Code.ReadData(m_Code.GetID(), nullptr);
        m_Type.ReadData(m_Code.BSTId, nullptr);
        m_Category.ReadData(m_Type.BSDLId, nullptr);
        m_WallData.m_nBSCId = m_Code.GetID();
    } else if (m_WallData.m_nBSCId >= 1) {
        const int codeId = m_WallData.m_nBSCId;
        m_Code.ReadData(codeId, nullptr);
        m_Type.ReadData(m_Code.BSTId, nullptr);
        m_Category.ReadData(m_Type.BSDLId, nullptr);
        m_Code.SetID(codeId);
    } else if (m_Type.GetID() < 1) {
        if (m_Category.GetID() > 0) {
            m_Category.ReadData(m_Category.GetID(), nullptr);
            m_Type = CTQBSType();
            m_Code = CTQBSCode();
            m_WallData = CTQWallData();
            m_BoundingStructure = CTQBoundingStructure();
        }
    } else {
        m_Type.ReadData(m_Type.GetID(), nullptr);
        m_Category.ReadData(m_Type.BSDLId, nullptr);
        m_Code = CTQBSCode();
        m_WallData = CTQWallData();
        m_BoundingStructure = CTQBoundingStructure();
    }

    if (m_Code.ProvinceId > 0)
        m_Province.ReadData(m_Code.ProvinceId, nullptr);
    // A selection that moves lists and evaluates the type's constructions already; they are
    // read and evaluated a second time only when it stayed, or listed them without evaluating.
    const QTreeWidgetItem* selectedBefore = m_ui->bsTree->currentItem();
    TreeSelectItem(m_Category, m_Type);
    if (m_ui->bsTree->currentItem() == selectedBefore || !m_ui->autoCalculateCheckBox->isChecked())
        ResetGridBSC(true);
}

void CTqUiBSListDlg::TreeSelectItem(CTQBSCategory& category, CTQBSType& type)
{
    CMutiTreeCtrl* tree = m_ui->bsTree;
    if (tree->topLevelItemCount() < 3)
        return;

    QTreeWidgetItem* start = tree->topLevelItem(0); // "所有围护结构"
    if (m_bCommon != 0) {
        start = tree->topLevelItem(1); // "常用围护结构"
    } else if (m_Province.GetID() >= 1) {
        QTreeWidgetItem* provinces = tree->topLevelItem(2); // "所有省份"
        start = provinces;
        if (QTreeWidgetItem* province = CTqUiLibraryTree::ChildByText(provinces, m_Province.Name, Qt::CaseInsensitive))
            start = province;
    }
    const auto findChild = [](QTreeWidgetItem* parent, const QString& name) {
        return CTqUiLibraryTree::ChildByText(parent, name, Qt::CaseSensitive);
    };

    QTreeWidgetItem* selected = start;
    QTreeWidgetItem* categoryItem = nullptr;
    if (start->childCount() > 0 && !category.Name.isEmpty()) {
        categoryItem = findChild(start, category.Name);
        if (categoryItem != nullptr) {
            selected = categoryItem;
            categoryItem->setExpanded(true);
        }
    }
    if (categoryItem != nullptr && categoryItem->childCount() > 0 && !type.Name.isEmpty()) {
        if (QTreeWidgetItem* typeItem = findChild(categoryItem, type.Name)) {
            selected = typeItem;
            typeItem->setExpanded(true);
        }
    }
    tree->setCurrentItem(selected);
    selected->setExpanded(true);
}

void CTqUiBSListDlg::OnSelchangedTreeBs()
{
    QTreeWidgetItem* item = m_ui->bsTree->currentItem();
    if (item == nullptr)
        return;
    const tagBSNode* node = CTqUiLibraryTree::Node(item);
    if (node == nullptr)
        return;

    m_bCommon = node->CommonFlag;
    AttachListMenu();
    // Choosing a type node arms the type's deletion (with no construction chosen); any other node
    // leaves nothing to delete.
    m_bTypeChosen = node->NodeType == TQLoad::BSN_BSType;

    m_Province.Init();
    m_Category.Init();
    m_Type.Init();
    m_Code.Init();
    m_BoundingStructure.Init();
    CTqUiLibraryTree::ForEachNodeUp(item, [this](const tagBSNode& up) {
        switch (up.NodeType) {
        case TQLoad::BSN_Province:
            m_Province.ReadData(up.ID, nullptr);
            break;
        case TQLoad::BSN_BSCategory:
            m_Category.ReadData(up.ID, nullptr);
            break;
        case TQLoad::BSN_BSType:
            m_Type.ReadData(up.ID, nullptr);
            break;
        default:
            break;
        }
    });

    // The list shows the national, the province's or the common constructions of the type.
    m_BSDataAdmin.m_BSProvince = m_Province;
    m_BSDataAdmin.m_bBSCommon = m_bCommon;

    m_ui->bsTree->setFocus();
    ResetGridBSC(m_ui->autoCalculateCheckBox->isChecked());
}

void CTqUiBSListDlg::OnClickTreeBs(QTreeWidgetItem* item)
{
    // A click on the type that is already selected chooses it again (after a deletion, say); a
    // click that moves the selection was handled as a selection change.
    if (item == nullptr || item != m_ui->bsTree->currentItem() || m_bTypeChosen)
        return;
    const tagBSNode* node = CTqUiLibraryTree::Node(item);
    m_bTypeChosen = node != nullptr && node->NodeType == TQLoad::BSN_BSType;
    UpdateActionUI();
}

// ---------------------------------------------------------------------------------------------
// Construction list and layers

void CTqUiBSListDlg::CalculateCRXS(bool calc)
{
    m_BSDataAdmin.GetBSCodeCWallDataAry(m_Type, m_WallDataAry, calc, m_CrXs);
}

void CTqUiBSListDlg::ResetGridBSC(bool calc)
{
    // Emptying the list and focusing the chosen row move the selection; that is no choice.
    m_bFillingList = true;
    const auto filled = qScopeGuard([this] { m_bFillingList = false; });
    CalculateCRXS(calc);
    m_pBSList->ClearRows();
    m_pLayerGrid->ClearRows();
    for (int i = 0; i < m_WallDataAry.GetSize(); ++i) {
        const CTQWallData& wall = m_WallDataAry[i];
        m_pBSList->AddRow({wall.m_strBSCName, TQLoad::DblToStr(wall.GetCrXs(), kCoefficientDecimals),
                           TQLoad::DblToStr(wall.GetDjCrXs(), kCoefficientDecimals),
                           TQLoad::DblToStr(wall.GetNCrXs(), kCoefficientDecimals),
                           TQLoad::DblToStr(wall.GetSj(), kCoefficientDecimals),
                           TQLoad::DblToStr(wall.GetYc(), kDelayDecimals)},
                          i);
    }

    const int row = FindChosenRow();
    if (row < 0) {
        UpdateActionUI();
        ShowDemoBMP(m_Type, m_Code);
        return;
    }
    if (m_pBSList->GetFocusedRow() != row) {
        m_pBSList->setFocus();
        m_pBSList->SetFocusedRow(row);
    }
    m_WallData = m_WallDataAry[m_pBSList->GetRowData(row).toInt()];
    m_Code.ReadData(m_WallData.m_nBSCId, nullptr);
    m_BSDataAdmin.GetBS(m_BoundingStructure, m_WallData.m_nBSCId);
    FillLayerGrid();
    UpdateActionUI();
    ShowDemoBMP(m_Type, m_Code);
}

int CTqUiBSListDlg::FindChosenRow() const
{
    for (int row = 0; row < m_pBSList->RowCount(); ++row) {
        if (m_WallDataAry[m_pBSList->GetRowData(row).toInt()].m_nBSCId == m_WallData.m_nBSCId)
            return row;
    }
    return -1;
}

void CTqUiBSListDlg::FillLayerGrid()
{
    m_pLayerGrid->ClearRows();
    const CTQArray<CTQTimberingData>& layers = m_WallData.GetTimbering();
    for (int i = 0; i < layers.GetSize(); ++i) {
        const CTQTimberingData& layer = layers[i];
        m_pLayerGrid->AddRow({layer.GetStuffName(),
                              TQLoad::DblToStr(layer.GetThick() * kMillimetresPerMetre, kLayerDecimals),
                              TQLoad::DblToStr(layer.GetDrXsXz(), kLayerDecimals)},
                             i);
    }
}

void CTqUiBSListDlg::OnBSNameCLick(int row)
{
    if (row < 0 || row >= m_pBSList->RowCount())
        return;
    m_WallData = m_WallDataAry[m_pBSList->GetRowData(row).toInt()];
    m_BSDataAdmin.GetBS(m_BoundingStructure, m_WallData.m_nBSCId);
    FillLayerGrid();
    m_Code.ReadData(m_WallData.m_nBSCId, nullptr);
    ShowDemoBMP(m_Type, m_Code);
    UpdateActionUI();
}

void CTqUiBSListDlg::UpdateActionUI()
{
    // The buttons and the context menu follow the same rule: the actions on a construction need a
    // chosen row, adding needs a category, deleting a chosen construction or a chosen type; and
    // none is offered that the library's role may not carry out there (its tool tip says why).
    const bool bRowChosen = m_pBSList->GetFocusedRow() >= 0 && m_Code.GetID() != 0;
    const QString addRefusal = PermissionRefusal(TQMenuCommand::Add);
    const QString rowRefusal = PermissionRefusal(TQMenuCommand::Modify);
    const QString deleteRefusal = PermissionRefusal(TQMenuCommand::Delete);
    const QString flagRefusal = PermissionRefusal(TQMenuCommand::SetCommon);
    const bool bCanAdd = m_Category.GetID() != 0 && addRefusal.isEmpty();
    const bool bCanDelete = CanDelete() && deleteRefusal.isEmpty();
    for (QPushButton* button : {m_ui->modifyButton, m_ui->copyButton})
        EnableAction(button, bRowChosen && rowRefusal.isEmpty());
    EnableAction(m_ui->calculateButton, bRowChosen);
    EnableAction(m_ui->deleteButton, bCanDelete);
    EnableAction(m_ui->addButton, bCanAdd);
    EnableAction(m_ui->materialButton, true);
    EnableAction(m_ui->queryButton, true);
    const std::pair<QAbstractButton*, QString> refusals[] = {{m_ui->addButton, addRefusal},
                                                             {m_ui->modifyButton, rowRefusal},
                                                             {m_ui->copyButton, rowRefusal},
                                                             {m_ui->deleteButton, deleteRefusal}};
    for (const auto& [button, refusal] : refusals) {
        // The action's own tool tip is kept while a refusal stands in for it.
        if (!button->property(kActionToolTip).isValid())
            button->setProperty(kActionToolTip, button->toolTip());
        if (refusal.isEmpty())
            button->setToolTip(button->property(kActionToolTip).toString());
        else
            TQLoad::SetToolTip(button, refusal);
    }
    EnableAction(m_ui->exportButton, true);
    EnableAction(m_ui->importButton, true);
    if (m_pMenuItems == nullptr)
        return;
    // The host's own states of the other items stand where the role may change every construction.
    const CTQLibraryPermissions& permissions = LibraryPermissions();
    const bool bRestricted = !permissions.bMayChangeConstructions || permissions.bOnlyProvincial;
    for (int i = 0; i < m_pMenuItems->GetSize(); ++i) {
        stuMenuItem& item = m_pMenuItems->GetAt(i);
        if (item.nID == TQMenuCommand::Add)
            item.bEnable = bCanAdd;
        else if (item.nID == TQMenuCommand::Delete)
            item.bEnable = bCanDelete;
        else if (bRestricted && (item.nID == TQMenuCommand::Modify || item.nID == TQMenuCommand::Copy))
            item.bEnable = rowRefusal.isEmpty();
        else if (bRestricted && (item.nID == TQMenuCommand::SetCommon || item.nID == TQMenuCommand::CancelCommon))
            item.bEnable = flagRefusal.isEmpty();
    }
}

QString CTqUiBSListDlg::PermissionRefusal(int command) const
{
    const CTQLibraryPermissions& permissions = LibraryPermissions();
    const bool bCodeChosen = m_Code.GetID() != 0;
    switch (command) {
    case TQMenuCommand::Add:
        // The construction is added to the selected subtree: its province, and common in the common one.
        return permissions.ConstructionRefusal(m_Province.GetID(), m_bCommon);
    case TQMenuCommand::Delete:
        // With no construction chosen, the type goes with all its constructions.
        if (!bCodeChosen)
            return permissions.TypeRefusal();
        return permissions.ConstructionRefusal(m_Code.ProvinceId, m_Code.CommonFlag);
    case TQMenuCommand::Modify:
    case TQMenuCommand::Copy:
        // A copy keeps the province and the flag.
        return bCodeChosen ? permissions.ConstructionRefusal(m_Code.ProvinceId, m_Code.CommonFlag) : QString();
    case TQMenuCommand::SetCommon:
    case TQMenuCommand::CancelCommon: {
        // The flag changes: the construction must be changeable as it is and as it would be.
        if (!bCodeChosen)
            return {};
        const QString refusal = permissions.ConstructionRefusal(m_Code.ProvinceId, m_Code.CommonFlag);
        return !refusal.isEmpty() ? refusal : permissions.ConstructionRefusal(m_Code.ProvinceId, m_Code.CommonFlag == 0);
    }
    default:
        return {};
    }
}

bool CTqUiBSListDlg::CanDelete() const
{
    return m_Code.GetID() != 0 || (m_Type.GetID() != 0 && m_bTypeChosen);
}

void CTqUiBSListDlg::EnableAction(QAbstractButton* button, bool bEnable)
{
    button->setEnabled(bEnable && m_ConnectedActions.contains(button));
}

void CTqUiBSListDlg::ConnectAction(QAbstractButton* button, void (CTqUiBSListDlg::*handler)())
{
    connect(button, &QAbstractButton::clicked, this, handler);
    m_ConnectedActions.insert(button);
}

void CTqUiBSListDlg::OnBSListSelChanged()
{
    if (m_bFillingList)
        return;
    const int row = m_pBSList->GetFocusedRow();
    if (row < 0)
        return;
    // A click reports the row itself as well; a row that is already the choice is not read again.
    const int codeId = m_WallDataAry[m_pBSList->GetRowData(row).toInt()].m_nBSCId;
    if (codeId == m_WallData.m_nBSCId && codeId == m_Code.GetID())
        return;
    OnBSNameCLick(row);
}

// ---------------------------------------------------------------------------------------------
// Actions

namespace {

/// A delete confirmation: OK and Cancel, the warning icon, Cancel as default.
bool ConfirmDeletion(QWidget* parent, const QString& text)
{
    return CTQUiService::Instance().MessageBox(parent, text, QMessageBox::Warning,
                                               QMessageBox::Ok | QMessageBox::Cancel,
                                               QMessageBox::Cancel) == QMessageBox::Ok;
}

void ShowDeleted(QWidget* parent)
{
    CTQUiService::Instance().MessageBox(parent, QStringLiteral("删除成功！"), QMessageBox::Information);
}

/// Copies a construction's picture to the path of its copy, replacing a file there. A failed copy
/// leaves the copy with its type's picture, which is what a construction without its own shows.
void CopyPicture(const QString& source, const QString& target)
{
    if (!QFileInfo(source).isFile())
        return;
    QDir().mkpath(QFileInfo(target).absolutePath());
    QFile::remove(target);
    QFile::copy(source, target);
}

} // namespace

void CTqUiBSListDlg::OnMenuCommand(int command)
{
    CTqUiLibraryTree::RunMenuCommand(command, {[this] { OnBtnAdd(); }, [this] { OnBtnModify(); },
                                               [this] { OnBtnDel(); }, [this] { OnBtnCopy(); },
                                               [this] { OnSetCommonFlag(); }});
}

void CTqUiBSListDlg::OnBtnAdd()
{
    // A type is stored under the current category: without one it would belong to none.
    if (m_Category.GetID() == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请先选择围护结构的大类！"), QMessageBox::Warning);
        return;
    }
    CTqUiBSInfoDlg editor(this);
    editor.m_CrXs = m_CrXs;
    editor.m_nMode = 1;
    editor.m_Type = m_Type;
    editor.m_Code = m_Code;
    // A construction added while the common subtree is selected is a common construction.
    editor.m_Code.CommonFlag = m_bCommon;
    editor.m_Category = m_Category;
    editor.m_Province = m_Province;
    editor.m_BoundingStructure = m_BoundingStructure;
    editor.DoModal();
    if (editor.m_bChanged == 0)
        return;
    m_Type = editor.m_Type;
    m_Code = editor.m_Code;
    ShowSavedConstruction();
}

void CTqUiBSListDlg::OnBtnModify()
{
    if (m_Code.GetID() == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择要修改的围护结构！"), QMessageBox::Warning);
        return;
    }
    DoDataExchange(true);
    CTqUiBSInfoDlg editor(this);
    editor.m_CrXs = m_CrXs;
    editor.m_nMode = 2;
    editor.m_Type = m_Type;
    editor.m_Code = m_Code;
    editor.m_BoundingStructure = m_BoundingStructure;
    editor.m_Category = m_Category;
    editor.m_Province = m_Province;
    editor.DoModal();
    if (editor.m_bChanged == 0)
        return;
    // A renamed type, or a construction moved to another type, changes the tree as well.
    const bool bTypeChanged = editor.m_Type.GetID() != m_Type.GetID() || editor.m_Type.Name != m_Type.Name;
    m_Type = editor.m_Type;
    m_Code = editor.m_Code;
    if (bTypeChanged)
        ShowSavedConstruction();
    else
        ResetGridBSC(true);
}

void CTqUiBSListDlg::ShowSavedConstruction()
{
    // The saved type may be a stored one of another category (a type is known by its name): its
    // own category is selected, then the type and the construction.
    if (m_Type.BSDLId != m_Category.GetID())
        m_Category.ReadData(m_Type.BSDLId, nullptr);
    // The list chooses the row of m_WallData's construction: the saved one.
    m_WallData.m_nBSCId = m_Code.GetID();
    ResetBSTree();
    TreeSelectItem(m_Category, m_Type);
    ResetGridBSC(true);
}

void CTqUiBSListDlg::OnBSNameDbClk(int row)
{
    if (row < 0)
        return;
    OnBSNameCLick(row);
    OnBtnModify();
}

void CTqUiBSListDlg::OnBtnTimb()
{
    CTqUiStuffListDlg library(this);
    RunMaterialLibrary(library);
}

void CTqUiBSListDlg::OnBSTimbDbClk(int row)
{
    const CTQArray<CTQTimberingData>& layers = m_WallData.GetTimbering();
    if (row < 0 || row >= layers.GetSize())
        return;
    CTqUiStuffListDlg library(this);
    library.m_Timbering.ReadData(layers[row].GetStuffID(), nullptr);
    library.m_Type.ReadData(library.m_Timbering.TTId, nullptr);
    RunMaterialLibrary(library);
}

void CTqUiBSListDlg::RunMaterialLibrary(CTqUiStuffListDlg& library)
{
    library.DoModal();
    // A material changed there changes the coefficients of every construction made of it.
    ResetGridBSC(m_ui->autoCalculateCheckBox->isChecked());
}

void CTqUiBSListDlg::OnDeleteKeyClick()
{
    OnBtnDel();
}

void CTqUiBSListDlg::OnBtnDel()
{
    if (!CanDelete())
        return;
    if (m_Code.GetID() != 0) {
        if (!ConfirmDeletion(this, QStringLiteral("确定要删除该围护结构 \"%1\" 吗?").arg(m_Code.Name)))
            return;
        QString message;
        // The manager reports its own failures; the construction's deletion returns 0 on success.
        if (m_BSDataAdmin.DeleteBSCode(m_Code, message) != 0)
            return;
        ShowDeleted(this);
        // The deleted construction is no choice any more: OK must not hand it to the host. Nor is
        // its type chosen: a second Delete must not go on to the whole type.
        m_bTypeChosen = false;
        m_Code.Init();
        m_WallData = CTQWallData();
        m_BoundingStructure.Init();
        ResetGridBSC(true);
    } else if (m_Type.GetID() != 0) {
        if (!ConfirmDeletion(this,
                             QStringLiteral("确定要删除该围护结构类型 \"%1\" 及其所属的所有围护结构吗?").arg(m_Type.Name)))
            return;
        // The type's deletion returns non-zero on success.
        if (m_BSDataAdmin.DeleteBSType(m_Type) == 0)
            return;
        ShowDeleted(this);
        m_bTypeChosen = false;
        m_Type.Init();
        m_Code.Init();
        m_WallData = CTQWallData();
        m_BoundingStructure.Init();
        // The type's node goes from the tree; its category stays selected.
        ResetBSTree();
        TreeSelectItem(m_Category, m_Type);
        ResetGridBSC(true);
    }
}

void CTqUiBSListDlg::OnBtnCopy()
{
    if (m_Code.GetID() == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择一种围护结构！"), QMessageBox::NoIcon);
        return;
    }
    const QString sourcePicture = m_BSDataAdmin.GetBSDemoBMPPath(m_Type, m_Code);

    // The copy keeps type and province. Its common flag is the source's when the first prefixed
    // name is free; when a prefixed name is taken, the take-over loads that stored construction,
    // so the copy carries that construction's common flag into the next, longer name.
    CTQBSCode copy = m_Code;
    CTQBoundingStructure layers = m_BoundingStructure;
    if (!m_BSDataAdmin.CopyBSCode(copy, layers, QStringLiteral("复件 "))) {
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return;
    }
    CopyPicture(sourcePicture, m_BSDataAdmin.GetBSDemoBMPPath(m_Type, copy));

    // The source stays the choice.
    ResetGridBSC(m_ui->autoCalculateCheckBox->isChecked());
}

void CTqUiBSListDlg::OnBtnSheet()
{
    if (m_Code.GetID() == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择一种围护结构！"), QMessageBox::NoIcon);
        return;
    }
    // The sheet shows the construction as the list does: with the coefficients of the fields.
    CTQBSConstructionSheet::ExportAsked(this, CTQBSConstructionSheet::Read(m_Code, m_CrXs));
}

void CTqUiBSListDlg::OnBtnProfile()
{
    if (m_Code.GetID() == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择一种围护结构！"), QMessageBox::NoIcon);
        return;
    }
    CTqUiBSProfileDlg dialog(m_BSDataAdmin.GetBSCodeWallData(m_Code, true, m_CrXs), m_Code.ProvinceId, this);
    dialog.exec();
}

void CTqUiBSListDlg::OnSetCommonFlag()
{
    if (m_Code.Name.isEmpty()) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择一种围护结构！"), QMessageBox::NoIcon);
        return;
    }
    // Outside the common subtree the command makes the construction common; inside it, it takes
    // the construction out.
    const int codeId = m_Code.GetID();
    if (!m_Code.ReadData(codeId, nullptr)) {
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return;
    }
    m_Code.CommonFlag = m_bCommon == 0 ? 1 : 0;
    if (!m_Code.UpdateData(codeId, nullptr)) {
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return;
    }
    ResetBSTree();
    ShowUIData();
}

void CTqUiBSListDlg::OnBtnCal()
{
    ResetGridBSC(true);
}

void CTqUiBSListDlg::OnBtnAutoCal()
{
    ResetGridBSC(m_ui->autoCalculateCheckBox->isChecked());
}

void CTqUiBSListDlg::OnButtonQuery()
{
    // The query evaluates with the coefficients shown; winter plays no part in it.
    CTQCrXs crxs;
    crxs.Init();
    crxs.m_dNHrXs = m_ui->innerHrXsEdit->GetWindowValue();
    crxs.m_dWHrXs = m_ui->summerHrXsEdit->GetWindowValue();
    m_QueryDlg.m_CrXs = crxs;
    m_QueryDlg.DoModal();
    if (m_QueryDlg.m_bChosen == 0)
        return;

    m_Type = m_QueryDlg.m_Type;
    m_Code = m_QueryDlg.m_Code;
    m_Category.ReadData(m_Type.BSDLId, nullptr);
    // The query finds national constructions: they are shown under "所有围护结构".
    m_bCommon = 0;
    m_Province.Init();
    ShowUIData();
}

// ---------------------------------------------------------------------------------------------
// Demo picture

void CTqUiBSListDlg::ShowDemoBMP(CTQBSType& type, CTQBSCode& code)
{
    m_pDemoBMP->SetImage(DemoImage(type, code));
}

QImage CTqUiBSListDlg::DemoImage(CTQBSType& type, CTQBSCode& code)
{
    if (code.BSTId == 0)
        return {};
    // The layers drawn are the chosen construction's, as stored.
    const QList<CTQBSSectionPicture::Layer> layers = m_WallData.m_nBSCId == code.GetID()
                                                         ? CTQBSSectionPicture::LayersOf(m_WallData.GetTimbering())
                                                         : QList<CTQBSSectionPicture::Layer>();
    return m_BSDataAdmin.GetBSDemoImage(type, code, m_Category.Name, layers, m_Province.Name);
}

void CTqUiBSListDlg::OnStnClickedStcdemobmp()
{
    const QImage picture = DemoImage(m_Type, m_Code);
    if (picture.isNull())
        return;
    CTqUiBSViewPicDlg viewer(picture, this);
    viewer.DoModal();
}

// ---------------------------------------------------------------------------------------------
// Confirming

void CTqUiBSListDlg::accept()
{
    OnOK();
}

void CTqUiBSListDlg::OnOK()
{
    if (m_bMustSelect == 1 && m_Code.Name.isEmpty()) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择一种围护结构！"), QMessageBox::NoIcon);
        return;
    }
    QDialog::accept();
}

bool CTqUiBSListDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize) {
        if (watched == m_pBSList->viewport())
            TQLoad::FitGridColumns(m_pBSList, kListColumns, kNameColumn);
        else if (watched == m_pLayerGrid->viewport())
            TQLoad::FitGridColumns(m_pLayerGrid, kLayerColumns, kNameColumn);
    }
    if (PreTranslateMessage(watched, event))
        return true;
    return QDialog::eventFilter(watched, event);
}

bool CTqUiBSListDlg::PreTranslateMessage(QObject* target, QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<QKeyEvent*>(event)->key();
    if (key != Qt::Key_Return && key != Qt::Key_Enter)
        return false;
    // Enter in these two fields confirms the value typed, not the dialog.
    if (target != m_ui->summerHrXsEdit && target != m_ui->innerHrXsEdit)
        return false;
    DoDataExchange(true);
    return true;
}

void CTqUiBSListDlg::OnBtnExport()
{
    // The chosen construction, else what the tree's selection stands for.
    using E = CTQLibraryExchange;
    if (m_Code.GetID() != 0 && !m_Code.Name.isEmpty())
        CTqUiBSExchangeDlg::ExportSelection(this, E::Sel_Construction, {}, m_Code.GetID());
    else if (m_Type.GetID() != 0)
        CTqUiBSExchangeDlg::ExportSelection(this, E::Sel_Type, m_Type.Name, 0);
    else if (m_bCommon)
        CTqUiBSExchangeDlg::ExportSelection(this, E::Sel_Common, {}, 0);
    else if (m_Province.GetID() != 0)
        CTqUiBSExchangeDlg::ExportSelection(this, E::Sel_Province, m_Province.Name, 0);
    else if (m_Category.GetID() != 0)
        CTqUiBSExchangeDlg::ExportSelection(this, E::Sel_Category, m_Category.Name, 0);
    else
        CTqUiBSExchangeDlg::ExportSelection(this, E::Sel_All, {}, 0);
}

void CTqUiBSListDlg::OnBtnImport()
{
    if (!CTqUiBSExchangeDlg::ImportFile(this))
        return;
    ResetBSTree();
    TreeSelectItem(m_Category, m_Type);
    ResetGridBSC(true);
}
