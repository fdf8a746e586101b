#include "ui/materials/CTqUiStuffListDlg.h"
#include "ui_CTqUiStuffListDlg.h"

#include "host/core/CTQContextResourceOverride.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CCtrlMenumGlobalSetting.h"
#include "host/ui/CMutiTreeCtrl.h"
#include "host/ui/CTQUiService.h"
#include "ui/materials/CTqUiStuffGrid.h"
#include "host/ui/TQHostMenu.h"
#include "host/ui/TQIcon.h"
#include "host/ui/TQToolTip.h"
#include "host/walldata/CTQMateralData.h"
#include "ui/TQWallModule.h"
#include "ui/common/CTqUiLibraryTree.h"
#include "ui/materials/CTqUiStuffInfoDlg.h"
#include "ui/materials/CTqUiStuffUsageDlg.h"

#include <QIcon>
#include <QPushButton>

namespace {

/// The dialog's icon group in the library's resources.
constexpr int kStuffListIcon = 2007;

/// The top-level items of the tree, in the order the library manager builds them.
enum TopLevelItem
{
    AllMaterials,    ///< "所有材质"
    CommonMaterials, ///< "常用材质"
    AllProvinces,    ///< "所有省份"
    TopLevelCount
};

/// Positions of the host's material menu items the dialog switches; the add item (0) is always
/// offered.
constexpr int kDeleteItem = 1;
constexpr int kModifyItem = 2;
constexpr int kCommonItem = 3;
constexpr int kMenuItemCount = 4;

/// The tree grows to show its longest material name up to this width, px; beyond it the name
/// reads in its tool tip.
constexpr int kWidestTree = 360;

} // namespace

CTqUiStuffListDlg::CTqUiStuffListDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CTqUiStuffListDlg>())
{
    m_ui->setupUi(this);
    m_Province.Init();
    const QIcon icon = TQLoad::LoadTQIcon(kStuffListIcon);
    setWindowIcon(icon);

    m_pTree = new CTqUiLibraryTree(m_ui->timbTree);
    m_pGrid = new CTqUiStuffGrid(m_ui->gridPlaceholder);
    m_pGrid->setObjectName(QStringLiteral("stuffGrid"));
    m_ui->gridPlaceholder->layout()->addWidget(m_pGrid);

    connect(m_ui->timbTree, &QTreeWidget::currentItemChanged, this, &CTqUiStuffListDlg::OnSelchangedTreeTimb);
    connect(m_ui->timbTree, &CMutiTreeCtrl::menuCommand, this, &CTqUiStuffListDlg::OnMenuCommand);
    connect(m_ui->addButton, &QPushButton::clicked, this, &CTqUiStuffListDlg::OnBtnAdd);
    connect(m_ui->deleteButton, &QPushButton::clicked, this, &CTqUiStuffListDlg::OnBtnDel);
    connect(m_ui->modifyButton, &QPushButton::clicked, this, &CTqUiStuffListDlg::OnBtnModify);
    m_pUsageButton = new QPushButton(QStringLiteral("使用情况"), this);
    m_pUsageButton->setObjectName(QStringLiteral("usageButton"));
    m_pUsageButton->setAutoDefault(false);
    m_pUsageButton->setEnabled(false);
    m_ui->actionLayout->insertWidget(m_ui->actionLayout->indexOf(m_ui->modifyButton) + 1, m_pUsageButton);
    connect(m_pUsageButton, &QPushButton::clicked, this, &CTqUiStuffListDlg::OnBtnUsage);
    connect(m_ui->okButton, &QPushButton::clicked, this, &CTqUiStuffListDlg::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CTqUiStuffListDlg::reject);
}

CTqUiStuffListDlg::~CTqUiStuffListDlg()
{
    CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting()->ResumeDefult();
    OnDestroy();
    // The child controls outlive this part of the object; what they report while Qt deletes them
    // must not reach members that are already gone.
    m_ui->timbTree->disconnect(this);
}

int CTqUiStuffListDlg::DoModal()
{
    const CTQContextResourceOverride resources(TQLoad::GetTQWallModule());
    return exec();
}

void CTqUiStuffListDlg::AttachData(CTQMateralData* p)
{
    m_pMateralData = p;
}

