#include "host/ui/CSuperEdit.h"

#include "host/ui/CTQUiService.h"

#include <QLineEdit>
#include <QTest>
#include <QVBoxLayout>
#include <QWidget>

#include <tuple>

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

class CSuperEditTest : public ::testing::Test
{
protected:
    static CTQUiService& Service() { return CTQUiService::Instance(); }
};

// The coefficient fields of the construction dialog (8.7 shown, range 1e-6 to 1e30) and a whole
// number field (3 shown, range 1 to 10).
TEST_F(CSuperEditTest, RefusesTextOutsideTheRangeWithItsMessageAndRestoresTheValue)
{
    const QString wholeMessage = QStringLiteral("层数应为1到10");
    // What is typed, whether it is accepted, and whether into the whole number field.
    const std::tuple<const char*, bool, bool> cases[] = {
        {"abc", false, false}, {"", false, false},    {"0", false, false},     {"-3", false, false},
        {"2e30", false, false}, {"8,7", false, false}, {"1e-6", true, false},  {"1e30", true, false},
        {"23.26", true, false}, {"2.5", false, true},  {"7", true, true},
    };
    for (const auto& [typed, bAccepted, bWhole] : cases) {
        SCOPED_TRACE(typed);
        Service().ClearRecords();
        CSuperEdit edit;
        if (bWhole)
            edit.SetInputFloat(3, 1, 10, 0, 0, wholeMessage);
        else
            edit.SetInputFloat(8.7, 1e-6, 1e30, 0, 1, kInnerMessage);
        const QString shown = edit.text();
        ASSERT_EQ(shown, bWhole ? QStringLiteral("3") : QStringLiteral("8.7"));
        if (!bAccepted)
            Service().QueueAnswer(QMessageBox::Ok);

        TypeAndEnter(edit, QString::fromUtf8(typed));

        EXPECT_DOUBLE_EQ(edit.GetWindowValue(), bAccepted ? QString::fromUtf8(typed).toDouble() : shown.toDouble());
        EXPECT_EQ(edit.text(), bAccepted ? QString::fromUtf8(typed) : shown);
        if (bAccepted) {
            EXPECT_TRUE(Service().ShownMessages().isEmpty());
            continue;
        }
        ASSERT_EQ(Service().ShownMessages().size(), 1);
        const auto& box = Service().ShownMessages().first();
        EXPECT_EQ(box.text, bWhole ? wholeMessage : kInnerMessage);
        EXPECT_EQ(box.icon, QMessageBox::Warning);
        EXPECT_EQ(box.buttons, QMessageBox::StandardButtons(QMessageBox::Ok));
    }
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
