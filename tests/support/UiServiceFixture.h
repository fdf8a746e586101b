#pragma once

#include "host/ui/CTQUiService.h"

#include <gtest/gtest.h>

/// Base of tests that show messages or ask for files. The safeguard itself (test mode, a test
/// failing on a box it did not answer or on an answer never asked for) is UiServiceGuard, which
/// every test main installs; this base only names the service.
class UiServiceFixture : public ::testing::Test
{
protected:
    static CTQUiService& Service() { return CTQUiService::Instance(); }
};
