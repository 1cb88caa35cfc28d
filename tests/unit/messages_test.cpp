#include "base/messages.h"
#include "test_support.h"

namespace {

class MessagesTest : public MachineTest {};

TEST_F(MessagesTest, CodesArePrintedInHexadecimal) {
    EXPECT_EQ(FormatMessage(10), "0A - Snapshot Error: Cannot load snapshot file");
    EXPECT_EQ(FormatMessage(22), "16 - Tape Error: unknown extension");
    EXPECT_EQ(FormatMessage(2), "02 - ROM missing");
}

TEST_F(MessagesTest, CodesWithoutTextShowThePrefixAlone) {
    EXPECT_EQ(FormatMessage(9), "09 - ");
    EXPECT_EQ(FormatMessage(0), "00 - ");
    EXPECT_EQ(FormatMessage(96), "60 - ");
    EXPECT_EQ(FormatMessage(104), "68 - ");
}

TEST_F(MessagesTest, ReportGoesToTheHostWithItsCaption) {
    EXPECT_TRUE(ReportMessage(kCaptionFile, 13));
    ASSERT_EQ(recorder.messages.size(), 1u);
    EXPECT_EQ(recorder.messages[0], "NoltACE File|0D - File Error: File not found");
    ReportMessage(kCaptionPoke, 82);
    EXPECT_EQ(recorder.messages[1], "NoltACE POKE Memory|52 - Debugger: Not a number or number out of range");
    EXPECT_STREQ(MessageCaption(7), "");
}

} // namespace
