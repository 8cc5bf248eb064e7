#include <gtest/gtest.h>

#include <sstream>

#include "CliInteraction.h"

TEST(CliInteraction, StopMessagesGoToStderrAsErrors) {
    std::ostringstream err;
    CCliInteraction ui(err);
    ui.ShowMessage("This file contains no data!", MessageIcon::Stop);
    EXPECT_EQ(err.str(), "error: This file contains no data!\n");
    EXPECT_TRUE(ui.HadError());
}
