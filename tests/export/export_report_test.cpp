#include "datfile/builder.h"
#include "export/export_report.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "support/fixtures.h"

#include <array>
#include <cstdio>
#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;
using exports::Destination;
using exports::ExportReport;
using exports::Format;

namespace {

std::string demoFile() {
    auto copy = globalCommand("copy that", kTypeKeys, textBody("{Ctrl+c}"));
    auto bold = applicationCommand("bold", "winword", kTypeKeys, textBody("{Ctrl+b}"));
    bold.group = "Formatting";
    auto save = windowCommand("save it", "winword", "Letter - Word", kTypeScript,
                              textBody("SendKeys \"^s\""));
    auto note = globalCommand("note", kTypeText, plainTextBody("a note"));
    auto open = globalCommand("open <apps>", kTypeKeys, textBody("{Ctrl+o}"));
    open.listRefs = {"apps"};
    return buildFile(Layout::V1011, {copy, bold, save, note, open},
                     {listRecord("apps", {"Word", "Excel"})});
}

exports::ExportView wordView() {
    exports::ExportView v;
    v.program = "WINWORD";
    v.scope = "Letter - Word";
    v.group = "Formatting";
    v.names = {"save it"};
    return v;
}

struct Dialog : ::testing::Test {
    void SetUp() override { ASSERT_EQ(h.parseBytes(demoFile()), ParseStatus::Parsed); }
    std::int64_t flagged() const {
        return static_cast<std::int64_t>(h.catalogue->flaggedRows().size());
    }
    test::Harness h;
};

// What Python's csv module reads from the files: each cell as hex of its UTF-8, cells split
// by '|', one row per line, a line "=" after each file.
std::string pythonCells(const std::vector<std::string>& paths) {
    std::string command =
        "python3 -c \"import csv,sys\n"
        "for path in sys.argv[1:]:\n"
        "  with open(path, encoding='cp1252', newline='') as f:\n"
        "    for r in csv.reader(f): print('|'.join(c.encode().hex() for c in r))\n"
        "  print('=')\"";
    for (const auto& path : paths) {
        command += " '" + path + "'";
    }
    std::string out;
    if (FILE* p = popen((command + " 2>&1").c_str(), "r")) {
        std::array<char, 4096> buffer{};
        while (std::size_t n = fread(buffer.data(), 1, buffer.size(), p)) {
            out.append(buffer.data(), n);
        }
        pclose(p);
    }
    return out;
}

std::string hex(const std::string& text) {
    static const char* digits = "0123456789abcdef";
    std::string out;
    for (unsigned char c : text) {
        out += digits[c >> 4];
        out += digits[c & 15];
    }
    return out;
}

// The cells each row must come back as.
std::string expectedCells(const std::vector<UserRow>& rows) {
    std::string out;
    for (const auto& r : rows) {
        std::string body = r.script.substr(0, r.script.find("\r\n"));
        out += hex(r.menu) + "|" + hex(r.state) + "|" + hex(r.type) + "|" + hex(r.name) + "|" +
               hex(r.owner) + "|" + hex(r.description) + "|" + hex(body) + "\n";
    }
    return out + "=\n";
}

} // namespace

TEST_F(Dialog, ProposesFileNamesByScopeAndRemembersTheFolder) {
    ExportReport report(*h.session, Format::Csv, wordView());
    EXPECT_EQ(report.title(), "Export (spreadsheet)");
    EXPECT_EQ(report.destination(), Destination::File);
    EXPECT_EQ(report.pickCaption(), "Pick and choose");
    EXPECT_EQ(report.fileName(), h.home.file("global.csv"));
    report.chooseScope(ScopeChoice::Program);
    EXPECT_EQ(report.fileName(), h.home.file("WINWORD.csv"));
    report.chooseScope(ScopeChoice::Group);
    EXPECT_EQ(report.fileName(), h.home.file("Formatting.csv"));
    report.chooseScope(ScopeChoice::Picked);
    EXPECT_EQ(report.fileName(), h.home.file("selected.csv"));

    test::TempDir elsewhere;
    report.chooseScope(ScopeChoice::Scope);
    report.setFileName(elsewhere.file("letter.csv"));
    auto out = report.act({});
    ASSERT_TRUE(out);
    EXPECT_EQ(files::readAll(elsewhere.file("letter.csv")),
              "\"WINWORD\",\"Letter - Word\",\"S\",\"save it\",\"User-defined\",\"\",\"SendKeys "
              "\"\"^s\"\"\"\r\n");
    EXPECT_EQ(flagged(), 0);

    ExportReport next(*h.session, Format::Report, wordView());
    EXPECT_EQ(next.title(), "Print COMMAND list");
    EXPECT_EQ(next.destination(), Destination::Printer);
    EXPECT_EQ(next.fileName(), elsewhere.file("global.txt"));
}

TEST_F(Dialog, FollowViewPicksTheFollowedNames) {
    exports::ExportView v;
    v.program = v.scope = kGlobalCommands;
    v.names = {"open <apps>"};
    v.follow = true;
    ExportReport report(*h.session, Format::Pseudo, v);
    EXPECT_EQ(report.scope(), ScopeChoice::Picked);
    EXPECT_EQ(report.pickCaption(), "See below");
    EXPECT_EQ(report.preselected(), v.names);
    EXPECT_EQ(report.fileName(), h.home.file("open [apps].pseudo"));
    report.chooseDestination(Destination::Clipboard);
    auto out = report.act(report.preselected());
    ASSERT_TRUE(out);
    EXPECT_EQ(out->destination, Destination::Clipboard);
    EXPECT_TRUE(test::has(out->text, "COMMAND \"open <apps>\""));
    EXPECT_FALSE(files::exists(report.fileName()));
}

