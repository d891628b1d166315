// The game's input object: edges without repeat, edges taken by their first reader, the
// wheel threshold and lock-out, ignoring and clearing.
#include "input/CInput.h"
#include "platform/headless/HeadlessInput.h"

#include <gtest/gtest.h>

class CInputTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(input.create(&source)); }
    void poll()
    {
        input.pollMouse();
        input.pollKeyboard();
        input.pollJoysticks();
    }
    platform::HeadlessInput source;
    CInput input;
};

TEST(CInputCreate, FailsWithoutAnInputSystem)
{
    CInput input;
    EXPECT_FALSE(input.create(nullptr));
    platform::HeadlessInput source;
    source.failCreate = true;
    EXPECT_FALSE(input.create(&source));
    EXPECT_FALSE(input.created());
    // Polling a device that never opened is harmless.
    input.pollMouse();
    input.pollKeyboard();
    EXPECT_FALSE(input.takeKeyPress(DIK_RETURN));
}

TEST_F(CInputTest, HoldingAKeyGivesOnePressUntilItIsReleased)
{
    source.keyDown(DIK_RETURN);
    int presses = 0;
    for (int frame = 0; frame < 10; ++frame) {
        poll();
        EXPECT_TRUE(input.keyHeld(DIK_RETURN));
        presses += input.takeKeyPress(DIK_RETURN);
    }
    EXPECT_EQ(presses, 1);
    source.keyUp(DIK_RETURN);
    poll();
    EXPECT_FALSE(input.keyHeld(DIK_RETURN));
    EXPECT_TRUE(input.takeKeyRelease(DIK_RETURN));
    EXPECT_FALSE(input.takeKeyPress(DIK_RETURN));
    source.keyDown(DIK_RETURN);
    poll();
    EXPECT_TRUE(input.takeKeyPress(DIK_RETURN));
}

TEST_F(CInputTest, APressIsSeenByTheFirstReaderOnly)
{
    source.keyDown(DIK_SPACE);
    source.buttonDown(0);
    poll();
    EXPECT_TRUE(input.takeKeyPress(DIK_SPACE));
    EXPECT_FALSE(input.takeKeyPress(DIK_SPACE));
    EXPECT_TRUE(input.takeMousePress(0));
    EXPECT_FALSE(input.takeMousePress(0));
    EXPECT_TRUE(input.mouseHeld(0)); // the held state is not taken by reading
    EXPECT_TRUE(input.keyHeld(DIK_SPACE));
}

TEST_F(CInputTest, AnUnreadPressStaysUntilReleased)
{
    source.buttonDown(1);
    poll();
    poll();
    EXPECT_TRUE(input.takeMousePress(1));
    source.buttonUp(1);
    source.buttonDown(1);
    poll(); // down, then (next poll) up: the edge of the new press replaces the release
    poll();
    poll();
    EXPECT_TRUE(input.takeMousePress(1));
}

TEST_F(CInputTest, AQuickTapBetweenTwoPollsIsOnePress)
{
    source.keyDown(DIK_ESCAPE);
    source.keyUp(DIK_ESCAPE);
    poll();
    EXPECT_TRUE(input.takeKeyPress(DIK_ESCAPE));
    poll();
    EXPECT_TRUE(input.takeKeyRelease(DIK_ESCAPE));
    EXPECT_FALSE(input.takeKeyPress(DIK_ESCAPE));
}

TEST_F(CInputTest, AWheelNotchIsCountedOnceWithinTheLockOut)
{
    source.wheelMotion(20);
    poll();
    EXPECT_EQ(input.takeWheel(), 1);
    for (int i = 0; i < CInput::kWheelLockoutPolls - 1; ++i) {
        source.wheelMotion(20);
        poll();
        EXPECT_EQ(input.takeWheel(), 0) << "poll " << i;
    }
    source.wheelMotion(-20);
    poll();
    EXPECT_EQ(input.takeWheel(), -1);
}

TEST_F(CInputTest, SmallWheelMovementsAreIgnored)
{
    source.wheelMotion(10);
    poll();
    EXPECT_EQ(input.takeWheel(), 0);
    source.wheelMotion(-15);
    poll();
    EXPECT_EQ(input.takeWheel(), 0);
    source.wheelMotion(16);
    poll();
    EXPECT_EQ(input.takeWheel(), 1);
}

TEST_F(CInputTest, AskingForTheWheelEveryFrameDoesNotLockItOut)
{
    for (int i = 0; i < 10; ++i) {
        poll();
        EXPECT_EQ(input.takeWheel(), 0);
    }
    source.wheelMotion(platform::kWheelNotch);
    poll();
    EXPECT_EQ(input.takeWheel(), 1);
}

TEST_F(CInputTest, ClearWheelDropsTheFlagWithoutLockOut)
{
    source.wheelMotion(-platform::kWheelNotch);
    poll();
    input.clearWheel();
    EXPECT_EQ(input.takeWheel(), 0);
    source.wheelMotion(-platform::kWheelNotch);
    poll();
    EXPECT_EQ(input.takeWheel(), -1);
}

