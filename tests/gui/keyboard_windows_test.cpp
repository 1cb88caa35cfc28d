// The Keyboard Helper and keyboard picture windows, driven through their widgets.
#include <QApplication>
#include <QImage>
#include <QTest>

#include <gtest/gtest.h>

#include "app/keyboard.h"
#include "app/qt/keyboard_helper_window.h"
#include "app/qt/keyboard_picture_window.h"
#include "machine/machine_state.h"
#include "tape/spool.h"

namespace {

void CloseAndDelete(QWidget* w) {
    if (!w) return;
    w->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
}

class KeyboardWindowsTest : public ::testing::Test {
protected:
    void SetUp() override {
        ResetKeyboard();
        typingCounter = 5;
    }
    void TearDown() override {
        CloseAndDelete(KeyboardHelper());
        CloseAndDelete(KeyboardPicture());
        ResetKeyboard();
        typingCounter = 0;
    }
    static QImage Picture(QWidget* w) { return w->grab().toImage(); }
};

TEST_F(KeyboardWindowsTest, HelperOpensOnceWithItsFortyKeys) {
    OpenKeyboardHelper(nullptr);
    KeyboardHelperWindow* helper = KeyboardHelper();
    ASSERT_NE(helper, nullptr);
    EXPECT_TRUE(KeyboardHelperOpen());
    EXPECT_EQ(helper->windowTitle(), "NoltACE Keyboard Helper");
    EXPECT_EQ(helper->palette().color(QPalette::Window), QColor(Qt::white));
    EXPECT_TRUE(helperTyping);
    EXPECT_EQ(typingCounter, 0);
    for (int id = 700; id <= 739; ++id)
        EXPECT_NE(helper->findChild<HelperKeyButton*>(QString("key%1").arg(id)), nullptr) << id;
    // The keys do not overlap and all lie inside the window.
    for (int a = 0; a < kHelperButtonCount; ++a) {
        EXPECT_TRUE(helper->rect().contains(helper->KeyButton(a)->geometry())) << a;
        for (int b = a + 1; b < kHelperButtonCount; ++b)
            EXPECT_FALSE(helper->KeyButton(a)->geometry().intersects(helper->KeyButton(b)->geometry())) << a << "," << b;
    }
    OpenKeyboardHelper(nullptr);
    EXPECT_EQ(KeyboardHelper(), helper);
}

TEST_F(KeyboardWindowsTest, ClickingKeysSetsThePendingCharacter) {
    OpenKeyboardHelper(nullptr);
    KeyboardHelperWindow* helper = KeyboardHelper();
    helper->show();
    HelperKeyButton* two = helper->findChild<HelperKeyButton*>("key701");
    HelperKeyButton* shift = helper->findChild<HelperKeyButton*>("key730");
    HelperKeyButton* symbol = helper->findChild<HelperKeyButton*>("key738");

    QTest::mouseClick(shift, Qt::LeftButton);
    EXPECT_TRUE(helperShift);
    QTest::mouseClick(two, Qt::LeftButton);
    EXPECT_EQ(helperPendingCharacter, 11);
    QTest::mouseClick(shift, Qt::LeftButton);
    QTest::mouseClick(two, Qt::LeftButton);
    EXPECT_EQ(helperPendingCharacter, '2');
    QTest::mouseClick(symbol, Qt::LeftButton);
    EXPECT_TRUE(symbolHeld);
    QTest::mouseClick(helper->findChild<HelperKeyButton*>("key727"), Qt::LeftButton); // K
    EXPECT_EQ(helperPendingCharacter, '+');
    // The right button does nothing.
    QTest::mouseClick(helper->findChild<HelperKeyButton*>("key739"), Qt::RightButton);
    EXPECT_EQ(helperPendingCharacter, '+');
}

TEST_F(KeyboardWindowsTest, KeysShowPressedAndHeldPictures) {
    OpenKeyboardHelper(nullptr);
    KeyboardHelperWindow* helper = KeyboardHelper();
    HelperKeyButton* q = helper->KeyButton(10);
    const QImage normal = Picture(q);
    QTest::mousePress(q, Qt::LeftButton);
    EXPECT_EQ(helperPendingCharacter, 'q'); // typed on the press, not the click
    const QImage pressed = Picture(q);
    QTest::mouseRelease(q, Qt::LeftButton);
    EXPECT_NE(normal, pressed);
    EXPECT_EQ(Picture(q), normal);

    HelperKeyButton* shift = helper->KeyButton(kHelperShiftButton);
    const QImage shiftNormal = Picture(shift);
    QTest::mouseClick(shift, Qt::LeftButton);
    const QImage shiftHeld = Picture(shift);
    EXPECT_NE(shiftHeld, shiftNormal);
    QTest::mouseClick(shift, Qt::LeftButton);
    EXPECT_EQ(Picture(shift), shiftNormal);
}

TEST_F(KeyboardWindowsTest, ClosingTheHelperStopsItsTyping) {
    OpenKeyboardHelper(nullptr);
    ASSERT_TRUE(helperTyping);
    CloseAndDelete(KeyboardHelper());
    EXPECT_FALSE(KeyboardHelperOpen());
    EXPECT_FALSE(helperTyping);
}

TEST_F(KeyboardWindowsTest, PictureWindowOpensAtItsSizeAndShowsHeldKeys) {
    OpenKeyboardPicture(nullptr);
    KeyboardPictureWindow* picture = KeyboardPicture();
    ASSERT_NE(picture, nullptr);
    EXPECT_TRUE(KeyboardPictureOpen());
    EXPECT_EQ(picture->windowTitle(), "Jupiter Ace Keyboard");
    EXPECT_EQ(picture->size(), QSize(526, 239));
    OpenKeyboardPicture(nullptr);
    EXPECT_EQ(KeyboardPicture(), picture);

    const QImage idle = Picture(picture);
    // Something is drawn: the case and keys are not one flat colour.
    int colours = 0;
    for (int x = 0; x < idle.width() && colours < 2; x += 7)
        if (idle.pixel(x, 120) != idle.pixel(0, 120)) ++colours;
    EXPECT_GE(colours, 1);

    PressAceKey(AceLetterKey('G'));
    const QImage held = Picture(picture);
    EXPECT_NE(held, idle);
    ReleaseAllKeys();
    EXPECT_EQ(Picture(picture), idle);

    CloseAndDelete(picture);
    EXPECT_FALSE(KeyboardPictureOpen());
}

} // namespace