TEST_F(Dialog, RefusalsKeepTheDialogOpen) {
    {
        ExportReport report(*h.session, Format::Report, wordView());
        report.chooseScope(ScopeChoice::Picked);
        EXPECT_FALSE(report.act({}));
        EXPECT_TRUE(h.ui.sawMessage(exports::kNothingSelected, "Letter - Word"));

        report.chooseScope(ScopeChoice::Program);
        report.chooseDestination(Destination::File);
        report.setFileName(h.home.file("missing/x.txt"));
        EXPECT_FALSE(report.act({}));
        EXPECT_TRUE(h.ui.sawMessage(exports::kFolderMissing, h.home.file("missing")));

        report.setFileName(h.home.write("old.txt", "keep me"));
        EXPECT_FALSE(report.act({}));
        EXPECT_TRUE(h.ui.sawMessage(exports::kFileExists, h.home.file("old.txt")));
        EXPECT_EQ(h.home.file("old.txt"), report.fileName());
        EXPECT_EQ(files::readAll(report.fileName()), "keep me");
        h.ui.answerOk(true);
        ASSERT_TRUE(report.act({}));
        EXPECT_EQ(files::readAll(report.fileName()),
                  "\r\nWINWORD Application-specific\r\n\r\nbold\r\n"
                  "\r\nWINWORD Letter - Word\r\n\r\nsave it\r\n");
    }
    exports::ExportView onlyText = wordView();
    onlyText.types = "PR";
    ExportReport dvc(*h.session, Format::Dvc, onlyText);
    EXPECT_FALSE(dvc.act({}));
    EXPECT_TRUE(h.ui.sawMessage(exports::kNoDvcCommands, "Sorry"));
    EXPECT_FALSE(files::exists(dvc.fileName()));
    dvc.chooseScope(ScopeChoice::Program);
    EXPECT_FALSE(dvc.act({}));
    EXPECT_TRUE(h.ui.sawMessage(exports::kNoMacrosOfType, exports::kNoMacrosOfTypeTitle));
    EXPECT_EQ(flagged(), 0);
}

TEST_F(Dialog, AllGroupsIsEverythingAndEachListIsWrittenOnce) {
    exports::ExportView all = wordView();
    all.group = kAllGroupsName;
    ExportReport pseudo(*h.session, Format::Pseudo, all);
    pseudo.chooseDestination(Destination::Clipboard);
    auto everything = pseudo.act({});
    pseudo.chooseScope(ScopeChoice::Group);
    auto group = pseudo.act({});
    ASSERT_TRUE(everything && group);
    EXPECT_EQ(everything->text, group->text);
    EXPECT_TRUE(test::has(group->text, "LIST \"apps\""));

    // Each LIST once, whatever was browsed.
    ExportReport report(*h.session, Format::Csv, wordView());
    report.chooseDestination(Destination::Clipboard);
    auto before = report.act({});
    // Browsing WINWORD copied the global LIST there, in the catalogue only.
    test::addListCopy(*h.catalogue, *h.catalogue->findFileList("apps"), "WINWORD");
    auto after = report.act({});
    ASSERT_TRUE(before && after);
    EXPECT_EQ(after->text, before->text);
    EXPECT_TRUE(test::has(after->text, "\"Global Commands\",\"Global Commands\",\"L\",\"apps\""));
    // The Program's own export keeps its copy: the LIST its commands use.
    report.chooseScope(ScopeChoice::Program);
    auto program = report.act({});
    ASSERT_TRUE(program);
    EXPECT_TRUE(test::has(program->text, "\"WINWORD\",\"Application-specific\",\"L\",\"apps\""))
        << program->text;
}

TEST(Spreadsheet, PythonReadsEveryCellBack) {
    if (std::system("python3 -c pass >/dev/null 2>&1") != 0) {
        GTEST_SKIP() << "python3 is not installed";
    }
    auto odd = windowCommand("say \"hi\", d\xE9j\xE0", "na\"me,\xE9", "Title \"1\", \xFC\r\nnext",
                             kTypeScript, textBody("SendKeys \"a,b \xE8\"\r\nline \"2\"\r\n"));
    odd.group = "Gr\"oup, \xE7"
                "a\r\ntwo";
    odd.description = "desc \"q\", \xF1\r\nsecond line";
    auto plain = globalCommand("plain \xE9", kTypeText, plainTextBody("x\r\n\"y\""));
    std::vector<std::string> images = {
        buildFile(Layout::V1011, {odd, plain}, {}), test::readSample("reply.dat"),
        test::readSample("clear_flag.dat"), test::readSample("move-dock_window.dat")};
    std::string expected;
    std::vector<std::string> paths;
    test::TempDir out;
    for (const auto& image : images) {
        test::Harness h;
        ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed);
        markSelection(*h.catalogue, {});
        expected += expectedCells(h.catalogue->flaggedRows());
        auto text = exports::exportMarked(*h.catalogue, Format::Csv);
        paths.push_back(out.file(std::to_string(paths.size()) + ".csv"));
        ASSERT_TRUE(text && exports::writeExportFile(h.ui, paths.back(), *text));
    }
    EXPECT_EQ(pythonCells(paths), expected);
}
