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
