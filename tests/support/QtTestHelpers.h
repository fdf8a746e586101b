#pragma once

// Helpers for driving real widgets in tests: answering a popup menu or a modal window that a
// call under test opens and waits on (RunModal), and finding where a grid cell is on the screen.
//
// To wait for a widget's state use ASSERT_TRUE(QTest::qWaitFor([&] { return ...; })). Qt's
// QTRY_VERIFY and QTRY_COMPARE report to QTest's own log, which GoogleTest does not read: a
// QTRY_* that times out lets the GoogleTest test pass.

#include <QApplication>
#include <QDialog>
#include <QElapsedTimer>
#include <QHeaderView>
#include <QMenu>
#include <QPointer>
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

/// Watches, from the event loop, for the modal window a call opens, answers it and checks that the
/// answer closed it; see RunModal. Fails the running test in its destructor if the window never came.
class ModalWatch
{
public:
    /// `answer` answers the window and returns true when it is the one expected (`expected` names it).
    ModalWatch(std::string expected, std::function<bool(QWidget*)> answer, int limitMs)
        : m_Expected(std::move(expected)), m_Answer(std::move(answer)), m_nLimitMs(limitMs), m_Before(WaitingWindow())
    {
        m_Clock.start();
        m_Timer.setInterval(10);
        QObject::connect(&m_Timer, &QTimer::timeout, [this] { Poll(); });
        m_Timer.start();
    }

    ~ModalWatch()
    {
        m_Timer.stop();
        if (m_State == State::Waiting)
            ADD_FAILURE() << "no " << m_Expected << " opened";
    }

    ModalWatch(const ModalWatch&) = delete;
    ModalWatch& operator=(const ModalWatch&) = delete;

private:
    enum class State
    {
        Waiting,
        Answering,
        Answered,
        Done
    };

    void Poll()
    {
        if (m_State == State::Answered) {
            CheckClosed();
            return;
        }
        if (m_State != State::Waiting)
            return;
        QWidget* window = WaitingWindow();
        if (window == nullptr || window == m_Before) {
            if (m_Clock.elapsed() > m_nLimitMs) {
                ADD_FAILURE() << "no " << m_Expected << " opened within " << m_nLimitMs << " ms";
                m_State = State::Done;
            }
            return;
        }
        m_Answered = window;
        m_State = State::Answering;
        if (!m_Answer(window)) {
            ADD_FAILURE() << Describe(window) << " opened where a " << m_Expected << " was expected";
            Dismiss(window);
        }
        m_State = State::Answered;
        m_Clock.restart();
    }

    void CheckClosed()
    {
        if (m_Answered.isNull() || !m_Answered->isVisible()) {
            m_State = State::Done;
        } else if (m_Clock.elapsed() > m_nLimitMs) {
            ADD_FAILURE() << Describe(m_Answered) << " still open " << m_nLimitMs << " ms after it was answered";
            m_State = State::Done;
            Dismiss(m_Answered);
        }
    }

    std::string m_Expected;
    std::function<bool(QWidget*)> m_Answer;
    int m_nLimitMs;
    QPointer<QWidget> m_Before;
    QPointer<QWidget> m_Answered;
    State m_State = State::Waiting;
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

/// Once `find` returns a widget, runs `act` on it. Polls from the event loop, so it works while
/// a call under test runs a nested loop (QMenu::exec, QDialog::exec). Fails the running test when
/// no widget came in five seconds. RunModal also fails a window that stays open: prefer it.
inline void WhenWidgetAppears(std::function<QWidget*()> find, std::function<void(QWidget*)> act, int attempts = 500)
{
    QTimer::singleShot(10, [find = std::move(find), act = std::move(act), attempts]() mutable {
        if (QWidget* widget = find())
            act(widget);
        else if (attempts > 0)
            WhenWidgetAppears(std::move(find), std::move(act), attempts - 1);
        else
            ADD_FAILURE() << "no window appeared to answer";
    });
}

/// Answers the next popup menu: `act` looks at it and chooses (or closes it).
inline void AnswerNextPopupMenu(std::function<void(QMenu*)> act)
{
    WhenWidgetAppears([] { return qobject_cast<QMenu*>(QApplication::activePopupWidget()); },
                      [act = std::move(act)](QWidget* menu) { act(static_cast<QMenu*>(menu)); });
}

/// Answers the next modal window.
inline void AnswerNextModal(std::function<void(QWidget*)> act)
{
    WhenWidgetAppears([] { return QApplication::activeModalWidget(); }, std::move(act));
}

/// Centre of a cell of a top-level item, in the view's viewport coordinates.
inline QPoint CellCenter(const QTreeWidget& view, const QTreeWidgetItem* item, int col)
{
    const QRect rowRect = view.visualItemRect(item);
    const int x = view.header()->sectionViewportPosition(col) + view.header()->sectionSize(col) / 2;
    return {x, rowRect.center().y()};
}

} // namespace TestHelpers
