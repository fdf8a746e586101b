#include "ui/materials/CTqUiStuffInfoDlg.h"
#include "ui_CTqUiStuffInfoDlg.h"

#include "host/core/CTQContextResourceOverride.h"
#include "host/db/CTQDBGlobalSetting.h"
#include "host/ui/CTQUiService.h"
#include "ui/materials/CTqUiStuffGrid.h"
#include "ui/TQWallModule.h"
#include "library/CTQTimberingVapour.h"

#include <QBoxLayout>
#include <QLabel>
#include <QLineEdit>

#include <cmath>

namespace {

void Warn(QWidget* parent, const QString& text)
{
    CTQUiService::Instance().MessageBox(parent, text, QMessageBox::Warning);
}

} // namespace

CTqUiStuffInfoDlg::CTqUiStuffInfoDlg(QWidget* parent)
    : QDialog(parent), m_ui(std::make_unique<Ui::CTqUiStuffInfoDlg>())
{
    m_ui->setupUi(this);
    m_pGrid = new CTqUiStuffGrid(m_ui->gridPlaceholder);
    m_pGrid->setObjectName(QStringLiteral("stuffGrid"));
    m_ui->gridPlaceholder->layout()->addWidget(m_pGrid);
    // μ lives in a table of its own, so it is a field of its own below the material's grid.
    auto* vapourRow = new QHBoxLayout;
    vapourRow->addWidget(new QLabel(QStringLiteral("蒸汽渗透系数(g/(m·h·Pa))"), this));
    m_pVapourEdit = new QLineEdit(this);
    m_pVapourEdit->setObjectName(QStringLiteral("vapourEdit"));
    m_pVapourEdit->setPlaceholderText(QStringLiteral("无数据"));
    vapourRow->addWidget(m_pVapourEdit, 1);
    static_cast<QBoxLayout*>(m_ui->gridPlaceholder->layout())->addLayout(vapourRow);
    m_ui->warningLabel->setStyleSheet(QStringLiteral("color: #b00000;"));
    m_ui->warningLabel->hide();

    connect(m_ui->okButton, &QPushButton::clicked, this, &CTqUiStuffInfoDlg::accept);
    connect(m_ui->cancelButton, &QPushButton::clicked, this, &CTqUiStuffInfoDlg::reject);
    connect(m_pGrid, &CTqUiPropertyGrid::valueChanged, this, &CTqUiStuffInfoDlg::UpdateWarning);
}

CTqUiStuffInfoDlg::~CTqUiStuffInfoDlg()
{
    // The grid outlives this part of the object; what it reports while Qt deletes it must not
    // reach members that are already gone.
    m_pGrid->disconnect(this);
}

int CTqUiStuffInfoDlg::DoModal()
{
    const CTQContextResourceOverride resources(TQLoad::GetTQWallModule());
    return exec();
}

void CTqUiStuffInfoDlg::setVisible(bool visible)
{
    // The records are set between construction and showing, so the grid is filled from them here.
    if (visible && !m_bWindowBuilt) {
        m_bWindowBuilt = true;
        OnInitDialog();
    }
    QDialog::setVisible(visible);
}

int CTqUiStuffInfoDlg::OnInitDialog()
{
    DrawUI();
    ShowUIData();
    return 1;
}

void CTqUiStuffInfoDlg::DrawUI()
{
    // The type row writes into m_Type.Name as the user types: m_Type lives as long as the dialog.
    m_pGrid->Draw(&m_Type.Name, m_Timbering, false);
    const double permeability =
        m_Timbering.GetID() >= 1 ? CTQTimberingVapour::Read(m_Timbering.GetID()) : std::nan("");
    m_pVapourEdit->setText(std::isfinite(permeability) ? QString::number(permeability, 'g', 6) : QString());
    UpdateWarning();
}

void CTqUiStuffInfoDlg::ShowUIData()
{
    if (m_nMode == 1) {
        m_ui->okButton->setText(QStringLiteral("添加"));
        setWindowTitle(QStringLiteral("添加材质信息"));
    } else if (m_nMode == 2) {
        m_ui->okButton->setText(QStringLiteral("修改"));
        setWindowTitle(QStringLiteral("修改:[%1]/[%2]").arg(m_Type.Name, m_Timbering.GetStuffName()));
    }
}

