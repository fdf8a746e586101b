#include "host/ui/CTQUiService.h"

#include <QApplication>
#include <QFileDialog>
#include <QGuiApplication>
#include <QStringList>

CTQUiService& CTQUiService::Instance()
{
    static CTQUiService service;
    return service;
}

QMessageBox::StandardButton CTQUiService::MessageBox(QWidget* parent, const QString& text, QMessageBox::Icon icon,
                                                     QMessageBox::StandardButtons buttons,
                                                     QMessageBox::StandardButton defaultButton)
{
    MessageRecord record;
    record.text = text;
    record.caption = QGuiApplication::applicationDisplayName();
    record.icon = icon;
    record.buttons = buttons;
    record.defaultButton = defaultButton;

    if (m_bTestMode && !m_messageAnswers.isEmpty()) {
        record.answer = m_messageAnswers.dequeue();
        // An answer the box does not offer is a mistake in the test, not a choice a user could make.
        const QMessageBox::StandardButtons offered = buttons == QMessageBox::NoButton ? QMessageBox::Ok : buttons;
        record.bUnexpected = !offered.testFlag(record.answer);
    } else if (m_bTestMode || !CanShowWidgets()) {
        record.bUnexpected = true;
    } else {
        record.answer = ExecMessageBox(parent, record);
    }

    if (record.bUnexpected) {
        record.answer = EscapeAnswer(buttons, defaultButton);
        ++m_nUnexpected;
    }
    m_shownMessages.append(record);
    return record.answer;
}

QString CTQUiService::GetOpenFileName(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter)
{
    return AskForFile(parent, caption, dir, filter, &QFileDialog::getOpenFileName);
}

QString CTQUiService::GetSaveFileName(QWidget* parent, const QString& caption, const QString& dir,
                                      const QString& filter)
{
    return AskForFile(parent, caption, dir, filter, &QFileDialog::getSaveFileName);
}

QString CTQUiService::AskForFile(QWidget* parent, const QString& caption, const QString& dir, const QString& filter,
                                 FileDialogFunction dialog)
{
    FileDialogRecord record;
    record.caption = caption;
    record.dir = dir;
    record.filter = filter;

    if (m_bTestMode && !m_fileAnswers.isEmpty()) {
        record.answer = m_fileAnswers.dequeue();
    } else if (m_bTestMode || !CanShowWidgets()) {
        record.bUnexpected = true;
        ++m_nUnexpected;
    } else {
        record.answer = dialog(parent, caption, dir, QtFileFilter(filter), nullptr, QFileDialog::Options());
    }

    m_shownFileDialogs.append(record);
    return record.answer;
}

QString CTQUiService::QtFileFilter(const QString& filter)
{
    if (!filter.contains(u'|'))
        return filter;

    // "description|patterns|description|patterns||": pairs, the empty tail ends the list.
    const QStringList parts = filter.split(u'|');
    QStringList entries;
    for (qsizetype i = 0; i + 1 < parts.size(); i += 2) {
        QString description = parts.at(i).trimmed();
        if (description.isEmpty())
            break;
        // Qt reads the patterns from the last parentheses; a description that already shows its
        // patterns there would otherwise have them twice.
        if (description.endsWith(u')') && description.contains(u'('))
            description = description.left(description.lastIndexOf(u'(')).trimmed();
        const QStringList patterns = parts.at(i + 1).split(u';', Qt::SkipEmptyParts);
        entries.append(QStringLiteral("%1 (%2)").arg(description, patterns.join(u' ').trimmed()));
    }
    return entries.join(QStringLiteral(";;"));
}

void CTQUiService::ClearRecords()
{
    m_messageAnswers.clear();
    m_fileAnswers.clear();
    m_shownMessages.clear();
    m_shownFileDialogs.clear();
    m_nUnexpected = 0;
}

QMessageBox::StandardButton CTQUiService::EscapeAnswer(QMessageBox::StandardButtons buttons,
                                                       QMessageBox::StandardButton defaultButton)
{
    if (defaultButton != QMessageBox::NoButton && buttons.testFlag(defaultButton))
        return defaultButton;
    if (buttons.testFlag(QMessageBox::Cancel))
        return QMessageBox::Cancel;
    if (buttons.testFlag(QMessageBox::No))
        return QMessageBox::No;
    for (int bit = QMessageBox::FirstButton; bit <= QMessageBox::LastButton; bit <<= 1) {
        const auto button = static_cast<QMessageBox::StandardButton>(bit);
        if (buttons.testFlag(button))
            return button;
    }
    return QMessageBox::Ok; // a box given no buttons shows OK
}

bool CTQUiService::CanShowWidgets()
{
    return qobject_cast<QApplication*>(QCoreApplication::instance()) != nullptr;
}

QMessageBox::StandardButton CTQUiService::ExecMessageBox(QWidget* parent, const MessageRecord& record)
{
    QString shownText = record.text;
    shownText.replace(QStringLiteral("\r\n"), QStringLiteral("\n"));
    QMessageBox box(record.icon, record.caption, shownText, record.buttons, parent);
    if (record.defaultButton != QMessageBox::NoButton)
        box.setDefaultButton(record.defaultButton);
    return static_cast<QMessageBox::StandardButton>(box.exec());
}