TEST_F(CInputTest, AFailedReadReacquiresAndKeepsThePreviousState)
{
    source.keyDown(DIK_LCONTROL);
    poll();
    source.unacquire(platform::InputDevice::Keyboard);
    source.unacquire(platform::InputDevice::Mouse);
    poll();
    EXPECT_TRUE(input.keyHeld(DIK_LCONTROL));
    EXPECT_TRUE(source.isAcquired(platform::InputDevice::Keyboard));
    EXPECT_TRUE(source.isAcquired(platform::InputDevice::Mouse));
}

TEST_F(CInputTest, UnacquiredWhileInactiveThenAcquiredOnActivation)
{
    input.unacquire();
    source.setFocus(false);
    poll();
    EXPECT_FALSE(source.isAcquired(platform::InputDevice::Keyboard)); // re-acquiring fails without focus
    source.setFocus(true);
    input.acquire();
    EXPECT_TRUE(source.isAcquired(platform::InputDevice::Keyboard));
    EXPECT_TRUE(source.isAcquired(platform::InputDevice::Mouse));
}

TEST_F(CInputTest, IgnoredKeysReadUpAndHeldKeysDoNotTurnIntoPressesAfterwards)
{
    source.keyDown(DIK_SPACE);
    poll();
    EXPECT_TRUE(input.takeKeyPress(DIK_SPACE));
    input.setIgnore(true);
    source.keyDown(DIK_ESCAPE);
    for (int i = 0; i < 3; ++i) {
        poll();
        EXPECT_FALSE(input.keyHeld(DIK_SPACE));
        EXPECT_FALSE(input.takeKeyPress(DIK_ESCAPE));
    }
    input.clearKeys();
    poll();
    input.setIgnore(false);
    poll();
    EXPECT_TRUE(input.keyHeld(DIK_ESCAPE));
    EXPECT_FALSE(input.takeKeyPress(DIK_ESCAPE)); // held through the ignore: no fresh press
    EXPECT_FALSE(input.takeKeyPress(DIK_SPACE));
    source.keyUp(DIK_ESCAPE);
    poll();
    source.keyDown(DIK_ESCAPE);
    poll();
    EXPECT_TRUE(input.takeKeyPress(DIK_ESCAPE));
}

TEST_F(CInputTest, IgnoredMouseWaitsForTheEndOfTheIgnoreAndButtonZeroUp)
{
    source.buttonDown(0);
    poll();
    EXPECT_TRUE(input.takeMousePress(0));
    input.setIgnore(true);
    source.buttonUp(0);
    poll();
    source.buttonDown(0); // a click inside the ignored period
    source.buttonDown(1);
    poll();
    EXPECT_TRUE(input.mouseIgnored());
    EXPECT_FALSE(input.takeMousePress(0));
    EXPECT_FALSE(input.takeMousePress(1));
    source.wheelMotion(platform::kWheelNotch);
    poll();
    EXPECT_EQ(input.takeWheel(), 0);

    input.setIgnore(false);
    poll(); // button 0 still down: the mouse stays ignored
    EXPECT_TRUE(input.mouseIgnored());
    EXPECT_FALSE(input.takeMousePress(0));
    source.buttonUp(0);
    poll();
    EXPECT_FALSE(input.mouseIgnored());
    source.buttonDown(0);
    poll();
    EXPECT_TRUE(input.takeMousePress(0));
}

TEST_F(CInputTest, OutOfRangeQueriesAreFalse)
{
    EXPECT_FALSE(input.keyHeld(-1));
    EXPECT_FALSE(input.takeKeyPress(256));
    EXPECT_FALSE(input.mouseHeld(3));
    EXPECT_FALSE(input.takeMousePress(-1));
    int32_t x, y, z;
    EXPECT_EQ(input.joystickCount(), 0);
    EXPECT_FALSE(input.joystickAxes(0, x, y, z));
    EXPECT_FALSE(input.joystickButton(0, 0));
}

TEST(CInputJoystick, FirstJoystickIsPolledWithCentredAxes)
{
    platform::HeadlessInput source;
    source.attachJoystick();
    CInput input;
    ASSERT_TRUE(input.create(&source));
    ASSERT_EQ(input.joystickCount(), 1);
    int32_t x = 0, y = 0, z = 0;
    ASSERT_TRUE(input.joystickAxes(0, x, y, z));
    EXPECT_EQ(x, 0x7fff);
    EXPECT_EQ(z, 0x7fff);
    source.joystickAxis(1, 0);
    source.joystickButton(2, true);
    input.pollJoysticks();
    ASSERT_TRUE(input.joystickAxes(0, x, y, z));
    EXPECT_EQ(y, 0);
    EXPECT_TRUE(input.joystickButton(0, 2));
    EXPECT_FALSE(input.joystickButton(0, 1));
    EXPECT_FALSE(input.joystickButton(1, 2));
}