void CTqUiStuffInfoDlg::UpdateWarning()
{
    // A new material's empty form is no value yet: the line waits for one typed.
    const bool bShown = m_Timbering.GetID() >= 1 || m_pGrid->IsConductivityEdited();
    const bool bUnusable = bShown && !(m_pGrid->GetConductivity() > 0.0);
    m_ui->warningLabel->setText(
        bUnusable ? QStringLiteral("导热系数不大于0：用到该材质的围护结构将无法计算（结果显示为“-”）。") : QString());
    m_ui->warningLabel->setVisible(bUnusable);
}

int CTqUiStuffInfoDlg::CheckData()
{
    m_Type.Name = m_Type.Name.trimmed();
    m_pGrid->RefreshBoundRows();
    if (m_Type.Name.isEmpty()) {
        Warn(this, QStringLiteral("请输入材质的类型！"));
        m_pGrid->SelectType();
        return 0;
    }
    m_Timbering.SetStuffName(m_Timbering.GetStuffName().trimmed());
    if (m_Timbering.GetStuffName().isEmpty()) {
        Warn(this, QStringLiteral("请输入材质的名称！"));
        m_pGrid->SelectName();
        return 0;
    }
    return 1;
}

void CTqUiStuffInfoDlg::accept()
{
    OnOK();
}

void CTqUiStuffInfoDlg::OnOK()
{
    // The grid's values go into the material first, so a refused save keeps what was typed.
    m_pGrid->ReadMaterial(m_Timbering);
    if (!CheckData())
        return;
    double permeability = std::nan("");
    const QString vapourText = m_pVapourEdit->text().trimmed();
    if (!vapourText.isEmpty()) {
        bool ok = false;
        permeability = vapourText.toDouble(&ok);
        if (!ok || !std::isfinite(permeability) || permeability <= 0.0) {
            Warn(this, QStringLiteral("蒸汽渗透系数应为正数，或留空表示无数据！"));
            m_pVapourEdit->setFocus();
            return;
        }
    }
    if (m_nMode == 1 && !SaveNew())
        return;
    if (m_nMode == 2 && !SaveChanged())
        return;
    m_bChanged = 1;
    if (!CTQTimberingVapour::Write(m_Timbering.GetID(), permeability)) {
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return;
    }
    QDialog::accept();
}

bool CTqUiStuffInfoDlg::SaveNew()
{
    // The type first: a new name makes a new type, a known one is reused (names are unique).
    switch (m_Type.AddIfNotExist(nullptr, 1)) {
    case TQLoad::DBS_Failed:
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return false;
    case TQLoad::DBS_Added:
        m_bChanged = 1;
        break;
    default:
        break;
    }
    m_Timbering.TTId = m_Type.GetID();
    m_Timbering.SetProvinceID(m_Province.GetID());
    switch (m_Timbering.AddIfNotExist(nullptr, 1)) {
    case TQLoad::DBS_Exist:
        ShowNameTaken();
        return false;
    case TQLoad::DBS_Added:
        return true;
    default:
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return false;
    }
}

bool CTqUiStuffInfoDlg::SaveChanged()
{
    // A new type name renames the type for all its materials; another type's name moves the
    // material to that type.
    const CTQTimberingType typeBefore = m_Type;
    switch (m_Type.UpdateIfNoOther(nullptr, 1)) {
    case TQLoad::DBS_Failed:
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return false;
    case TQLoad::DBS_Updated:
        m_bChanged = 1;
        break;
    default:
        break;
    }
    const CTQTimbering materialBefore = m_Timbering;
    m_Timbering.TTId = m_Type.GetID();
    switch (m_Timbering.UpdateIfNoOther(nullptr, 1)) {
    case TQLoad::DBS_Exist:
        ShowNameTaken();
        // The type row written above stays written; the dialog goes on with what the user typed.
        m_Type = typeBefore;
        m_Timbering = materialBefore;
        m_pGrid->RefreshBoundRows();
        return false;
    case TQLoad::DBS_Updated:
        return true;
    default:
        CTQUiService::Instance().MessageBox(this, CTQDBGlobalSetting::GetGlobalSetting()->DatabaseErrorText(),
                                            QMessageBox::Critical);
        return false;
    }
}

void CTqUiStuffInfoDlg::ShowNameTaken()
{
    // After the take-over the material is the stored one, so its type is the stored one's.
    CTQTimberingType storedType;
    storedType.ReadData(m_Timbering.TTId, nullptr);
    Warn(this, QStringLiteral("该名称的材质已经存在！\r\n[%1] - [%2]").arg(storedType.Name, m_Timbering.GetStuffName()));
    m_pGrid->SelectName();
}
