#include "datfile/builder.h"
#include "datfile/record_ops.h"
#include "datfile/rewrite_full.h"
#include "platform/files.h"
#include "support/edited_file.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

struct Edit : test::EditedFile {
    Outcome rewrite(FullRewritePlan plan = {}) {
        if (plan.traceWord.empty()) {
            plan.traceWord = "rewrite";
        }
        return runFullRewrite(*h.session, plan);
    }
};

// What a parse makes of a command, without positions.
std::string summary(const UserRow& r) {
    return r.menu + "|" + r.state + "|" + r.name + "|" + r.type + "|" + r.script + "|" + r.owner +
           "|" + r.description + "|" + std::to_string(r.lists);
}

std::vector<std::string> summaries(const Edit& e) {
    std::vector<std::string> out;
    for (const auto& r : e.h.rows()) {
        out.push_back(summary(r));
    }
    return out;
}

CommandRecord protectedCommand() {
    auto c = windowCommand("sign it", "winword", "Letter - Word", kTypeAdvanced,
                           textBody("Sub Main\r\nEnd Sub\r\n"));
    c.protection = 1;
    c.tail = std::string(7, '\x05');
    c.protectedString = "key material";
    c.states = {"Normal", "Dictation"};
    c.versionBlock = std::string(12, '\x07');
    return c;
}

std::vector<CommandRecord> mixed() {
    auto steps = globalCommand("press it", kTypeStepByStep,
                               StepsBody().press(65, 2).wait(300).type("hé").tokens());
    auto recorder = applicationCommand("record it", "excel", kTypeRecorder,
                                       RecorderBody().key(13, 0).mouse(1, 10, 20).tokens());
    auto list = globalCommand("open <apps>", kTypeKeys, textBody("{Ctrl+o}"));
    list.listRefs = {"apps"};
    return {steps, protectedCommand(), recorder, list,
            globalCommand("formatted", kTypeText, formattedBody("{\\rtf1 x}", "x"))};
}

} // namespace

// Command files exported by Dragon 11 itself: what they catalogue as is checked against an
// independent reading of their bytes in the list test of the terminal tool.
TEST(FullRewrite, DragonFilesComeBackByteForByte) {
    for (const char* name : {"reply.dat", "clear_flag.dat", "move-dock_window.dat"}) {
        SCOPED_TRACE(name);
        Edit e;
        std::string image = test::readSample(name);
        e.open(image);
        ASSERT_EQ(e.rewrite(), Outcome::Done);
        EXPECT_EQ(e.file(), image);
        EXPECT_EQ(e.h.readHomeFile("savedat"), image);
        // The rewrite copies the LIST section; its records written again are Dragon's too.
        ByteReader in(image, e.offsetLists());
        ByteWriter lists;
        lists.PutLong(in.longValue());
        while (!in.atEnd()) {
            ListRecord l;
            readList(in, l);
            writeList(l, lists);
        }
        EXPECT_EQ(lists.data(), image.substr(static_cast<std::size_t>(e.offsetLists() - 1)));
    }
}

TEST(FullRewrite, WritesShortestPrefixes) {
    // "abc" with a 3-byte prefix and a description with a 7-byte one: both longer than needed.
    ByteWriter model;
    writeCommand(globalCommand("", kTypeKeys, textBody("{Enter}")), Layout::V1011, model);
    std::string fromScopeByte = model.data().substr(7); // after "", count, "", ""
    std::string first = std::string("\xFF\x03\x00"
                                    "abc",
                                    6) +
                        std::string(4, '\0') +
                        std::string("\xFF\xFF\xFF\x04\x00\x00\x00"
                                    "desc",
                                    11) +
                        std::string(1, '\0') + fromScopeByte;
    ByteWriter second;
    writeCommand(globalCommand("second", kTypeKeys, textBody("b")), Layout::V1011, second);
    std::string image =
        headerTemplate(Layout::V1011, 9, 2) + first + second.data() + std::string(4, '\0');

    Edit e;
    e.open(image);
    auto before = summaries(e);
    ASSERT_EQ(before.size(), 2u);
    ASSERT_EQ(e.row("abc").description, "desc");
    ASSERT_EQ(e.rewrite(), Outcome::Done);
    EXPECT_EQ(e.file().size(), image.size() - 8);
    e.reparse();
    EXPECT_EQ(summaries(e), before);
}

