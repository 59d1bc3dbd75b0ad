#include "datfile/builder.h"
#include "datfile/file_commands.h"
#include "platform/files.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

// Dragon's side as the reader sees it: one user with a current command file.
class OneUser : public dragon::UserFiles {
  public:
    explicit OneUser(std::string root) : root_(std::move(root)) {}
    std::string currentUserCommandFile() override {
        return files::join(root_, "users/Ann/current/mycmds.dat");
    }
    std::string directoryPrefix() override { return root_; }
    std::optional<std::string> userOfCommandFile(const std::string& path) override {
        if (files::samePath(path, currentUserCommandFile())) {
            return "Ann";
        }
        return std::nullopt;
    }

  private:
    std::string root_;
};

std::string sampleFile() {
    return buildFile(Layout::V89,
                     {applicationCommand("zz", "winword", kTypeKeys, textBody("z")),
                      globalCommand("aa", kTypeKeys, textBody("a"))},
                     {listRecord("apps", {"x"})});
}

} // namespace

TEST(FileCommands, OpenAndReloadReplaceTheCatalogueOrEndTheProgram) {
    test::Harness h;
    OneUser dragon(h.home.path());
    h.session->dragon = &dragon;
    std::string other = h.home.write("other.dat", buildFile(Layout::V61, {}, {}));
    ASSERT_EQ(openFile(*h.session, other).status, OpenResult::Status::Opened);
    auto empty = openFile(*h.session, other);
    EXPECT_EQ(empty.program, kGlobalCommands);
    EXPECT_EQ(empty.scope, kGlobalCommands);
    EXPECT_EQ(empty.caption, "Parlavista - " + test::platformPath("../other.dat") + " (6.1)");
    EXPECT_FALSE(empty.fileUser);

    std::string mine = h.home.write("users/Ann/current/mycmds.dat", sampleFile());
    auto opened = openFile(*h.session, mine);
    ASSERT_EQ(opened.status, OpenResult::Status::Opened);
    EXPECT_EQ(opened.program, kGlobalCommands);
    EXPECT_EQ(opened.scope, kGlobalCommands);
    EXPECT_EQ(opened.fileUser, "Ann");
    EXPECT_EQ(restoreCaption(*opened.fileUser), "Restore user 'Ann' &mycmds.dat");
    EXPECT_EQ(backupCaption("Ann"), "Bac&kup user 'Ann' mycmds.dat");
    EXPECT_EQ(opened.caption,
              "Parlavista - " + test::platformPath("../users/Ann/current/mycmds.dat") + " (8/9)");
    EXPECT_EQ(h.catalogue->parameter("openfile"), mine);
    EXPECT_EQ(h.rows().size(), 3u);
    auto start = openDialogStart(*h.session);
    EXPECT_EQ(start.fileName, "mycmds.dat");
    EXPECT_EQ(start.folder, files::parentFolder(mine));
    std::string props = propertiesText(*h.session);
    EXPECT_EQ(props.substr(0, 10), "Filename:\n");
    EXPECT_TRUE(test::has(props, "Version:           8/9\n"));
    EXPECT_TRUE(test::has(props, "#Commands:  2\n#Lists:            1"));

    // Reload reads the current user's file again, whichever file is open.
    ASSERT_EQ(openFile(*h.session, other).status, OpenResult::Status::Opened);
    auto reloaded = reloadCurrentUserFile(*h.session);
    EXPECT_EQ(reloaded.status, OpenResult::Status::Opened);
    EXPECT_EQ(h.session->file.path, mine);
    EXPECT_EQ(reloaded.fileUser, "Ann");
    EXPECT_EQ(h.rows().size(), 3u);

    std::string missing = h.home.file("gone.dat");
    EXPECT_EQ(openFile(*h.session, missing).status, OpenResult::Status::NotFound);
    EXPECT_TRUE(h.ui.sawMessage("File does not exist", missing));

    std::string broken = sampleFile();
    broken[22] = '\x07';
    std::string path = h.home.write("broken.dat", broken);

    // With a file open, one that does not read is told, and the open file stays.
    auto lastOpened = h.catalogue->parameter("openfile");
    for (const auto& [name, bytes] : {std::pair{"empty.dat", std::string()},
                                      {"notes.dat", std::string("just some text, no commands")}}) {
        std::string text = h.home.write(name, bytes);
        EXPECT_EQ(openFile(*h.session, text).status, OpenResult::Status::Kept);
        EXPECT_TRUE(h.ui.sawMessage(std::string(name) +
                                        "\n\nThis is not a Dragon command file.\n\nThe file "
                                        "that was open before stays open.",
                                    text));
        EXPECT_TRUE(h.ui.shown().back().warning);
    }
    auto kept = openFile(*h.session, path);
    EXPECT_EQ(kept.status, OpenResult::Status::Kept);
    EXPECT_EQ(kept.fileUser, "Ann");
    EXPECT_TRUE(test::has(h.ui.shown().back().text, "parsing error"));
    EXPECT_TRUE(test::has(h.ui.shown().back().text, h.home.file("error.log")));
    EXPECT_EQ(h.session->file.path, mine);
    EXPECT_TRUE(h.session->parseOk);
    EXPECT_EQ(h.rows().size(), 3u);
    EXPECT_EQ(h.catalogue->parameter("openfile"), lastOpened);

    // With none open, the program ends.
    test::Harness fresh;
    EXPECT_EQ(openFile(*fresh.session, path).status, OpenResult::Status::ProgramEnds);
    EXPECT_TRUE(fresh.ui.sawMessage("The above file has a problem - parsing error", path));
    EXPECT_TRUE(fresh.ui.sawMessage(
        "Please send file 'error.log' to Brinmoor\nbefore running Parlavista again",
        "Now exiting"));
    std::string log = fresh.readHomeFile("error.log");
    auto at = log.find("NOW TRACE\r\n");
    ASSERT_NE(at, std::string::npos);
    EXPECT_NE(log.find("binary before keynames", at), std::string::npos);

    // Damaged in its LIST: the commands read before the damage are no catalogue.
    broken = sampleFile();
    broken[broken.size() - 6] = '\x7f'; // the LIST's item count
    files::writeAll(mine, broken);
    files::remove(h.home.file("error.log"));
    EXPECT_EQ(reloadCurrentUserFile(*h.session).status, OpenResult::Status::ProgramEnds);
    EXPECT_TRUE(h.ui.sawMessage("The above file has a problem - parsing error", mine));
    EXPECT_TRUE(test::has(h.readHomeFile("error.log"), "NOW TRACE"));
}
