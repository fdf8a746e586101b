#pragma once

// Helpers for driving real widgets in tests: answering a popup menu or a modal window that a
// call under test opens and waits on (RunModal), and finding where a grid cell is on the screen.
//
// To wait for a widget's state use ASSERT_TRUE(QTest::qWaitFor([&] { return ...; })). Qt's
// QTRY_VERIFY and QTRY_COMPARE report to QTest's own log, which GoogleTest does not read: a
// QTRY_* that times out lets the GoogleTest test pass.

#include <QAction>
#include <QApplication>
#include <QContextMenuEvent>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QLineEdit>
#include <QMenu>
#include <QPointer>
#include <QTest>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include <gtest/gtest.h>

#include <functional>
#include <string>
#include <utility>

namespace TestHelpers {

/// How long a modal window may take to open, and to close once it has been answered.
constexpr int kModalLimitMs = 5000;

/// The window a call under test waits on: an open popup menu, else the active modal window.
inline QWidget* WaitingWindow()
{
    QWidget* popup = QApplication::activePopupWidget();
    return popup != nullptr ? popup : QApplication::activeModalWidget();
}

/// Class and title of a window, for a failure message.
inline std::string Describe(const QWidget* window)
{
    const QString title = window->windowTitle();
    return std::string(window->metaObject()->className()) +
           (title.isEmpty() ? std::string() : " \"" + title.toStdString() + '"');
}

/// Closes a window as Escape would.
inline void Dismiss(QWidget* window)
{
    if (auto* dialog = qobject_cast<QDialog*>(window))
        dialog->reject();
    else
        window->close();
}

/// Runs `call`, which opens a modal window (or a popup menu) of class `Window` and waits on it,
/// answers that window with `answer`, and returns what `call` returns. `answer` drives the window's
/// controls and must close it (a button, accept(), reject()); it may run RunModal itself for a
/// window that its own clicks open.
///
/// The running test fails, naming the window, when none opens within `limitMs`, when a window of
/// another class opens (it is closed at once), or when the answered window is still open `limitMs`
/// after `answer` returned (it is closed then): a stuck dialog costs seconds, not the ctest timeout.
///
///     const int result = RunModal<CTqUiBSListDlg>([&] { return TQLoad::ShowBSDlg(); },
///                                                  [](CTqUiBSListDlg& dialog) { dialog.reject(); });
template <class Window, class Call>
auto RunModal(Call&& call, std::function<void(Window&)> answer, int limitMs = kModalLimitMs)
{
    // Watches from the event loop, every 10 ms, for a window other than the one waiting before.
    struct Watch
    {
        QPointer<QWidget> before = WaitingWindow(), answered;
        bool bAnswered = false;
        QElapsedTimer clock;
        QTimer timer;
        const char* expected = Window::staticMetaObject.className();
        ~Watch()
        {
            if (!bAnswered && timer.isActive())
                ADD_FAILURE() << "no " << expected << " opened";
        }
    } watch;
    QObject::connect(&watch.timer, &QTimer::timeout, [&watch, &answer, limitMs] {
        QWidget* window = WaitingWindow();
        // A window that is there is answered even when the event loop came back late, so a busy
        // machine cannot leave it open with nobody to close it.
        if (watch.bAnswered && (watch.answered.isNull() || !watch.answered->isVisible())) {
            watch.timer.stop();
        } else if (!watch.bAnswered && window != nullptr && window != watch.before) {
            watch.timer.stop(); // no second answer while this one runs a loop of its own
            watch.bAnswered = true;
            watch.answered = window;
            if (auto* expected = qobject_cast<Window*>(window)) {
                answer(*expected);
            } else {
                ADD_FAILURE() << Describe(window) << " opened where a " << watch.expected << " was expected";
                Dismiss(window);
            }
            watch.clock.restart();
            watch.timer.start();
        } else if (watch.clock.elapsed() > limitMs) {
            watch.timer.stop();
            if (!watch.bAnswered)
                ADD_FAILURE() << "no " << watch.expected << " opened within " << limitMs << " ms";
            if (watch.bAnswered) {
                ADD_FAILURE() << Describe(watch.answered) << " still open " << limitMs << " ms after it was answered";
                Dismiss(watch.answered);
            }
        }
    });
    watch.clock.start();
    watch.timer.start(10);
    return std::forward<Call>(call)();
}

/// Right-clicks `at` in `viewport` and chooses the item captioned `choice` from the context menu that
/// opens (an empty choice closes it with Escape). Returns the captions ("-" for a separator) and
/// enabled states the menu offered.
inline QList<QPair<QString, bool>> ChooseFromContextMenu(QWidget* viewport, QPoint at, const QString& choice)
{
    QList<QPair<QString, bool>> offered;
    QContextMenuEvent event(QContextMenuEvent::Mouse, at, viewport->mapToGlobal(at));
    RunModal<QMenu>(
        [&] { QApplication::sendEvent(viewport, &event); },
        [&offered, choice](QMenu& menu) {
            QAction* chosen = nullptr;
            for (QAction* action : menu.actions()) {
                offered.append({action->isSeparator() ? QStringLiteral("-") : action->text(), action->isEnabled()});
                if (!choice.isEmpty() && !action->isSeparator() && action->text() == choice)
                    chosen = action;
            }
            menu.setActiveAction(chosen);
            QTest::keyClick(&menu, chosen != nullptr ? Qt::Key_Return : Qt::Key_Escape);
        });
    return offered;
}

/// Centre of a cell of a top-level item, in the view's viewport coordinates.
inline QPoint CellCenter(const QTreeWidget& view, const QTreeWidgetItem* item, int col)
{
    const QRect rowRect = view.visualItemRect(item);
    const int x = view.header()->sectionViewportPosition(col) + view.header()->sectionSize(col) / 2;
    return {x, rowRect.center().y()};
}

/// Clicks the value of the row of `grid` (a parameter grid's tree) captioned `caption`, types `text`
/// into the editor that opens and presses Enter. False when no editor opened (a read-only row) or
/// it stayed open.
inline bool TypeIntoRow(QTreeWidget& grid, const QString& caption, const QString& text)
{
    const QList<QTreeWidgetItem*> items = grid.findItems(caption, Qt::MatchExactly | Qt::MatchRecursive, 0);
    if (items.isEmpty())
        return false;
    QTest::mouseClick(grid.viewport(), Qt::LeftButton, {}, CellCenter(grid, items.first(), 1));
    // On the row already selected the view opens its editor after the double-click interval.
    QLineEdit* editor = nullptr;
    const auto opened = [&] {
        for (QLineEdit* open : grid.viewport()->findChildren<QLineEdit*>())
            editor = open->isVisible() ? open : editor;
        return editor != nullptr;
    };
    if (!QTest::qWaitFor(opened, 2 * QApplication::doubleClickInterval()))
        return false;
    // QTest types ASCII keys only; insert() takes any character, one at a time through the
    // validator as a key would.
    editor->selectAll();
    QTest::keyClick(editor, Qt::Key_Backspace);
    for (char32_t character : text.toUcs4())
        editor->insert(QString::fromUcs4(&character, 1));
    QTest::keyClick(editor, Qt::Key_Return);
    const QPointer<QLineEdit> open(editor);
    return QTest::qWaitFor([&] { return open.isNull() || !open->isVisible(); });
}

} // namespace TestHelpers
