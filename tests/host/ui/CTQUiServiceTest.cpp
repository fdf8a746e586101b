#include "host/ui/CTQUiService.h"

#include "support/QtTestHelpers.h"
#include "support/UiServiceGuard.h"

#include <QAbstractButton>
#include <QMessageBox>
#include <QPushButton>

#include <gtest/gtest-spi.h>
#include <gtest/gtest.h>

#include <tuple>
#include <utility>

namespace {

using Button = QMessageBox::StandardButton;

/// The service is process-wide: each test starts in test mode with nothing queued or recorded
/// (UiServiceGuard), and leaves nothing behind for the guard, as these tests are about what the
/// guard would count.
class CTQUiServiceTest : public ::testing::Test
{
protected:
    void TearDown() override
    {
        m_service.SetTestMode(true);
        m_service.ClearRecords();
    }

    CTQUiService& m_service = CTQUiService::Instance();
};

// Message boxes and file dialogs take answers from queues of their own, in order, and every one
// shown is recorded as it was asked.
TEST_F(CTQUiServiceTest, QueuedAnswersAreGivenInOrderAndEveryBoxIsRecorded)
{
    m_service.QueueAnswer(QMessageBox::Ok);
    m_service.QueueAnswer(QMessageBox::Cancel);
    m_service.QueueFileAnswer(QStringLiteral("/data/pictures/外墙1.JPG"));

    EXPECT_EQ(m_service.MessageBox(nullptr, QStringLiteral("操作数据库时出错！"), QMessageBox::Critical),
              QMessageBox::Ok);
    // A file dialog in between takes its own answer, and one with none left is unexpected.
    const QString filter = QStringLiteral("墙体形象图形文件(*.JPG)|*.JPG||");
    EXPECT_EQ(m_service.GetOpenFileName(nullptr, QString(), QStringLiteral("/data"), filter),
              QStringLiteral("/data/pictures/外墙1.JPG"));
    EXPECT_EQ(m_service.GetOpenFileName(nullptr, QString(), QString(), filter), QString());
    const QString confirm = QStringLiteral("确定要删除该材质 \"粘土砖\" 吗?");
    EXPECT_EQ(m_service.MessageBox(nullptr, confirm, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
                                   QMessageBox::Ok),
              QMessageBox::Cancel);

    // Text, icon, buttons and default button of each box as shown.
    QList<std::tuple<QString, int, int, int>> shown;
    for (const auto& box : m_service.ShownMessages())
        shown.append({box.text, box.icon, box.buttons.toInt(), box.defaultButton});
    EXPECT_EQ(shown, (QList<std::tuple<QString, int, int, int>>{
                         {"操作数据库时出错！", QMessageBox::Critical, QMessageBox::Ok, QMessageBox::NoButton},
                         {confirm, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok}}));
    const auto& files = m_service.ShownFileDialogs();
    ASSERT_EQ(files.size(), 2);
    EXPECT_EQ(std::tuple(files[0].dir, files[0].filter, files[0].bUnexpected),
              std::tuple(QStringLiteral("/data"), filter, false));
    EXPECT_TRUE(files[1].bUnexpected);
    EXPECT_EQ(m_service.UnexpectedCount(), 1);
    EXPECT_EQ(m_service.PendingAnswerCount(), 0);
}

// A box nobody answered, or answered with a button it does not offer, is counted and answered as
// Escape would: the default button if the box has it, else Cancel, else No, else its first button.
TEST_F(CTQUiServiceTest, UnansweredBoxIsUnexpectedAndAnsweredAsEscapeWould)
{
    // Buttons, default button, the answer given and the answer queued (NoButton: none).
    const std::tuple<QMessageBox::StandardButtons, Button, Button, Button> cases[] = {
        {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::Ok, QMessageBox::NoButton},
        {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::NoButton, QMessageBox::Cancel, QMessageBox::NoButton},
        {QMessageBox::Yes | QMessageBox::No, QMessageBox::NoButton, QMessageBox::No, QMessageBox::NoButton},
        {QMessageBox::Yes | QMessageBox::No | QMessageBox::Cancel, QMessageBox::NoButton, QMessageBox::Cancel,
         QMessageBox::NoButton},
        {QMessageBox::Ok, QMessageBox::NoButton, QMessageBox::Ok, QMessageBox::NoButton},
        {QMessageBox::Ok, QMessageBox::Cancel, QMessageBox::Ok, QMessageBox::NoButton}, // a default it lacks
        {QMessageBox::Save | QMessageBox::Discard, QMessageBox::NoButton, QMessageBox::Save, QMessageBox::NoButton},
        {QMessageBox::Ok | QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Cancel, QMessageBox::Yes},
    };
    for (const auto& [buttons, defaultButton, expected, queued] : cases) {
        SCOPED_TRACE(static_cast<int>(buttons));
        m_service.ClearRecords();
        if (queued != QMessageBox::NoButton)
            m_service.QueueAnswer(queued);
        EXPECT_EQ(m_service.MessageBox(nullptr, QStringLiteral("删除成功！"), QMessageBox::Information, buttons,
                                       defaultButton),
                  expected);
        EXPECT_EQ(m_service.UnexpectedCount(), 1);
        ASSERT_EQ(m_service.ShownMessages().size(), 1);
        EXPECT_TRUE(m_service.ShownMessages()[0].bUnexpected);
        EXPECT_EQ(m_service.ShownMessages()[0].answer, expected);
    }
}

TEST_F(CTQUiServiceTest, OutsideTestModeShowsARealBoxWithTheSystemsTextAndDefault)
{
    m_service.SetTestMode(false);
    const QString text = QStringLiteral("该名称的围护结构已经存在！\r\n[外墙] - [砖墙]");
    const auto answer = TestHelpers::RunModal<QMessageBox>(
        [&] {
            return m_service.MessageBox(nullptr, text, QMessageBox::Warning, QMessageBox::Ok | QMessageBox::Cancel,
                                        QMessageBox::Cancel);
        },
        [](QMessageBox& box) {
            EXPECT_EQ(box.text(), QStringLiteral("该名称的围护结构已经存在！\n[外墙] - [砖墙]"));
            EXPECT_EQ(box.icon(), QMessageBox::Warning);
            EXPECT_EQ(box.standardButton(box.defaultButton()), QMessageBox::Cancel);
            // Qt's own translations are loaded, as the host application loads them.
            EXPECT_EQ(box.button(QMessageBox::Ok)->text() + box.button(QMessageBox::Cancel)->text(), "确定取消");
            box.button(QMessageBox::Ok)->click();
        });
    EXPECT_EQ(answer, QMessageBox::Ok);
    TestHelpers::RunModal<QMessageBox>(
        [&] { return m_service.MessageBox(nullptr, text, QMessageBox::Question, QMessageBox::Yes | QMessageBox::No); },
        [](QMessageBox& box) {
            EXPECT_EQ(box.button(QMessageBox::Yes)->text() + box.button(QMessageBox::No)->text(), "是(&Y)否(&N)");
            box.button(QMessageBox::No)->click();
        });
    ASSERT_EQ(m_service.ShownMessages().size(), 2);
    EXPECT_EQ(m_service.ShownMessages()[0].text, text);
    EXPECT_EQ(m_service.UnexpectedCount(), 0);
}

TEST(CTQUiServiceFilterTest, ConvertsTheWindowsForm)
{
    const std::pair<const char*, const char*> cases[] = {
        {"墙体形象图形文件(*.JPG)|*.JPG||", "墙体形象图形文件 (*.JPG)"},
        {"Pictures|*.jpg;*.png|All files (*.*)|*.*||", "Pictures (*.jpg *.png);;All files (*.*)"},
        {"Pictures (*.jpg *.png)", "Pictures (*.jpg *.png)"}, // Qt's own form stays
    };
    for (const auto& [windowsForm, qtForm] : cases)
        EXPECT_EQ(CTQUiService::QtFileFilter(QString::fromUtf8(windowsForm)), QString::fromUtf8(qtForm));
}

// The safeguard of every test executable must fail a test, and say why.
TEST_F(CTQUiServiceTest, GuardFailsATestOnAnUnansweredBoxOrAnUnusedAnswer)
{
    UiServiceGuard guard;
    const ::testing::TestInfo& test = *::testing::UnitTest::GetInstance()->current_test_info();
    m_service.MessageBox(nullptr, QStringLiteral("删除成功！"), QMessageBox::Information);
    EXPECT_NONFATAL_FAILURE(guard.OnTestEnd(test), "message box \"删除成功！\"");
    m_service.QueueFileAnswer(QStringLiteral("/data/外墙1.JPG"));
    EXPECT_NONFATAL_FAILURE(guard.OnTestEnd(test), "1 queued answer(s) left unused");
}

TEST(RunModalTest, FailsWithinTheLimitNamingTheWindow)
{
    QDialog stuck;
    stuck.setWindowTitle(QStringLiteral("卡住"));
    EXPECT_NONFATAL_FAILURE(TestHelpers::RunModal<QDialog>([&] { stuck.exec(); }, [](QDialog&) {}, 100),
                            "QDialog \"卡住\" still open 100 ms after it was answered");
    // The full limit here: a message box's first showing (fonts) may take longer than 100 ms.
    QMessageBox other;
    EXPECT_NONFATAL_FAILURE(TestHelpers::RunModal<QMenu>([&] { other.exec(); }, [](QMenu&) {}),
                            "QMessageBox opened where a QMenu was expected");
    EXPECT_NONFATAL_FAILURE(TestHelpers::RunModal<QDialog>([] {}, [](QDialog&) {}, 100), "no QDialog opened");
}

} // namespace
