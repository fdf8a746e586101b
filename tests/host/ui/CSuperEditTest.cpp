#include "host/ui/CSuperEdit.h"

#include "support/UiServiceFixture.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <utility>

#include <gtest/gtest.h>

namespace {

const QString kInnerMessage = QStringLiteral("内表面换热系数应大于0");

/// Types `text` over the field's content and presses Enter, as a user finishing an entry.
void TypeAndEnter(CSuperEdit& edit, const QString& text)
{
    edit.selectAll();
    QTest::keyClick(&edit, Qt::Key_Backspace);
    QTest::keyClicks(&edit, text);
    QTest::keyClick(&edit, Qt::Key_Return);
}

using CSuperEditTest = UiServiceFixture;

// The coefficient fields of the construction dialog: 8.7 shown, range 1e-6 to 1e30.
TEST_F(CSuperEditTest, RefusesTextOutsideTheRangeWithItsMessageAndRestoresTheValue)
{
    // What is typed, and whether it is accepted.
    const std::pair<const char*, bool> cases[] = {{"abc", false}, {"", false},     {"0", false},
                                                  {"-3", false},  {"2e30", false}, {"8,7", false},
                                                  {"1e-6", true}, {"1e30", true},  {"23.26", true}};
    for (const auto& [typed, bAccepted] : cases) {
        SCOPED_TRACE(typed);
        Service().ClearRecords();
        CSuperEdit edit;
        edit.SetInputFloat(8.7, 1e-6, 1e30, 0, 1, kInnerMessage);
        ASSERT_EQ(edit.text(), QStringLiteral("8.7"));
        if (!bAccepted)
            Service().QueueAnswer(QMessageBox::Ok);

        TypeAndEnter(edit, QString::fromUtf8(typed));

        if (bAccepted) {
            EXPECT_DOUBLE_EQ(edit.GetWindowValue(), QString::fromUtf8(typed).toDouble());
            EXPECT_TRUE(Service().ShownMessages().isEmpty());
            EXPECT_EQ(edit.text(), QString::fromUtf8(typed));
            continue;
        }
        EXPECT_DOUBLE_EQ(edit.GetWindowValue(), 8.7);
        ASSERT_EQ(Service().ShownMessages().size(), 1);
        const auto& shown = Service().ShownMessages().first();
        EXPECT_EQ(shown.text, kInnerMessage);
        EXPECT_EQ(shown.icon, QMessageBox::Warning);
        EXPECT_EQ(shown.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
        EXPECT_EQ(edit.text(), QStringLiteral("8.7"));
    }
}

TEST_F(CSuperEditTest, WholeNumberFieldRefusesDecimals)
{
    CSuperEdit edit;
    edit.SetInputFloat(3, 1, 10, 0, 0, QStringLiteral("层数应为1到10"));
    Service().QueueAnswer(QMessageBox::Ok);

    TypeAndEnter(edit, QStringLiteral("2.5"));
    EXPECT_EQ(edit.text(), QStringLiteral("3"));
    TypeAndEnter(edit, QStringLiteral("7"));

    EXPECT_DOUBLE_EQ(edit.GetWindowValue(), 7.0);
    ASSERT_EQ(Service().ShownMessages().size(), 1);
    EXPECT_EQ(Service().ShownMessages().first().text, QStringLiteral("层数应为1到10"));
}

TEST_F(CSuperEditTest, RefusesWhenTheFocusLeaves)
{
    QWidget window;
    auto* layout = new QVBoxLayout(&window);
    auto* edit = new CSuperEdit;
    auto* other = new QLineEdit;
    layout->addWidget(edit);
    layout->addWidget(other);
    edit->SetInputFloat(23.0, 1e-6, 1e30, 2, 1, QStringLiteral("冬季外表面换热系数应大于0"));
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    edit->setFocus();
    ASSERT_TRUE(QTest::qWaitFor([edit] { return edit->hasFocus(); }));
    Service().QueueAnswer(QMessageBox::Ok);

    edit->selectAll();
    QTest::keyClicks(edit, QStringLiteral("-1"));
    other->setFocus();

    ASSERT_TRUE(QTest::qWaitFor([] { return Service().ShownMessages().size() == 1; }));
    EXPECT_EQ(Service().ShownMessages().first().text, QStringLiteral("冬季外表面换热系数应大于0"));
    EXPECT_EQ(edit->text(), QStringLiteral("23.00"));
}

TEST_F(CSuperEditTest, ReadOnlyFieldChecksNothing)
{
    CSuperEdit edit;
    edit.SetInputFloat(8.7, 1e-6, 1e30, 0, 1, kInnerMessage);
    edit.setReadOnly(true);
    edit.setText(QStringLiteral("abc"));
    QTest::keyClick(&edit, Qt::Key_Return);
    EXPECT_TRUE(Service().ShownMessages().isEmpty());
}

} // namespace