// Skip-bit records and records the catalogue refused have no row: they are carried over.
TEST(FullRewrite, RecordsWithoutARowStayInTheirPlace) {
    auto hidden = globalCommand("hidden <apps>", kTypeKeys, textBody("{Esc}"));
    hidden.scopeByte = kSkipBit;
    hidden.listRefs = {"apps"};
    auto first = globalCommand("first", kTypeKeys, textBody("1"));
    auto refused = globalCommand("refused", kTypeKeys, textBody("2"));
    auto user = globalCommand("use <apps>", kTypeKeys, textBody("3"));
    user.listRefs = {"apps"};
    auto last = globalCommand("last", kTypeKeys, textBody("4"));
    const std::vector<ListRecord> lists = {listRecord("apps", {"Word"}),
                                           listRecord("unused", {"x"})};
    auto image = buildFile(Layout::V1011, {first, hidden, refused, user, last}, lists);
    auto open = [&](Edit& e) {
        e.h.catalogue->execute(R"(CREATE TRIGGER "refuse" BEFORE INSERT ON "userrows" )"
                               R"(WHEN NEW."name" = 'refused' )"
                               R"(BEGIN SELECT RAISE(ABORT, 'refused'); END)");
        e.open(image);
    };

    Edit same;
    open(same);
    ASSERT_EQ(same.names(),
              (std::vector<std::string>{"first", "use <apps>", "last", "apps", "unused"}));
    ASSERT_EQ(same.rewrite(), Outcome::Done);
    EXPECT_EQ(same.file(), image);

    // Deleting the command in front of them and the other user of "apps": the skip-bit
    // record keeps the LIST it uses, and "unused" stays as no deleted command referred to it.
    Edit del;
    open(del);
    del.h.catalogue->setFlag(del.row("first").id, true);
    del.h.catalogue->setFlag(del.row("use <apps>").id, true);
    ASSERT_EQ(deletethem(*del.h.session), Outcome::Done);
    EXPECT_EQ(del.file(), buildFile(Layout::V1011, {hidden, refused, last}, lists));

    // A conversion writes them in the target layout.
    Edit convert;
    open(convert);
    FullRewritePlan plan;
    plan.target = Layout::V7;
    ASSERT_EQ(convert.rewrite(plan), Outcome::Done);
    convert.reparse();
    EXPECT_EQ(convert.h.session->file.versionName, "7.x");
    EXPECT_EQ(convert.h.session->file.skippedCount, 1);
    EXPECT_EQ(convert.names(), same.names());
    EXPECT_EQ(convert.file(), buildFile(Layout::V7, {first, hidden, refused, user, last}, lists));
}

TEST(FullRewrite, ConversionsDropTheFieldsTheTargetLacks) {
    // State names are written as each record spells them, not as the catalogue folds them.
    auto upper = globalCommand("file it", kTypeKeys, textBody("{Ctrl+s}"));
    upper.states = {"INBOX"};
    auto lower = globalCommand("move it", kTypeKeys, textBody("{Ctrl+m}"));
    lower.states = {"Inbox", "Normal"};
    auto commands = mixed();
    commands.insert(commands.end(), {upper, lower});
    auto image = buildFile(Layout::V1011, commands, {listRecord("apps", {"Word", "Excel"})});
    Edit source;
    source.open(image);
    auto expected = summaries(source);
    ASSERT_TRUE(source.row("sign it").encrypted);
    ASSERT_EQ(source.row("sign it").states.empty(), false);

    for (Layout target : {Layout::V1011, Layout::V89, Layout::V7, Layout::V61, Layout::V60}) {
        SCOPED_TRACE(versionName(target));
        Edit e;
        e.open(image);
        FullRewritePlan plan;
        plan.target = target;
        ASSERT_EQ(e.rewrite(plan), Outcome::Done);
        std::string out = e.file();
        EXPECT_EQ(static_cast<std::uint8_t>(out[kVersionCodeOffset]), versionCode(target));
        e.reparse();
        EXPECT_EQ(summaries(e), expected);
        auto record = [&](const std::string& name) {
            CommandRecord r;
            ByteReader in(out, e.row(name).offset);
            readCommand(in, target, nullptr, r);
            return r;
        };
        CommandRecord signed_ = record("sign it");
        EXPECT_EQ(signed_.protection != 0, target == Layout::V1011);
        EXPECT_EQ(signed_.protectedString.has_value(), target == Layout::V1011);
        EXPECT_EQ(signed_.states.size(), hasStateList(target) ? 2u : 0u);
        EXPECT_EQ(signed_.versionBlock, hasVersionBlock(target) ? std::string(12, '\x07') : "");
        EXPECT_EQ(e.row("sign it").states.empty(), !hasStateList(target));
        for (const auto& c : {upper, lower}) {
            auto states = hasStateList(target) ? c.states : std::vector<std::string>{};
            EXPECT_EQ(record(c.name).states, states) << c.name;
        }
    }
}

