#include <gtest/gtest.h>

#include <cstdlib>

#include "platform/application.h"
#include "platform/message_box.h"
#include "screen/startup.h"
#include "tests/support/temp_dir.h"

namespace snugbox::testing {
namespace {

// The test program's own directory holds no piece catalogue, as a broken install would.
TEST(StartUp, WithoutAUsableCatalogueSaysWhyAndEndsBeforeAnyWindow)
{
    Application::instance();
    TempDir config;
    setenv("XDG_CONFIG_HOME", config.path().c_str(), 1);
    MessageBoxRecorder recorder;
    EXPECT_NE(runSnugbox(), 0);
    unsetenv("XDG_CONFIG_HOME");
    ASSERT_EQ(recorder.messages().size(), 1U);
    EXPECT_EQ(recorder.messages()[0].title, "Snugbox");
    EXPECT_NE(recorder.messages()[0].text.find("ALLPIECES.PDAT"), std::string::npos);
}

} // namespace
} // namespace snugbox::testing
