#include "ui/materials/CTqUiStuffUsageDlg.h"

#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CTQUiService.h"
#include "host/ui/CTqUiReportControl.h"
#include "ui/TQGridColumns.h"
#include "ui/library/CTqUiBSListDlg.h"

#include <QDialogButtonBox>
#include <QEvent>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr TQLoad::TQGridColumn kUsageColumns[] = {
    {"大类", 90}, {"类型", 180}, {"名称", 220}, {"省份", 90}, {"层号(外-内)", 90}};

/// The construction's name takes the room the other columns leave.
constexpr int kNameColumn = 2;

} // namespace

CTqUiStuffUsageDlg::CTqUiStuffUsageDlg(int materialId, const QString& materialName, QWidget* parent)
    : QDialog(parent), m_nMaterialId(materialId), m_strMaterialName(materialName)
{
    setWindowTitle(QStringLiteral("使用情况"));
    setObjectName(QStringLiteral("CTqUiStuffUsageDlg"));
    auto* layout = new QVBoxLayout(this);
    m_pSummary = new QLabel(this);
    m_pSummary->setObjectName(QStringLiteral("usageSummary"));
    m_pSummary->setWordWrap(true);
    layout->addWidget(m_pSummary);
    m_pList = new CTqUiReportControl(this);
    m_pList->setObjectName(QStringLiteral("usageList"));
    TQLoad::AddGridColumns(m_pList, kUsageColumns);
    layout->addWidget(m_pList);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Close, this);
    buttons->button(QDialogButtonBox::Close)->setText(QStringLiteral("关闭"));
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    connect(m_pList, &QTreeWidget::itemDoubleClicked, this,
            [this](QTreeWidgetItem* item, int) { OpenConstruction(m_pList->indexOfTopLevelItem(item)); });
    m_pList->viewport()->installEventFilter(this);
    resize(760, 420);
    Refresh();
}

CTqUiStuffUsageDlg::~CTqUiStuffUsageDlg() = default;

void CTqUiStuffUsageDlg::Refresh()
{
    m_pList->ClearRows();
    const std::optional<QList<CTQMaterialUsage::Use>> uses = CTQMaterialUsage::Find(m_nMaterialId);
    if (!uses) {
        m_pSummary->setText(QStringLiteral("无法读取材质 [%1] 的使用情况。").arg(m_strMaterialName));
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return;
    }
    for (const CTQMaterialUsage::Use& use : *uses)
        m_pList->AddRow({use.Category, use.Type, use.Construction,
                         use.Province.isEmpty() ? QStringLiteral("全国") : use.Province,
                         CTQMaterialUsage::LayerText(use.Layers)},
                        use.ConstructionId);
    m_pSummary->setText(uses->isEmpty()
                            ? QStringLiteral("没有围护结构用到材质 [%1]。").arg(m_strMaterialName)
                            : QStringLiteral("材质 [%1] 用于 %2 个围护结构，双击一行可在围护结构管理器中打开。")
                                  .arg(m_strMaterialName)
                                  .arg(uses->size()));
}

bool CTqUiStuffUsageDlg::eventFilter(QObject* watched, QEvent* event)
{
    if (event->type() == QEvent::Resize && watched == m_pList->viewport())
        TQLoad::FitGridColumns(m_pList, kUsageColumns, kNameColumn);
    return QDialog::eventFilter(watched, event);
}

void CTqUiStuffUsageDlg::OpenConstruction(int row)
{
    const int codeId = m_pList->GetRowData(row).toInt();
    if (codeId <= 0)
        return;
    CTqUiBSListDlg library(this);
    library.m_bMustSelect = 0;
    library.m_Code.SetID(codeId);
    library.m_WallData.m_nBSCId = codeId;
    library.DoModal();
    Refresh();
}
