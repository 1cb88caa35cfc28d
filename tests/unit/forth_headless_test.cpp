// The FORTH-level actions of noltace-headless on the real ROM: the data stack, a
// breakpoint on a word's entry, one word decompiled and the dictionary exported.
#include <fstream>
#include <sstream>

#include "headless_runner.h"
#include "test_support.h"

namespace {

class ForthHeadlessTest : public HeadlessRomFixture {};

TEST_F(ForthHeadlessTest, DataStackTopFirst) {
    const HeadlessResult r = Run({"--run", "100", "--forth-stack", "--type", "1 2 -3\n", "--forth-stack"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, "depth 0\ndepth 3: -3 2 1\n");
}

TEST_F(ForthHeadlessTest, BreakWordStopsWhenTheWordIsEntered) {
    const HeadlessResult r = Run({"--break-word", "SQ", "--run", "100", "--type", ": SQ DUP * ;\n", "--type",
                                  "7 SQ .\n", "--forth-stack", "--run", "10", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    std::istringstream out(r.out);
    std::string line;
    std::getline(out, line);
    EXPECT_EQ(line, "break in SQ");
    std::getline(out, line);
    EXPECT_EQ(line, "depth 1: 7");
    std::getline(out, line);
    EXPECT_EQ(line.substr(0, 8), "PC  04C5") << "the register rows follow";
    // Defining SQ ran other words through the dispatch without stopping; after the stop
    // the typed line goes on and prints the square.
    EXPECT_EQ(r.out.find("break in", 5), std::string::npos);
    EXPECT_NE(r.out.find("49"), std::string::npos) << r.out;
}

TEST_F(ForthHeadlessTest, DecompileAndExport) {
    const std::string file = dir + "words.txt";
    const HeadlessResult r = Run({"--run", "100", "--type", ": CUBE DUP DUP * * ;\n", "--type",
                                  "CREATE DATA 1 C,\n", "--decompile", "CUBE", "--export-words", file,
                                  "--decompile", "DATA"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(r.out, ": CUBE\n DUP DUP * *\n;\n( 1 words as source, 1 as raw bytes )\n"
                     "DATA: LIST shows only colon, DEFINER and COMPILER words\n");
    std::ifstream in(file);
    std::stringstream text;
    text << in.rdbuf();
    EXPECT_NE(text.str().find("CREATE DATA\n 1 C,\n"), std::string::npos) << text.str();

    const HeadlessResult missing = Run({"--run", "100", "--decompile", "NOSUCH"});
    EXPECT_EQ(missing.status, 1);
    EXPECT_NE(missing.err.find("no word 'NOSUCH'"), std::string::npos) << missing.err;
    EXPECT_EQ(Run({"--decompile"}).status, 2);
}

} // namespace
