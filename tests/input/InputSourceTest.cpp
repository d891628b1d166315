// The platform input service: acquisition bound to the focus, taps that survive between
// two reads, motion and wheel in DirectInput units.
#include "platform/headless/HeadlessInput.h"

#include <gtest/gtest.h>

using platform::InputDevice;
using platform::MouseState;

class InputSourceTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(in.create());
        ASSERT_TRUE(in.acquire(InputDevice::Keyboard));
        ASSERT_TRUE(in.acquire(InputDevice::Mouse));
    }
    bool keyDownInRead(uint8_t code)
    {
        uint8_t st[256];
        EXPECT_TRUE(in.readKeyboard(st));
        return st[code] == 0x80;
    }
    platform::HeadlessInput in;
};

TEST_F(InputSourceTest, ATapBetweenTwoReadsIsSeenDownOnceThenUp)
{
    in.keyDown(0x1C);
    in.keyUp(0x1C);
    in.keyDown(0x39);
    EXPECT_TRUE(keyDownInRead(0x1C));
    EXPECT_FALSE(keyDownInRead(0x1C));
    // The Space press queued behind the Enter release arrives with it, in order.
    EXPECT_TRUE(keyDownInRead(0x39));
    EXPECT_EQ(in.pendingEvents(), 0u);
}

TEST_F(InputSourceTest, AHeldKeyStaysDownAcrossReads)
{
    in.keyDown(0x2A);
    for (int i = 0; i < 3; ++i)
        EXPECT_TRUE(keyDownInRead(0x2A));
    in.keyUp(0x2A);
    EXPECT_FALSE(keyDownInRead(0x2A));
}

TEST_F(InputSourceTest, MouseClickMotionAndWheelAreReportedOncePerRead)
{
    in.buttonDown(0);
    in.buttonUp(0);
    in.mouseMotion(3, -2);
    in.mouseMotion(4, 1);
    in.wheelMotion(platform::kWheelNotch);
    in.wheelMotion(platform::kWheelNotch);
    MouseState st;
    ASSERT_TRUE(in.readMouse(st));
    EXPECT_EQ(st.buttons[0], 0x80);
    EXPECT_EQ(st.x, 0); // the motion came after the click's release, so it is the next read's
    ASSERT_TRUE(in.readMouse(st));
    EXPECT_EQ(st.buttons[0], 0);
    EXPECT_EQ(st.x, 7);
    EXPECT_EQ(st.y, -1);
    EXPECT_EQ(st.z, 240);
    ASSERT_TRUE(in.readMouse(st));
    EXPECT_EQ(st.x, 0);
    EXPECT_EQ(st.z, 0);
}

TEST_F(InputSourceTest, LosingTheFocusReleasesEverythingAndReadsFailUntilReacquired)
{
    in.keyDown(0x1D);
    in.buttonDown(1);
    EXPECT_TRUE(keyDownInRead(0x1D));
    in.setFocus(false);
    uint8_t st[256];
    MouseState ms;
    EXPECT_FALSE(in.readKeyboard(st));
    EXPECT_FALSE(in.readMouse(ms));
    EXPECT_FALSE(in.acquire(InputDevice::Keyboard)); // a background window cannot take the keys
    in.keyDown(0x39);                                  // and hears nothing
    in.setFocus(true);
    ASSERT_TRUE(in.acquire(InputDevice::Keyboard));
    ASSERT_TRUE(in.acquire(InputDevice::Mouse));
    ASSERT_TRUE(in.readKeyboard(st));
    EXPECT_EQ(st[0x1D], 0);
    EXPECT_EQ(st[0x39], 0);
    ASSERT_TRUE(in.readMouse(ms));
    EXPECT_EQ(ms.buttons[1], 0);
}

TEST_F(InputSourceTest, AnUnacquiredDeviceFailsItsRead)
{
    in.unacquire(InputDevice::Keyboard);
    uint8_t st[256];
    EXPECT_FALSE(in.readKeyboard(st));
    EXPECT_FALSE(in.isAcquired(InputDevice::Keyboard));
    EXPECT_TRUE(in.acquire(InputDevice::Keyboard));
    EXPECT_TRUE(in.readKeyboard(st));
}

TEST_F(InputSourceTest, AFloodOfEventsIsFoldedNotLost)
{
    for (int i = 0; i < 5000; ++i) {
        in.keyDown(uint8_t(i % 200));
        in.keyUp(uint8_t(i % 200));
    }
    in.keyDown(0x1F);
    EXPECT_LE(in.pendingEvents(), 1024u);
    int reads = 0;
    bool sDown = false;
    while (!sDown && reads < 2000) {
        sDown = keyDownInRead(0x1F);
        ++reads;
    }
    EXPECT_TRUE(sDown);
}

TEST_F(InputSourceTest, HugeMotionSaturatesInsteadOfWrapping)
{
    for (int i = 0; i < 4; ++i)
        in.mouseMotion(0x7fffffff, 0);
    MouseState st;
    ASSERT_TRUE(in.readMouse(st));
    EXPECT_EQ(st.x, 0x7fffffff);
}

TEST(JoystickAxis, SignedPositionsMapOntoTheDirectInputScale)
{
    EXPECT_EQ(platform::joystickAxisFromSigned16(0), 0x7fff);
    EXPECT_EQ(platform::joystickAxisFromSigned16(-32768), 0);
    EXPECT_EQ(platform::joystickAxisFromSigned16(32767), 0xffff);
    EXPECT_LT(platform::joystickAxisFromSigned16(-2), 0x7fff);
    EXPECT_GT(platform::joystickAxisFromSigned16(2), 0x7fff);
    EXPECT_EQ(platform::joystickAxisFromSigned16(-40000), 0);
}

TEST(Joystick, NoneAttachedMeansNothingToRead)
{
    platform::HeadlessInput in;
    ASSERT_TRUE(in.create());
    EXPECT_EQ(in.joystickCount(), 0);
    EXPECT_FALSE(in.acquire(InputDevice::Joystick));
    platform::JoystickState st;
    EXPECT_FALSE(in.readJoystick(0, st));
}

TEST(Joystick, AttachedJoystickStartsCentredAndReportsButtons)
{
    platform::HeadlessInput in;
    ASSERT_TRUE(in.create());
    in.attachJoystick();
    ASSERT_TRUE(in.acquire(InputDevice::Joystick));
    platform::JoystickState st;
    ASSERT_TRUE(in.readJoystick(0, st));
    EXPECT_EQ(st.x, 0x7fff);
    EXPECT_EQ(st.y, 0x7fff);
    in.joystickAxis(0, 0xffff);
    in.joystickButton(3, true);
    ASSERT_TRUE(in.readJoystick(0, st));
    EXPECT_EQ(st.x, 0xffff);
    EXPECT_EQ(st.buttons[3], 0x80);
    EXPECT_FALSE(in.readJoystick(1, st));
}
