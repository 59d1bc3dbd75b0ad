#include "platform/files.h"
#include "platform/profile.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;

TEST(Profile, WindowsProfileSemantics) {
    test::TempDir dir;
    {
        Settings s(dir.path());
        EXPECT_EQ(s.read("slider", "5"), "5") << "absent: the default";
        EXPECT_EQ(s.read("SLIDER", "7"), "5") << "keys ignore case";
        s.write("form top", "");
        EXPECT_EQ(s.read("form top", "50"), "50") << "empty: the default, written back";
        std::string section = "/home/ann/Dragon/users/Ann/current/mycmds.dat";
        s.write("1", "Global Commands\tGlobal Commands\tgo to top", section);
        EXPECT_EQ(s.read("1", "", section.c_str()), "Global Commands\tGlobal Commands\tgo to top");
        s.write("long", std::string(300, 'x'));
        EXPECT_EQ(s.read("long", "").size(), 250u);
        EXPECT_TRUE(s.readBool("dont show auto import", false) == false);
        s.write("dont show auto import", "-1");
        EXPECT_TRUE(s.readBool("dont show auto import", false));
        s.write("number menus", "True");
        EXPECT_TRUE(s.readBool("Number Menus", false));
    }
    Profile again(files::join(dir.path(), "Parlavista.INI"));
    EXPECT_EQ(again.get("parlavista", "slider"), "5");
    EXPECT_EQ(again.get("Parlavista", "form top"), "50");
    EXPECT_EQ(again.get("/HOME/ANN/Dragon/users/Ann/current/mycmds.dat", "1"),
              "Global Commands\tGlobal Commands\tgo to top");
    EXPECT_FALSE(again.get("Parlavista", "nothing"));
}

TEST(Profile, AWriteChangesOnlyTheLineOfItsKey) {
    test::TempDir dir;
    // Dragon's own file: CR LF, no blanks around '=', blank lines, a comment, and the same
    // key in another section.
    const std::string dragons = "[Options]\r\nMyCommands Changed=0\r\nAuto Save=1\r\n\r\n"
                                "; kept by Dragon\r\n[Other]\r\nMyCommands Changed=7\r\n";
    std::string path = dir.write("local.ini", dragons);
    ASSERT_TRUE(Profile(path).write("options", "mycommands changed", "1"));
    std::string expected = dragons;
    expected.replace(expected.find("=0"), 2, "=1");
    EXPECT_EQ(files::readAll(path), expected);

    // A new key goes after the last line of its section, a new section at the end, both in
    // the file's own line breaks.
    ASSERT_TRUE(Profile(path).write("Options", "Fast", "yes"));
    ASSERT_TRUE(Profile(path).write("Added", "k", "v"));
    expected.insert(expected.find("\r\n\r\n") + 2, "Fast=yes\r\n");
    EXPECT_EQ(files::readAll(path), expected + "[Added]\r\nk=v\r\n");
    Profile again(path);
    EXPECT_EQ(again.get("Options", "Fast"), "yes");
    EXPECT_EQ(again.get("Other", "MyCommands Changed"), "7");

    // A file of plain line feeds and spaced keys keeps both.
    std::string unix = dir.write("unix.ini", "[s]\nkey = old\n");
    ASSERT_TRUE(Profile(unix).write("s", "key", "new"));
    ASSERT_TRUE(Profile(unix).write("s", "more", "x"));
    EXPECT_EQ(files::readAll(unix), "[s]\nkey = new\nmore=x\n");
    ASSERT_TRUE(Profile(unix).removeKey("s", "KEY"));
    EXPECT_EQ(files::readAll(unix), "[s]\nmore=x\n");
}
