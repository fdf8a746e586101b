#pragma once

// Helpers for driving real widgets in tests: answering a popup menu or a modal window that a
// call under test opens and waits on, and finding where a grid cell is on the screen.
//
// To wait for a widget's state use ASSERT_TRUE(QTest::qWaitFor([&] { return ...; })). Qt's
// QTRY_VERIFY and QTRY_COMPARE report to QTest's own log, which GoogleTest does not read: a
// QTRY_* that times out lets the GoogleTest test pass.

#include <QApplication>
#include <QHeaderView>
#include <QMenu>
#include <QTimer>
#include <QTreeWidget>
#include <QWidget>

#include <functional>

namespace TestHelpers {

/// Once `find` returns a widget, runs `act` on it. Polls from the event loop, so it works while
/// a call under test runs a nested loop (QMenu::exec, QDialog::exec).
inline void WhenWidgetAppears(std::function<QWidget*()> find, std::function<void(QWidget*)> act, int attempts = 500)
{
    QTimer::singleShot(10, [find = std::move(find), act = std::move(act), attempts]() mutable {
        if (QWidget* widget = find())
            act(widget);
        else if (attempts > 0)
            WhenWidgetAppears(std::move(find), std::move(act), attempts - 1);
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
