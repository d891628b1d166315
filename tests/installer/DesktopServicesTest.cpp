// The Linux stand-ins for the registry, shell links, special folders and the drive check.
#include "SetupFixture.h"

#include "installer/DesktopIntegration.h"
#include "platform/DesktopEntry.h"
#include "platform/KeyValueFile.h"
#include "platform/Shell.h"
#include "platform/XdgFolders.h"

using namespace setuptest;

namespace {

TEST(KeyValueFile, RoundTripAndDamagedInput)
{
    testsupport::TempDir dir;
    const std::string f = dir.file("k.ini");
    platform::KeyValues kv;
    EXPECT_FALSE(platform::readKeyValueFile(f, kv));
    ASSERT_TRUE(platform::writeKeyValueFile(f, {{"INSTALL_NO", "3"}, {"INSTALL_DIR", "/a b/c=d"}}));
    ASSERT_TRUE(platform::readKeyValueFile(f, kv));
    EXPECT_EQ(kv["INSTALL_DIR"], "/a b/c=d");
    EXPECT_EQ(kv["INSTALL_NO"], "3");
    EXPECT_FALSE(platform::writeKeyValueFile(f, {{"INSTALL_DIR", "x\nINSTALL_NO=99"}}));
    EXPECT_EQ(platform::parseKeyValues("garbage\n=x\nA=1\r\n#B=2\nA=2"), (platform::KeyValues{{"A", "2"}}));
}

TEST(Registration, MissingValuesReadAsZeroAndEmpty)
{
    TempHome home;
    const std::string title = platform::utf8ToSjis("題");
    EXPECT_EQ(readRegistration(title).installNo, 0);
    EXPECT_EQ(registrationFile(title), home.config() + "/鷺庵/題/install.ini");
    fs::create_directories(home.config() + "/鷺庵/題");
    testsupport::writeText(registrationFile(title), "INSTALL_DIR=/x\n");
    EXPECT_EQ(readRegistration(title).installNo, 0);
    EXPECT_EQ(readRegistration(title).installDir, "/x");
    ASSERT_TRUE(writeRegistration(title, Registration{7, "/y"}));
    EXPECT_EQ(text(registrationFile(title)), "INSTALL_DIR=/y\nINSTALL_NO=7\n");
    deleteRegistration(title);
    EXPECT_FALSE(fs::exists(home.config() + "/鷺庵"));
}

TEST(XdgFolders, VariablesAndUserDirs)
{
    TempHome home;
    EXPECT_EQ(platform::xdg::configHome(), home.config());
    EXPECT_EQ(platform::xdg::dataHome(), home.data());
    EXPECT_EQ(platform::xdg::desktopDir(), home.desktop());
    ::setenv("XDG_DATA_HOME", "relative/path", 1);
    EXPECT_EQ(platform::xdg::dataHome(), home.home + "/.local/share");
    ::unsetenv("XDG_CONFIG_HOME");
    EXPECT_EQ(platform::xdg::desktopDir(), home.home + "/Desktop");

    struct Case {
        const char* text;
        const char* expected;
    };
    const Case cases[] = {
        {"XDG_DESKTOP_DIR=\"$HOME/Desktop\"\n", "/h/Desktop"},
        {"# c\n  XDG_DESKTOP_DIR=\"/abs/d/\"\n", "/abs/d"},
        {"XDG_DESKTOP_DIR=\"rel\"\n", ""},
        {"XDG_DESKTOP_DIR=\"$HOME/a\nXDG_DOWNLOAD_DIR=\"$HOME/b\"\n", ""},
        {"XDG_DOWNLOAD_DIR=\"$HOME/b\"\n", ""},
    };
    for (const Case& c : cases)
        EXPECT_EQ(platform::xdg::userDirFrom(c.text, "DESKTOP", "/h"), c.expected) << c.text;
}

TEST(DesktopEntry, ExecArgumentsAreQuoted)
{
    platform::DesktopEntry e;
    e.name = "A\\B";
    e.exec = {"/x y/$HOME/\"q\"/50%/a\\b`c`", "--flag"};
    e.workingDir = "/x y";
    const std::string t = platform::desktopEntryText(e);
    EXPECT_EQ(t, "[Desktop Entry]\nType=Application\nVersion=1.0\nName=A\\\\B\n"
                 "Exec=\"/x y/\\\\$HOME/\\\\\"q\\\\\"/50%%/a\\\\\\\\b\\\\`c\\\\`\" \"--flag\"\n"
                 "Path=/x y\nTerminal=false\n");
    e.name = "line\nbreak";
    EXPECT_NE(platform::desktopEntryText(e).find("Name=linebreak\n"), std::string::npos);
}

TEST(FixedDisk, MountTableDecides)
{
    const std::string table =
        "22 1 8:1 / / rw,relatime shared:1 - ext4 /dev/sda1 rw\n"
        "30 22 0:25 / /home rw,relatime shared:2 - btrfs /dev/sda2 rw\n"
        "40 22 11:0 / /media/cd ro,relatime shared:3 - iso9660 /dev/sr0 ro\n"
        "41 22 8:17 / /media/usb\\040stick rw,relatime shared:4 - vfat /dev/sdb1 rw\n"
        "42 22 7:0 / /snap/x rw,relatime - squashfs /dev/loop0 rw\n"
        "43 22 8:33 / /data ro,relatime - ext4 /dev/sdc1 ro\n"
        "broken line\n";
    struct Case {
        const char* path;
        const char* mountPoint;
        bool removable;
        bool fixed;
    };
    const Case cases[] = {
        {"/usr/games", "/", false, true},        {"/home/u/x", "/home", false, true},
        {"/homework", "/", false, true},         {"/media/cd/a", "/media/cd", false, false},
        {"/media/usb stick/a", "/media/usb stick", true, false},
        {"/snap/x/y", "/snap/x", false, false},  {"/data", "/data", false, false},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.path);
        const platform::MountFacts m = platform::mountOf(table, c.path);
        ASSERT_TRUE(m.found);
        EXPECT_EQ(m.mountPoint, c.mountPoint);
        EXPECT_EQ(platform::isFixedMount(m, c.removable), c.fixed);
    }
    EXPECT_FALSE(platform::mountOf("", "/x").found);
    // The real check: the test folder is on a writable disk.
    testsupport::TempDir dir;
    EXPECT_TRUE(platform::createSystemShell()->onFixedDisk(dir.str() + "/not/yet/made"));
}

} // namespace
