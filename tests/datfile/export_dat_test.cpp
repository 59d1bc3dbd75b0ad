#include "datfile/builder.h"
#include "datfile/export_dat.h"
#include "platform/files.h"
#include "support/file_rights.h"
#include "support/fixtures.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <set>

using namespace plv;
using namespace plv::dat;

namespace {

std::string sourceFile(Layout layout = Layout::V1011, int language = 9) {
    return buildFile(
        layout,
        {withRefs(globalCommand("open <apps>", kTypeKeys, textBody("{Ctrl+o}")), {"apps"}),
         withRefs(globalCommand("launch <apps>", kTypeScript, textBody("AppBringUp")), {"apps"}),
         applicationCommand("bold", "winword", kTypeKeys, textBody("{Ctrl+b}")),
         windowCommand("save it", "winword", "Letter - Word", kTypeScript, textBody("Save")),
         withRefs(globalCommand("go <day>", kTypeScript, textBody("Go")), {"day"})},
        {listRecord("apps", {"Word", "Excel"}), listRecord("day", {"Monday"}),
         listRecord("spare", {"x"})},
        language);
}

// A target of the same version and language that already has "bold", "save it" and a LIST
// "apps" of its own.
std::string targetFile(Layout layout = Layout::V1011, int language = 9) {
    return buildFile(
        layout,
        {globalCommand("other", kTypeKeys, textBody("{Esc}")),
         applicationCommand("bold", "winword", kTypeKeys, textBody("{Ctrl+Shift+b}")),
         windowCommand("save it", "winword", "Letter - Word", kTypeScript, textBody("Old"))},
        {listRecord("apps", {"Notepad"})}, language);
}

// What the reader makes of a file: "name=body" per row, in file order.
std::vector<std::string> readBack(const std::string& path) {
    std::vector<std::string> out;
    for (const auto& r : test::parsedRows(files::readAll(path).value_or(""), "target.dat")) {
        out.push_back(r.name + "=" + r.script);
    }
    return out;
}

struct Export : ::testing::Test {
    void open(const std::string& image) { ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed); }
    void SetUp() override { open(sourceFile()); }

    ExportDatResult run(const std::set<std::string>& names, const std::string& target,
                        ExistingTarget existing = ExistingTarget::Ask) {
        h.catalogue->setFlagAll(false);
        for (const auto& r : h.rows()) {
            if (names.count(r.name)) {
                h.catalogue->setFlag(r.id, true);
            }
        }
        return exportToDat(*h.session, {target, existing, DuplicateAnswers::Ask});
    }
    std::size_t prompts(const std::string& title) const {
        std::size_t n = 0;
        for (const auto& shown : h.ui.shown()) {
            n += shown.title == title ? 1 : 0;
        }
        return n;
    }

    test::Harness h;
    test::TempDir out;
};

} // namespace

TEST_F(Export, NewTargetHoldsTheChosenCommandsAndTheirListsOnce) {
    for (auto [layout, language] : {std::pair{Layout::V1011, 9}, std::pair{Layout::V61, 7}}) {
        open(sourceFile(layout, language));
        std::string target = out.file("new" + std::to_string(language) + ".dat");
        auto result = run({"open <apps>", "launch <apps>", "save it"}, target);
        ASSERT_TRUE(result.exportDone);
        EXPECT_EQ(result.exported, 3u);
        EXPECT_EQ(result.listsAdded, 1u);
        EXPECT_EQ(readBack(target),
                  (std::vector<std::string>{"open <apps>={Ctrl+o}", "launch <apps>=AppBringUp",
                                            "save it=Save", "apps=Word\r\nExcel\r\n"}));
        std::string image = *files::readAll(target);
        EXPECT_EQ(image[4], static_cast<char>(versionCode(layout)));
        EXPECT_EQ(image[15], static_cast<char>(language));
        EXPECT_EQ(readLongAt(image, kCommandCountOffset), 3u);
        EXPECT_EQ(h.catalogue->parameter("exportPath"), out.path());
    }
    // The open file is only read.
    EXPECT_EQ(files::readAll(h.session->file.path), sourceFile(Layout::V61, 7));
}

TEST_F(Export, AppendAsksForEachCommandTheTargetHas) {
    struct Case {
        std::vector<std::string> answers;
        std::size_t prompts;
        std::vector<std::string> names;
    };
    const std::string kOldBold = "bold={Ctrl+Shift+b}", kOldSave = "save it=Old";
    const std::vector<Case> cases = {
        {{"&No", "&No"}, 2, {"other={Esc}", kOldBold, kOldSave, "open <apps>={Ctrl+o}"}},
        {{"&Yes", "&No"}, 2, {"other={Esc}", kOldSave, "open <apps>={Ctrl+o}", "bold={Ctrl+b}"}},
        {{"Ye&s to all"},
         1,
         {"other={Esc}", "open <apps>={Ctrl+o}", "bold={Ctrl+b}", "save it=Save"}},
        {{"N&o to all"}, 1, {"other={Esc}", kOldBold, kOldSave, "open <apps>={Ctrl+o}"}},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.answers.front());
        h.ui.clear();
        std::string target = out.write("append.dat", targetFile());
        h.ui.answerChoice("&Append");
        for (const auto& answer : c.answers) {
            h.ui.answerChoice(answer);
        }
        auto result = run({"open <apps>", "bold", "save it"}, target);
        ASSERT_TRUE(result.exportDone);
        EXPECT_TRUE(result.appended);
        EXPECT_EQ(prompts(kTargetExistsTitle), 1u);
        EXPECT_EQ(prompts(kDuplicateTitle), c.prompts);
        auto names = c.names;
        names.push_back("apps=Notepad\r\n"); // the target's own LIST; not written again
        EXPECT_EQ(readBack(target), names);
    }
    EXPECT_EQ(h.ui.shown().back().text,
              "The following command already exists in:\n" + out.file("append.dat") +
                  "\nbold\nOverwrite? with command from:\n" + h.session->file.path);
}

