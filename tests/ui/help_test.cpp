#include "ui/help.h"

#include <gtest/gtest.h>

namespace pelorin {
namespace {

TEST(MainCommands, HelpFileAndTopicText) {
    const HelpTarget t = HelpTargetFor("/opt/pelorin/system/", 40);
    EXPECT_EQ(t.file, "/opt/pelorin/system/PelorinHelp.chm");
    EXPECT_EQ(t.topic, "::40.html");
    EXPECT_EQ(HelpFileError(t.file), "Unable to open help file /opt/pelorin/system/PelorinHelp.chm");
}

}  // namespace
}  // namespace pelorin
