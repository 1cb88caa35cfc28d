// noltace-headless on the real ROM: typing, waiting for text, screenshots, and golden
// screens kept in tests/golden/.
#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iterator>

#include "headless_runner.h"
#include "test_support.h"

namespace {

namespace fs = std::filesystem;

std::string ReadFile(const std::string& path) {
    std::ifstream f(path, std::ios::binary);
    return {std::istreambuf_iterator<char>(f), std::istreambuf_iterator<char>()};
}

// Compares with tests/golden/NAME, or rewrites it when NOLTACE_UPDATE_GOLDEN is set.
void ExpectGolden(const std::string& name, const std::string& actual) {
    const fs::path path = fs::path(__FILE__).parent_path().parent_path() / "golden" / name;
    const char* update = std::getenv("NOLTACE_UPDATE_GOLDEN");
    if (update && *update && std::string(update) != "0") {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    ASSERT_TRUE(fs::exists(path)) << path << " is missing; run with NOLTACE_UPDATE_GOLDEN=1 to create it";
    EXPECT_EQ(actual, ReadFile(path.string())) << "differs from " << path;
}

class HeadlessRomTest : public HeadlessRomFixture {};

TEST_F(HeadlessRomTest, BootScreenMatchesGolden) {
    const HeadlessResult r = Run({"--run", "100", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_TRUE(r.err.empty()) << r.err;
    ExpectGolden("boot_screen.txt", r.out);
}

TEST_F(HeadlessRomTest, TypedSumPrintsItsResultAfterTheLine) {
    const HeadlessResult r = Run({"--run", "100", "--type", "123 456 + .\n", "--screen"});
    ASSERT_EQ(r.status, 0) << r.err;
    const size_t typed = r.out.find("123 456 + .");
    ASSERT_NE(typed, std::string::npos) << r.out;
    EXPECT_NE(r.out.find("579", typed + 11), std::string::npos) << r.out;
    ExpectGolden("typed_sum_screen.txt", r.out);

    // The two characters backslash and n are ENTER as well.
    const HeadlessResult escaped =
        Run({"--run", "100", "--type", "2 3 * .\\n", "--until", "6  OK", "--screen"});
    EXPECT_EQ(escaped.status, 0) << escaped.err;
}

TEST_F(HeadlessRomTest, UntilWaitsForTextOrTimesOut) {
    HeadlessResult r = Run({"--type", "7 6 * .\n", "--until", "42", "--screen"});
    EXPECT_EQ(r.status, 0) << r.err;
    EXPECT_NE(r.out.find("42  OK"), std::string::npos) << r.out;

    r = Run({"--max", "20", "--until", "NEVER SHOWN", "--screen"});
    EXPECT_EQ(r.status, 3);
    EXPECT_EQ(r.ErrLines(), 1) << r.err;
    EXPECT_TRUE(r.out.empty()) << "actions after the failed wait do not run";
}

TEST_F(HeadlessRomTest, ScreenshotShowsTheBootScreenInDefaultColours) {
    const std::string bmp = dir + "boot.bmp";
    const HeadlessResult r = Run({"--run", "100", "--screenshot", bmp});
    ASSERT_EQ(r.status, 0) << r.err;
    const std::string bytes = ReadFile(bmp);
    ASSERT_EQ(bytes.size(), 54u + 384 * 312 * 4);
    // Rows are stored bottom-up, 4 bytes (B, G, R, 0) a pixel.
    const auto pixel = [&](int x, int y) {
        const size_t at = 54 + (size_t(311 - y) * 384 + size_t(x)) * 4;
        return uint32_t(uint8_t(bytes[at])) | uint32_t(uint8_t(bytes[at + 1])) << 8 |
               uint32_t(uint8_t(bytes[at + 2])) << 16 | uint32_t(uint8_t(bytes[at + 3])) << 24;
    };
    for (int y : {0, 30, 55, 248, 311})
        for (int x : {0, 100, 383})
            EXPECT_EQ(pixel(x, y), 0u) << "border at " << x << "," << y;
    for (int x : {0, 63, 320, 383})
        EXPECT_EQ(pixel(x, 150), 0u) << "side border at " << x;
    // The cursor cell (row 23, column 1): inverse graphic 0x17, ink only in its
    // bottom-left quarter.
    for (int line = 0; line < 8; ++line)
        for (int k = 0; k < 8; ++k)
            EXPECT_EQ(pixel(72 + k, 240 + line), line >= 4 && k < 4 ? 0xCACACAu : 0u) << line << "," << k;
}

TEST_F(HeadlessRomTest, SpoolFileIsTypedLikeText) {
    const std::string file = dir + "sum.fs";
    std::ofstream(file, std::ios::binary) << "100 23 - .\r\n";
    const HeadlessResult r = Run({"--run", "50", "--load", file, "--until", "77  OK"});
    EXPECT_EQ(r.status, 0) << r.err;
}

} // namespace
