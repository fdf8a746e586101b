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

/// Watches, from the event loop, for the window a call opens, answers it and checks that the answer
/// closed it; see RunModal. Fails the running test in its destructor when no window came.
class ModalWatch
{
public:
    /// `answer` answers the window and returns true when it is the one expected (`expected` names it).
    ModalWatch(std::string expected, std::function<bool(QWidget*)> answer, int limitMs)
        : m_Expected(std::move(expected)), m_Answer(std::move(answer)), m_nLimitMs(limitMs), m_Before(WaitingWindow())
    {
        m_Clock.start();
        QObject::connect(&m_Timer, &QTimer::timeout, [this] { Poll(); });
        m_Timer.start(10);
    }
    ~ModalWatch()
    {
        if (!m_bAnswered && m_Timer.isActive())
            ADD_FAILURE() << "no " << m_Expected << " opened";
    }
    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

private:
    void Poll()
    {
        QWidget* window = WaitingWindow();
        if (m_bAnswered && (m_Answered.isNull() || !m_Answered->isVisible())) {
            m_Timer.stop();
        } else if (m_Clock.elapsed() > m_nLimitMs) {
            m_Timer.stop();
            if (!m_bAnswered)
                ADD_FAILURE() << "no " << m_Expected << " opened within " << m_nLimitMs << " ms";
            if (m_bAnswered) {
                ADD_FAILURE() << Describe(m_Answered) << " still open " << m_nLimitMs << " ms after it was answered";
                Dismiss(m_Answered);
            }
        } else if (!m_bAnswered && window != nullptr && window != m_Before) {
            m_Timer.stop(); // no second answer while this one runs a loop of its own
            m_bAnswered = true;
            m_Answered = window;
            if (!m_Answer(window)) {
                ADD_FAILURE() << Describe(window) << " opened where a " << m_Expected << " was expected";
                Dismiss(window);
            }
            m_Clock.restart();
            m_Timer.start();
        }
    }

    std::string m_Expected;
    std::function<bool(QWidget*)> m_Answer;
    int m_nLimitMs;
    QPointer<QWidget> m_Before;
    QPointer<QWidget> m_Answered;
    bool m_bAnswered = false;
    QElapsedTimer m_Clock;
    QTimer m_Timer;
};

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
    ModalWatch watch(
        Window::staticMetaObject.className(),
        [answer = std::move(answer)](QWidget* window) {
            auto* expected = qobject_cast<Window*>(window);
            if (expected != nullptr)
                answer(*expected);
            return expected != nullptr;
        },
        limitMs);
    return std::forward<Call>(call)();
}

/// Shows a window and waits until it is on the screen.
inline void Show(QWidget& window)
{
    window.show();
    EXPECT_TRUE(QTest::qWaitForWindowExposed(&window));
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

/// Captions from the top-level item down to the tree's current item.
inline QStringList CurrentTreePath(const QTreeWidget& tree)
{
    QStringList path;
    for (const QTreeWidgetItem* item = tree.currentItem(); item != nullptr; item = item->parent())
        path.prepend(item->text(0));
    return path;
}

/// The item at the end of a caption path from the top level, or null.
inline QTreeWidgetItem* FindTreeItem(const QTreeWidget& tree, const QStringList& path)
{
    QTreeWidgetItem* found = tree.invisibleRootItem();
    for (int depth = 0; found != nullptr && depth < path.size(); ++depth) {
        QTreeWidgetItem* parent = found;
        found = nullptr;
        for (int i = 0; i < parent->childCount() && found == nullptr; ++i)
            found = parent->child(i)->text(0) == path[depth] ? parent->child(i) : nullptr;
    }
    return found;
}

/// Opens the branches down to the item at the end of `path` as the user does with the expand
/// buttons, then clicks it; fails the test when there is no such item.
inline void ClickTreeItem(QTreeWidget& tree, const QStringList& path)
{
    QTreeWidgetItem* item = FindTreeItem(tree, path);
    ASSERT_NE(item, nullptr) << path.join(QLatin1Char('/')).toStdString();
    for (QTreeWidgetItem* up = item->parent(); up != nullptr; up = up->parent())
        up->setExpanded(true);
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
}

/// Centre of a cell of a top-level item, in the view's viewport coordinates.
inline QPoint CellCenter(const QTreeWidget& view, const QTreeWidgetItem* item, int col)
{
    const QRect rowRect = view.visualItemRect(item);
    const int x = view.header()->sectionViewportPosition(col) + view.header()->sectionSize(col) / 2;
    return {x, rowRect.center().y()};
}

} // namespace TestHelpers