TEST_F(Export, CancelAndRefusalsLeaveTheTargetAsItWas) {
    std::string before = targetFile();
    std::string target = out.write("keep.dat", before);
    h.ui.answerChoice("&Append");
    h.ui.answerChoice("&Cancel Export");
    EXPECT_FALSE(run({"open <apps>", "bold"}, target).exportDone);
    h.ui.answerChoice("&Cancel");
    EXPECT_FALSE(run({"bold"}, target).exportDone);
    EXPECT_EQ(files::readAll(target), before);

    for (const auto& [image, message] :
         {std::pair{targetFile(Layout::V89), kDifferentVersion},
          std::pair{targetFile(Layout::V1011, 12), kDifferentLanguage}}) {
        out.write("keep.dat", image);
        EXPECT_FALSE(run({"bold"}, target, ExistingTarget::Append).exportDone);
        EXPECT_TRUE(h.ui.sawMessage(message, target));
        EXPECT_EQ(files::readAll(target), image);
    }

    EXPECT_TRUE(run({"bold"}, target, ExistingTarget::Overwrite).exportDone);
    EXPECT_EQ(readBack(target), (std::vector<std::string>{"bold={Ctrl+b}"}));

    // Bytes after the last LIST stay last; an added LIST goes before them.
    out.write("keep.dat", *files::readAll(target) + "\r\n");
    EXPECT_TRUE(run({"go <day>"}, target, ExistingTarget::Append).exportDone);
    EXPECT_EQ(readBack(target),
              (std::vector<std::string>{"bold={Ctrl+b}", "go <day>=Go", "day=Monday\r\n"}));
    EXPECT_EQ(files::readAll(target)->substr(files::readAll(target)->size() - 2), "\r\n");
}

TEST_F(Export, ChecksTheTargetNameFirst) {
    std::string self = h.session->file.path;
    EXPECT_FALSE(run({"bold"}, self).exportDone);
    EXPECT_TRUE(h.ui.sawMessage(kExportToSelf, self));
    // The name becomes the open file's once ".dat" is added.
    h.ui.answerOk(true);
    EXPECT_FALSE(run({"bold"}, self.substr(0, self.size() - 4)).exportDone);
    // So is another name of the open file.
    std::filesystem::create_hard_link(files::fsPath(self), files::fsPath(out.file("link.dat")));
    EXPECT_FALSE(run({"bold"}, out.file("link.dat"), ExistingTarget::Overwrite).exportDone);
    EXPECT_TRUE(h.ui.sawMessage(kExportToSelf, out.file("link.dat")));
    EXPECT_EQ(files::readAll(self), sourceFile());

    EXPECT_FALSE(run({"bold"}, out.file("no/such/x.dat")).exportDone);
    EXPECT_TRUE(h.ui.sawMessage(kExportFolderMissing, out.file("no/such")));

    EXPECT_FALSE(run({"bold"}, out.file("plain")).exportDone);
    EXPECT_TRUE(h.ui.sawMessage(kAppendingDat, out.file("plain.dat")));
    h.ui.answerOk(true);
    EXPECT_EQ(run({"bold"}, out.file("plain")).target, out.file("plain.dat"));
    EXPECT_TRUE(files::exists(out.file("plain.dat")));
    EXPECT_TRUE(run({"bold"}, out.file("UPPER.DAT")).exportDone);
    EXPECT_EQ(readBack(out.file("UPPER.DAT")), (std::vector<std::string>{"bold={Ctrl+b}"}));
}

TEST_F(Export, MissingListAbortsAndTheProgramGoesOn) {
    open(buildFile(Layout::V1011,
                   {withRefs(globalCommand("call <ghost>", kTypeKeys, textBody("{F1}")), {"ghost"}),
                    applicationCommand("bold", "winword", kTypeKeys, textBody("{Ctrl+b}"))},
                   {}));
    std::string fresh = out.file("fresh.dat");
    EXPECT_FALSE(run({"call <ghost>", "bold"}, fresh).exportDone);
    EXPECT_TRUE(h.ui.sawMessage(kListNotFound, "ghost"));
    EXPECT_FALSE(files::exists(fresh));

    std::string before = buildFile(Layout::V1011, {}, {});
    std::string target = out.write("appended.dat", before);
    EXPECT_FALSE(run({"call <ghost>"}, target, ExistingTarget::Append).exportDone);
    EXPECT_EQ(files::readAll(target), before);
    EXPECT_TRUE(run({"bold"}, target, ExistingTarget::Append).exportDone);
    EXPECT_EQ(readBack(target), (std::vector<std::string>{"bold={Ctrl+b}"}));
}
