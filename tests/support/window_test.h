#pragma once

#include <gtest/gtest.h>

#include "platform/forms/form.h"
#include "support/scripted_host.h"

namespace support {

// Every window closed before and after each test; message boxes and dialogs are answered by a
// scripted host that records what was asked.
class WindowTest : public ::testing::Test {
protected:
    void SetUp() override { forms::resetAllWindows(); }
    void TearDown() override { forms::resetAllWindows(); }
    forms::ScriptedHostGuard host;
};

}  // namespace support
