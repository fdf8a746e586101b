#pragma once

#include "host/TQHostExport.h"

#include <QFileDialog>
#include <QList>
#include <QMessageBox>
#include <QQueue>
#include <QString>

class QWidget;

/// The host's message-box and file-open services. Every message the system shows to the user and
/// every file it asks for goes through the one instance, so that tests can answer them in advance
/// and read back what was shown.
///
/// Icons of the Windows message boxes map to Qt's: stop → QMessageBox::Critical, exclamation →
/// QMessageBox::Warning, information → QMessageBox::Information, none → QMessageBox::NoIcon.
/// The caption of every box is the application's display name.
///
/// In test mode no window is ever created, so the service also works where no widget can be
/// shown (the library manager's tests run without any). A box or file dialog is answered with
/// the next queued answer of its kind; one with no queued answer is counted as unexpected and
/// answered as a user pressing Escape would (see MessageBox), so a test fails instead of blocking.
class TQHOST_EXPORT CTQUiService
{
public:
    /// A message box as it was shown, and how it was answered.
    struct MessageRecord
    {
        QString text; ///< the text exactly as passed ("\r\n" line breaks kept)
        QString caption;
        QMessageBox::Icon icon = QMessageBox::NoIcon;
        QMessageBox::StandardButtons buttons;
        QMessageBox::StandardButton defaultButton = QMessageBox::NoButton;
        QMessageBox::StandardButton answer = QMessageBox::NoButton;
        bool bUnexpected = false; ///< test mode: no suitable answer was queued
    };

    /// A file-open dialog as it was shown, and the file it returned (empty: cancelled).
    struct FileDialogRecord
    {
        QString caption;
        QString dir;
        QString filter; ///< the filter exactly as passed
        QString answer;
        bool bUnexpected = false; ///< test mode: no answer was queued
    };

    static CTQUiService& Instance();

    CTQUiService(const CTQUiService&) = delete;
    CTQUiService& operator=(const CTQUiService&) = delete;

    /// Shows a modal message box and returns the button that closed it. `defaultButton`
    /// NoButton leaves the choice of the default button to the box.
    ///
    /// Test mode: returns the next queued answer. Without one, or when the queued answer is not
    /// one of `buttons`, the box is recorded as unexpected and answered with `defaultButton`,
    /// else Cancel, else No, else the box's only or first button.
    /// Outside test mode a process without a QApplication cannot show a box; it is answered the
    /// same way and recorded as unexpected.
    QMessageBox::StandardButton MessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                           QMessageBox::StandardButtons buttons = QMessageBox::Ok,
                                           QMessageBox::StandardButton defaultButton = QMessageBox::NoButton);

    /// Asks for one existing file to open; returns its full path, or an empty string when the user
    /// cancels. `filter` is Qt's form ("Pictures (*.jpg *.png)") or the Windows form with "|"
    /// between description and pattern ("墙体形象图形文件(*.JPG)|*.JPG||"), which is converted.
    /// Test mode: returns the next queued file; without one, an empty string, recorded as unexpected.
    QString GetOpenFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);

    /// Asks for a file to save to; the same answers and records as GetOpenFileName.
    QString GetSaveFileName(QWidget* parent, const QString& caption, const QString& dir, const QString& filter);
    /// Qt's filter text for a Windows "description|patterns|...||" filter; other text is returned
    /// unchanged. Patterns separated by ";" become blank-separated.
    static QString QtFileFilter(const QString& filter);

    // Test hooks.
    void SetTestMode(bool bTestMode) { m_bTestMode = bTestMode; }
    bool IsTestMode() const { return m_bTestMode; }
    void QueueAnswer(QMessageBox::StandardButton answer) { m_messageAnswers.enqueue(answer); }
    void QueueFileAnswer(const QString& path) { m_fileAnswers.enqueue(path); }
    const QList<MessageRecord>& ShownMessages() const { return m_shownMessages; }
    const QList<FileDialogRecord>& ShownFileDialogs() const { return m_shownFileDialogs; }
    /// Boxes and file dialogs that found no suitable queued answer since the last ClearRecords.
    int UnexpectedCount() const { return m_nUnexpected; }
    /// Queued answers that no box or file dialog has taken yet.
    int PendingAnswerCount() const { return static_cast<int>(m_messageAnswers.size() + m_fileAnswers.size()); }
    /// Forgets the records, the unexpected count and any answers still queued.
    void ClearRecords();

private:
    CTQUiService() = default;

    using FileDialogFunction = QString (*)(QWidget*, const QString&, const QString&, const QString&, QString*,
                                           QFileDialog::Options);
    QString AskForFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                       FileDialogFunction dialog);
    static QMessageBox::StandardButton EscapeAnswer(QMessageBox::StandardButtons buttons,
                                                    QMessageBox::StandardButton defaultButton);
    static bool CanShowWidgets();
    static QMessageBox::StandardButton ExecMessageBox(QWidget* parent, const MessageRecord& record);

    bool m_bTestMode = false;
    QQueue<QMessageBox::StandardButton> m_messageAnswers;
    QQueue<QString> m_fileAnswers;
    QList<MessageRecord> m_shownMessages;
    QList<FileDialogRecord> m_shownFileDialogs;
    int m_nUnexpected = 0;
};