// ---------------------------------------------------------------------------------------------
// Window life

void CTqUiStuffListDlg::setVisible(bool visible)
{
    if (visible && !m_bWindowBuilt) {
        m_bWindowBuilt = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

int CTqUiStuffListDlg::OnInitDialog()
{
    InitActionButtons();
    AttachTreeMenu();
    DrawUI();
    ShowUIData();
    // The host's tree has no check boxes to take off.
    ResetGridTimb(m_Type, m_Timbering);
    return 1;
}

void CTqUiStuffListDlg::InitActionButtons()
{
    // The action icons of the construction library's buttons.
    CTqUiLibraryTree::DecorateActions({{m_ui->addButton, "add", "添加"},
                                       {m_ui->deleteButton, "delete", "删除"},
                                       {m_ui->modifyButton, "modify", "修改"}});
}

void CTqUiStuffListDlg::AttachTreeMenu()
{
    CCtrlMenumGlobalSetting* menus = CCtrlMenumGlobalSetting::GetCtrlMenumGlobalSetting();
    m_pMenuItems = menus->GetTimbListMenuAry(m_bCommon != 0);
    m_ui->timbTree->AttachMenItemAry(m_pMenuItems);
    menus->Attach(QStringLiteral("材质信息"));
}

void CTqUiStuffListDlg::DrawUI()
{
    // The grid is made once; a dialog shown a second time keeps it. The type row shows m_Type's
    // name, which lives as long as the dialog.
    if (m_pGrid->FindRow(QStringLiteral("材质类型")) < 0)
        m_pGrid->Draw(&m_Type.Name, m_Timbering, true);
}

void CTqUiStuffListDlg::done(int result)
{
    QDialog::done(result);
    OnDestroy();
}

void CTqUiStuffListDlg::OnDestroy()
{
    if (!m_bWindowBuilt)
        return;
    m_bWindowBuilt = false;
    // The items carry pointers into the tree that is freed next; emptying the tree is no
    // selection by the user, and the choice the caller reads stays as it is.
    m_pTree->Clear();
    m_BSDataAdmin.Release();
}

// ---------------------------------------------------------------------------------------------
// Tree and selection

void CTqUiStuffListDlg::ShowUIData()
{
    // Emptying and filling the tree may move the selection; the current records are put back.
    const int common = m_bCommon;
    const CTQTimberingType type = m_Type;
    const CTQTimbering material = m_Timbering;

    if (m_Timbering.GetProvinceID() > 0)
        m_Province.ReadData(m_Timbering.GetProvinceID(), nullptr);

    // The items go before the rebuild frees the nodes they point to.
    m_ui->timbTree->DeleteAllItems();
    m_pTree->Fill(m_BSDataAdmin.GetTimbNodes(1));
    m_pTree->FitWidthToCaptions(kWidestTree);

    m_bCommon = common;
    m_Type = type;
    m_Timbering = material;
    ResetGridTimbType(m_Type);
    ResetGridTimb(m_Type, m_Timbering);
    TreeSelectItem(m_Type, m_Timbering);
}

void CTqUiStuffListDlg::TreeSelectItem(CTQTimberingType& type, CTQTimbering& material)
{
    CMutiTreeCtrl* tree = m_ui->timbTree;
    if (tree->topLevelItemCount() < TopLevelCount)
        return;

    QTreeWidgetItem* group = tree->topLevelItem(AllMaterials);
    if (m_bCommon != 0) {
        group = tree->topLevelItem(CommonMaterials);
    } else if (m_Province.GetID() >= 1) {
        group = tree->topLevelItem(AllProvinces);
        if (QTreeWidgetItem* province = CTqUiLibraryTree::ChildByText(group, m_Province.Name, Qt::CaseInsensitive))
            group = province;
    }

    QTreeWidgetItem* typeItem =
        group->childCount() > 0 ? CTqUiLibraryTree::ChildByText(group, type.Name, Qt::CaseSensitive) : nullptr;
    if (typeItem == nullptr) {
        tree->setCurrentItem(group);
        group->setExpanded(true);
        return;
    }
    if (QTreeWidgetItem* materialItem =
            CTqUiLibraryTree::ChildByText(typeItem, material.GetStuffName(), Qt::CaseSensitive)) {
        tree->setCurrentItem(materialItem);
        typeItem->setExpanded(true);
        return;
    }
    tree->setCurrentItem(typeItem);
    typeItem->setExpanded(true);
}

int CTqUiStuffListDlg::OnSelchangedTreeTimb()
{
    QTreeWidgetItem* item = m_ui->timbTree->currentItem();
    if (item == nullptr)
        return 0;
    const tagBSNode* node = CTqUiLibraryTree::Node(item);
    if (node == nullptr)
        return 0;

    m_bCommon = node->CommonFlag;
    AttachTreeMenu();
    UpdateActionUI(node->NodeType);

    m_Province.Init();
    m_Type.Init();
    m_Timbering.Init();
    CTqUiLibraryTree::ForEachNodeUp(item, [this](const tagBSNode& up) {
        switch (up.NodeType) {
        case TQLoad::BSN_Province:
            m_Province.ReadData(up.ID, nullptr);
            break;
        case TQLoad::BSN_TimberingType:
            m_Type.ReadData(up.ID, nullptr);
            break;
        case TQLoad::BSN_Timbering:
            m_Timbering.ReadData(up.ID, nullptr);
            break;
        default:
            break;
        }
    });
    m_BSDataAdmin.m_TimbProvince = m_Province;
    ResetGridTimb(m_Type, m_Timbering);
    return 0;
}

void CTqUiStuffListDlg::UpdateActionUI(int nodeType)
{
    if (m_pMenuItems == nullptr || m_pMenuItems->GetSize() != kMenuItemCount)
        return;
    bool bDelete = false;
    bool bModify = false;
    switch (nodeType) {
    case TQLoad::BSN_Label:
    case TQLoad::BSN_Province:
        break;
    case TQLoad::BSN_TimberingType:
        bDelete = true;
        break;
    case TQLoad::BSN_Timbering:
        bDelete = bModify = true;
        break;
    default:
        return;
    }
    // Reading where a material is used changes nothing: every role may.
    m_pUsageButton->setEnabled(nodeType == TQLoad::BSN_Timbering);
    // A role that may not change materials (an engineer's) is offered none of the changes.
    const QString refusal =
        CTQDBGlobalSetting::GetGlobalSetting()->GetLoadParamDatabase()->GetPermissions().MaterialRefusal();
    if (!refusal.isEmpty()) {
        bDelete = bModify = false;
        m_ui->addButton->setEnabled(false);
        m_pMenuItems->GetAt(0).bEnable = false;
        for (QPushButton* button : {m_ui->addButton, m_ui->deleteButton, m_ui->modifyButton})
            TQLoad::SetToolTip(button, refusal);
    }
    m_ui->deleteButton->setEnabled(bDelete);
    m_ui->modifyButton->setEnabled(bModify);
    m_pMenuItems->GetAt(kDeleteItem).bEnable = bDelete;
    m_pMenuItems->GetAt(kModifyItem).bEnable = bModify;
    m_pMenuItems->GetAt(kCommonItem).bEnable = bModify;
}

// ---------------------------------------------------------------------------------------------
// Property grid

void CTqUiStuffListDlg::ResetGridTimbType(CTQTimberingType& type)
{
    m_pGrid->ShowType(type.Name);
}

void CTqUiStuffListDlg::ResetGridTimb(CTQTimberingType& type, CTQTimbering& material)
{
    m_pGrid->ShowType(type.Name);
    m_pGrid->ShowMaterial(material);
}

// ---------------------------------------------------------------------------------------------
// Actions

void CTqUiStuffListDlg::OnMenuCommand(int command)
{
    // The material tree offers no copy.
    CTqUiLibraryTree::RunMenuCommand(command, {[this] { OnBtnAdd(); }, [this] { OnBtnModify(); },
                                               [this] { OnBtnDel(); }, {}, [this] { OnSetCommonFlag(); }});
}

void CTqUiStuffListDlg::OnBtnAdd()
{
    CTqUiStuffInfoDlg editor(this);
    editor.m_nMode = 1;
    editor.m_Type = m_Type;
    editor.m_Province = m_Province;
    editor.DoModal();
    if (editor.m_bChanged != 1)
        return;
    m_Type = editor.m_Type;
    // A material added while the common subtree is selected is common at once.
    editor.m_Timbering.SetCommonFlag(m_bCommon);
    editor.m_Timbering.UpdateIfNoOther(nullptr, 1);
    m_Timbering = editor.m_Timbering;
    ShowUIData();
}

void CTqUiStuffListDlg::OnBtnModify()
{
    if (m_Timbering.GetID() == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择某一材质！"), QMessageBox::Warning);
        return;
    }
    CTqUiStuffInfoDlg editor(this);
    editor.m_nMode = 2;
    editor.m_Type = m_Type;
    editor.m_Timbering = m_Timbering;
    editor.DoModal();
    if (editor.m_bChanged != 1)
        return;
    m_Type = editor.m_Type;
    m_Timbering = editor.m_Timbering;
    ShowUIData();
}

void CTqUiStuffListDlg::OnBtnDel()
{
    QTreeWidgetItem* item = m_ui->timbTree->currentItem();
    if (item == nullptr)
        return;
    CTQUiService& ui = CTQUiService::Instance();
    if (m_Timbering.GetID() >= 1) {
        const QString question = QStringLiteral("确定要删除该材质 \"%1\" 吗?").arg(m_Timbering.GetStuffName());
        if (ui.MessageBox(this, question, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
                          QMessageBox::Cancel) != QMessageBox::Ok)
            return;
        QString message;
        if (m_BSDataAdmin.DeleteTimbering(m_Timbering, message) == 0) {
            ui.MessageBox(this, QStringLiteral("删除成功！"), QMessageBox::Information);
            ShowUIData();
        }
        return;
    }
    if (m_Type.GetID() < 1) {
        ui.MessageBox(this, QStringLiteral("请选择是删除的节点！"), QMessageBox::NoIcon);
        return;
    }
    if (item->childCount() > 0) {
        ui.MessageBox(this, QStringLiteral("请先删除该类型下的材质！"), QMessageBox::Warning);
        return;
    }
    if (m_BSDataAdmin.DeleteTimberingType(m_Type) != 0) {
        ui.MessageBox(this, QStringLiteral("删除成功！"), QMessageBox::Information);
        ShowUIData();
    }
}

void CTqUiStuffListDlg::OnBtnUsage()
{
    if (m_Timbering.GetID() == 0) {
        CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择某一材质！"), QMessageBox::Warning);
        return;
    }
    CTqUiStuffUsageDlg usage(m_Timbering.GetID(), m_Timbering.GetStuffName(), this);
    usage.exec();
    // A construction changed from the list may be made of other materials now; the material
    // itself may have been changed from the construction library's material button.
    ShowUIData();
}

void CTqUiStuffListDlg::OnSetCommonFlag()
{
    // Only a material can be marked; the menu offers the command on materials only.
    if (m_Timbering.GetID() < 1)
        return;
    m_Timbering.SetCommonFlag(m_bCommon == 0 ? 1 : 0);
    m_Timbering.UpdateIfNoOther(nullptr, 1);
    ShowUIData();
}

// ---------------------------------------------------------------------------------------------
// Confirming

void CTqUiStuffListDlg::accept()
{
    OnOK();
}

void CTqUiStuffListDlg::OnOK()
{
    m_pGrid->ReadMaterial(m_Timbering);
    if (!CheckData())
        return;
    if (m_pMateralData != nullptr)
        GetData(m_pMateralData);
    QDialog::accept();
}

int CTqUiStuffListDlg::CheckData()
{
    if (m_Timbering.GetID() >= 1 || m_pMateralData == nullptr)
        return 1;
    CTQUiService::Instance().MessageBox(this, QStringLiteral("请选择某一具体的材质！"), QMessageBox::Warning);
    return 0;
}

void CTqUiStuffListDlg::GetData(CTQMateralData* p)
{
    p->SetStuffName(m_Timbering.GetStuffName());
    p->SetStuffID(m_Timbering.GetID());
    p->SetGMD(m_Timbering.GetGMD());
    p->SetBRr(m_Timbering.GetBRr());
    p->SetDrXs(m_Timbering.GetDrXs());
    p->SetCommonFlag(m_Timbering.GetCommonFlag());
}
