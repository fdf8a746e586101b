#pragma once

#include "host/ui/CTQUiService.h"

#include <gtest/gtest.h>

#include <sstream>

/// The one message-box safeguard of every test executable, installed by its main: before each
/// test the host's UI service is put in test mode with nothing queued or recorded; after it, a
/// message box or file dialog that found no queued answer fails the test, and so does an answer
/// the test queued for a box that never came. A test that checks the service's own counting
/// clears the records in its TearDown.
class UiServiceGuard : public ::testing::EmptyTestEventListener
{
public:
    /// Test mode for everything before the first test too (a test suite's static set-up).
    static void Install()
    {
        CTQUiService::Instance().SetTestMode(true);
        ::testing::UnitTest::GetInstance()->listeners().Append(new UiServiceGuard);
    }

    void OnTestStart(const ::testing::TestInfo& /*test*/) override
    {
        CTQUiService::Instance().SetTestMode(true);
        CTQUiService::Instance().ClearRecords();
    }

    // Listeners hear the end of a test in reverse order, so this runs before the printer reports it.
    void OnTestEnd(const ::testing::TestInfo& test) override
    {
        CTQUiService& service = CTQUiService::Instance();
        std::ostringstream unexpected;
        for (const CTQUiService::MessageRecord& box : service.ShownMessages()) {
            if (box.bUnexpected)
                unexpected << "\n  message box \"" << box.text.toStdString() << '"';
        }
        for (const CTQUiService::FileDialogRecord& dialog : service.ShownFileDialogs()) {
            if (dialog.bUnexpected)
                unexpected << "\n  file dialog \"" << dialog.caption.toStdString() << '"';
        }
        if (service.UnexpectedCount() > 0)
            ADD_FAILURE() << "shown without a queued answer (or with one it does not offer):" << unexpected.str();
        // An assertion that stopped the test before the box came has already failed it.
        if (service.PendingAnswerCount() > 0 && !test.result()->Failed())
            ADD_FAILURE() << service.PendingAnswerCount() << " queued answer(s) left unused: the box never came";
        service.SetTestMode(true);
        service.ClearRecords();
    }
};