TEST(FullRewrite, SubstitutionsTouchOnlyFlaggedRowsAndABadResultIsRestored) {
    Edit e;
    e.open(buildFile(Layout::V61, mixed(), {listRecord("apps", {"Word"})}));
    e.h.catalogue->setFlag(e.row("record it").id, true);
    FullRewritePlan plan;
    plan.traceWord = "RenameGroup";
    plan.substitution = [](const UserRow&, CommandRecord& r, std::ostream&) {
        r.group = "Renamed";
    };
    ASSERT_EQ(e.rewrite(plan), Outcome::Done);
    EXPECT_TRUE(test::has(e.h.trace.text(), "\r\n  RenameGroup\r\n"));
    e.reparse();
    for (const auto& r : e.h.rows()) {
        if (!r.isList()) {
            EXPECT_EQ(r.owner == "Renamed", r.name == "record it") << r.name;
        }
    }

    // A result the reader refuses: the file before it comes back and the program ends.
    std::string renamed = e.file();
    e.h.catalogue->setFlag(e.row("formatted").id, true);
    plan.traceWord = "rewrite";
    plan.substitution = [](const UserRow&, CommandRecord& r, std::ostream&) {
        r.name = "bad\x01name";
    };
    ASSERT_EQ(e.rewrite(plan), Outcome::Done);
    EXPECT_NE(e.file(), renamed);
    EXPECT_EQ(refreshAfterWrite(*e.h.session), Outcome::ProgramEnds);
    EXPECT_EQ(e.file(), renamed);
    EXPECT_TRUE(e.h.ui.sawMessage("The updated mycmds.dat file was not correctly written",
                                  "Parlavista will now restore the version before updating "
                                  "operation"));
    EXPECT_TRUE(e.h.ui.sawMessage(
        "Please send file 'error.log' to Brinmoor\nbefore running Parlavista again",
        "Now exiting"));
    std::string log = e.h.readHomeFile("error.log");
    EXPECT_TRUE(test::has(log, "bad\x01name")) << "the parse's report comes first";
    EXPECT_TRUE(test::has(log, "NOW TRACE\r\n"));
    EXPECT_TRUE(test::has(log, "  rewrite"));
}

TEST(FullRewrite, RowsThatDoNotStandOnRecordsAreRefused) {
    std::string image = buildFile(Layout::V1011, mixed(), {listRecord("apps", {"Word"})});
    Edit e;
    e.open(image);
    UserRow moved = e.row("record it");
    moved.offset += 2;
    e.h.catalogue->updateRow(moved);
    EXPECT_EQ(e.rewrite(), Outcome::Refused);
    EXPECT_EQ(e.file(), image);
    EXPECT_FALSE(files::exists(e.h.home.file("savedat")));

    Edit renamed;
    renamed.open(image);
    UserRow other = renamed.row("record it");
    other.name = "something else";
    renamed.h.catalogue->updateRow(other);
    EXPECT_EQ(renamed.rewrite(), Outcome::Refused);
    EXPECT_EQ(renamed.file(), image);
}
