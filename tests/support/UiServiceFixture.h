#pragma once

#include "host/ui/CTQUiService.h"

#include <gtest/gtest.h>

/// Base of the tests that show messages or ask for files: the host's UI service answers from its
/// queues and records, and a test fails when a box came that it did not answer or when an answer
/// it queued was never asked for.
class UiServiceFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        Service().SetTestMode(true);
        Service().ClearRecords();
    }

    void TearDown() override
    {
        EXPECT_EQ(Service().UnexpectedCount(), 0) << "a message box or file dialog that no answer was queued for";
        EXPECT_EQ(Service().PendingAnswerCount(), 0) << "an answer was queued for a box that never came";
        Service().ClearRecords();
    }

    static CTQUiService& Service() { return CTQUiService::Instance(); }
};
