#include "ui/library/CTqUiBSExchangeDlg.h"

#include "host/ui/CTQUiService.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QLabel>
#include <QPlainTextEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

const QString kFileFilter = QStringLiteral("围护结构库交换文件 (*.json)");

void ShowError(QWidget* parent, const QString& text)
{
    CTQUiService::Instance().MessageBox(parent, text, QMessageBox::Warning);
}

} // namespace

bool CTqUiBSExchangeDlg::ExportSelection(QWidget* parent, CTQLibraryExchange::ESelection selection,
                                         const QString& name, int id)
{
    const QString path = CTQUiService::Instance().GetSaveFileName(parent, QStringLiteral("导出围护结构"), {}, kFileFilter);
    if (path.isEmpty())
        return false;
    CTQLibraryExchange exchange;
    if (!exchange.Export(selection, name, id, path)) {
        ShowError(parent, exchange.GetErrorText());
        return false;
    }
    CTQUiService::Instance().MessageBox(parent, QStringLiteral("已导出到 %1").arg(path), QMessageBox::Information);
    return true;
}

bool CTqUiBSExchangeDlg::ImportFile(QWidget* parent)
{
    const QString path = CTQUiService::Instance().GetOpenFileName(parent, QStringLiteral("导入围护结构"), {}, kFileFilter);
    if (path.isEmpty())
        return false;
    CTQLibraryExchange exchange;
    if (!exchange.ReadFile(path) || !exchange.MakePlan(CTQLibraryExchange::Dup_Skip)) {
        ShowError(parent, QStringLiteral("未导入任何内容。%1").arg(exchange.GetErrorText()));
        return false;
    }
    if (exchange.GetPlan().IsEmpty()) {
        CTQUiService::Instance().MessageBox(parent, QStringLiteral("文件中的内容库中都已有，无需导入。"),
                                            QMessageBox::Information);
        return false;
    }
    CTqUiBSExchangeDlg preview(exchange, parent);
    if (preview.exec() != QDialog::Accepted)
        return false;
    if (!exchange.Import(preview.GetPolicy())) {
        ShowError(parent, QStringLiteral("未导入任何内容。%1").arg(exchange.GetErrorText()));
        return false;
    }
    if (!exchange.GetWarnings().isEmpty())
        ShowError(parent, exchange.GetWarnings().join(QLatin1Char('\n')));
    return true;
}

CTqUiBSExchangeDlg::CTqUiBSExchangeDlg(CTQLibraryExchange& exchange, QWidget* parent)
    : QDialog(parent), m_Exchange(exchange)
{
    setWindowTitle(QStringLiteral("导入围护结构"));
    m_pPlanText = new QPlainTextEdit(this);
    m_pPlanText->setObjectName(QStringLiteral("planText"));
    m_pPlanText->setReadOnly(true);
    m_pPolicyBox = new QComboBox(this);
    m_pPolicyBox->setObjectName(QStringLiteral("policyBox"));
    m_pPolicyBox->addItem(QStringLiteral("保留库中的"), CTQLibraryExchange::Dup_Skip);
    m_pPolicyBox->addItem(QStringLiteral("改名导入（“名称 (2)”）"), CTQLibraryExchange::Dup_Rename);
    m_pPolicyBox->addItem(QStringLiteral("替换库中的"), CTQLibraryExchange::Dup_Replace);
    m_pPolicyBox->setEnabled(!exchange.GetPlan().conflicts.isEmpty());
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setText(QStringLiteral("导入"));
    buttons->button(QDialogButtonBox::Cancel)->setText(QStringLiteral("取消"));
    auto* policyRow = new QFormLayout;
    policyRow->addRow(QStringLiteral("同名而内容不同时："), m_pPolicyBox);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_pPlanText);
    layout->addLayout(policyRow);
    layout->addWidget(buttons);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    // The plan follows the choice: a rename adds what a skip leaves alone.
    connect(m_pPolicyBox, &QComboBox::currentIndexChanged, this, [this] {
        m_Exchange.MakePlan(GetPolicy());
        ShowPlan();
    });
    resize(560, 420);
    ShowPlan();
}

CTQLibraryExchange::EDuplicate CTqUiBSExchangeDlg::GetPolicy() const
{
    return static_cast<CTQLibraryExchange::EDuplicate>(m_pPolicyBox->currentData().toInt());
}

void CTqUiBSExchangeDlg::ShowPlan()
{
    const CTQLibraryExchange::TQPlan& plan = m_Exchange.GetPlan();
    QStringList lines;
    const auto section = [&lines](const QString& heading, const QStringList& entries) {
        if (entries.isEmpty())
            return;
        lines.append(QStringLiteral("%1（%2）：").arg(heading).arg(entries.size()));
        for (const QString& entry : entries)
            lines.append(QStringLiteral("    ") + entry);
    };
    section(QStringLiteral("将新增"), plan.added);
    section(QStringLiteral("库中已有且内容相同，不改动"), plan.equal);
    section(QStringLiteral("库中同名而内容不同"), plan.conflicts);
    section(QStringLiteral("与库中材质数值相同，不重复添加"), plan.sameValues);
    m_pPlanText->setPlainText(lines.join(QLatin1Char('\n')));
}
