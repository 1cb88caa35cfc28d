#include "app/status_text.h"
#include "display/presentation.h"

#include <gtest/gtest.h>

namespace {

TEST(AppPresentationTest, WindowAreaIsTheScaledImageWithItsMargin) {
    EXPECT_EQ(ScreenAreaSize(1), (PixelSize{394, 322}));
    // At 200% the area is 778 x 634 and the image runs from (5, 5) to (773, 629).
    EXPECT_EQ(ScreenAreaSize(2), (PixelSize{778, 634}));
    EXPECT_EQ(ImageRectInWindow(2), (PixelRect{5, 5, 768, 624}));
    EXPECT_EQ(ScreenAreaSize(3), (PixelSize{1162, 946}));
    EXPECT_EQ(ImageRectInWindow(3), (PixelRect{5, 5, 1152, 936}));
}

TEST(AppPresentationTest, FullScreenKeepsTheShapeAtAWholeScaleCentred) {
    const struct {
        PixelSize screen;
        PixelRect image;
    } cases[] = {
        {{1920, 1080}, {384, 72, 1152, 936}},   // 3x: bars left, right, top and bottom
        {{1280, 1024}, {64, 44, 1152, 936}},    // 3x
        {{3840, 2160}, {768, 144, 2304, 1872}}, // 6x
        {{1024, 768}, {128, 72, 768, 624}},     // 2x
        {{384, 312}, {0, 0, 384, 312}},         // exactly 1x
        {{800, 312}, {208, 0, 384, 312}},       // wide and low: 1x
        {{300, 600}, {0, 178, 300, 243}},       // smaller than the picture: fitted, shape kept
        {{600, 200}, {177, 0, 246, 200}},
        {{0, 0}, {0, 0, 0, 0}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(ImageRectFullScreen(c.screen), c.image) << c.screen.width << "x" << c.screen.height;
}

TEST(AppPresentationTest, ScalesOutsideTheWindowRangeFallBackTo100Percent) {
    for (int scale : {0, 4, -1, 99})
        EXPECT_EQ(WindowScale(scale), 1) << scale;
    EXPECT_EQ(ScreenAreaSize(0), ScreenAreaSize(1));
}

TEST(AppPresentationTest, EachDrawModeHasItsBackEnd) {
    EXPECT_EQ(PresentingBackEnd(kDrawSoftware), kDrawSoftware);
    EXPECT_EQ(PresentingBackEnd(kDrawOpenGL), kDrawOpenGL);
    EXPECT_EQ(PresentingBackEnd(kDrawShaders), kDrawShaders);
    EXPECT_EQ(PresentingBackEnd(7), kDrawSoftware);
    EXPECT_EQ(PresentingBackEnd(-1), kDrawSoftware);
}

TEST(AppStatusTextTest, FiftyFramesIsFullSpeed) {
    const StatusTexts texts = MakeStatusTexts(0, 50, "", 1);
    EXPECT_EQ(texts.model, " Jupiter Ace 3K");
    EXPECT_EQ(texts.framesPerSecond, " Frames Per Second: 50  ");
    EXPECT_EQ(texts.speed, " Speed: 100%");
    EXPECT_EQ(texts.currentFile, "");
}

TEST(AppStatusTextTest, ModelNames) {
    EXPECT_EQ(MakeStatusTexts(1, 0, "", 1).model, " Jupiter Ace 19K");
    EXPECT_EQ(MakeStatusTexts(2, 0, "", 1).model, " Jupiter Ace 35K");
    EXPECT_EQ(MakeStatusTexts(3, 0, "", 1).model, " Jupiter Ace 51K");
    EXPECT_EQ(MakeStatusTexts(0, 0, "", 1).speed, " Speed: 0%");
    EXPECT_EQ(MakeStatusTexts(0, 173, "", 1).speed, " Speed: 346%");
}

TEST(AppStatusTextTest, CurrentFileShowsFrom200PercentUp) {
    EXPECT_EQ(MakeStatusTexts(0, 50, "game.tap", 1).currentFile, "");
    EXPECT_EQ(MakeStatusTexts(0, 50, "game.tap", 2).currentFile, " Current File: game.tap");
    EXPECT_EQ(MakeStatusTexts(0, 50, "game.tap", 3).currentFile, " Current File: game.tap");
    EXPECT_EQ(MakeStatusTexts(0, 50, "", 3).currentFile, "");
}

TEST(AppStatusTextTest, TheDeckShowsAtEverySize) {
    for (int scale : {1, 2, 3})
        EXPECT_EQ(MakeStatusTexts(0, 50, "", scale, "maze.tap (TAP)").currentFile, " Deck: maze.tap (TAP)");
    EXPECT_EQ(MakeStatusTexts(0, 50, "a.ace", 2, "b.tzx (TZX)").currentFile,
              " Current File: a.ace Deck: b.tzx (TZX)");
}

TEST(AppStatusTextTest, BeforeTheFirstUpdate) {
    const StatusTexts texts = InitialStatusTexts();
    EXPECT_EQ(texts.model, " ");
    EXPECT_EQ(texts.framesPerSecond, " Frames Per Second: ");
    EXPECT_EQ(texts.speed, " Speed: ");
    EXPECT_EQ(texts.currentFile, "");
}

} // namespace
