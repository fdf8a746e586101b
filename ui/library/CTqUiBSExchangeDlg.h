#pragma once

#include "TQWallExport.h"
#include "library/CTQLibraryExchange.h"

#include <QDialog>

class QComboBox;
class QPlainTextEdit;

/// The library's exchange files from the construction library: the export of a selection to a
/// file, and the import of a file after a preview of what it adds, what the library already holds
/// with equal content (left alone) and what it holds under the same key with other content, for
/// which the user chooses to keep the library's, add the incoming one renamed or replace. Files
/// are chosen and messages shown through the host's UI services.
class TQWALL_EXPORT CTqUiBSExchangeDlg : public QDialog
{
    Q_OBJECT

public:
    /// Asks for a file and writes the selection to it; false when cancelled or refused.
    static bool ExportSelection(QWidget* parent, CTQLibraryExchange::ESelection selection, const QString& name, int id);
    /// Asks for a file, shows the preview and imports on OK; true when the library was written.
    static bool ImportFile(QWidget* parent);

    CTqUiBSExchangeDlg(CTQLibraryExchange& exchange, QWidget* parent = nullptr);

    CTQLibraryExchange::EDuplicate GetPolicy() const;

private:
    void ShowPlan();

    CTQLibraryExchange& m_Exchange;
    QPlainTextEdit* m_pPlanText = nullptr;
    QComboBox* m_pPolicyBox = nullptr;
};
