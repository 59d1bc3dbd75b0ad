#include "datfile/builder.h"
#include "datfile/record_ops.h"
#include "platform/files.h"
#include "support/edited_file.h"

#include <functional>
#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;

namespace {

const Layout kLayouts[] = {Layout::V60, Layout::V61, Layout::V7, Layout::V89, Layout::V1011};

using Edit = test::EditedFile;

std::string zeros(std::size_t n) {
    return std::string(n, '\0');
}

// A new global command written by hand from the layout table, for comparison.
std::string expectedNewCommand(Layout l, std::uint8_t typeByte, const std::string& body) {
    std::string b = "\x02go" + zeros(4) + zeros(1) + zeros(1) + zeros(1);
    if (l >= Layout::V7) {
        b += zeros(12);
    }
    if (l >= Layout::V89) {
        b += zeros(4);
    }
    b += static_cast<char>(typeByte);
    if (l == Layout::V1011) {
        b += zeros(1);
    }
    if (l >= Layout::V7) {
        b += zeros(8);
    }
    if (typeByte == kTypeText) {
        b += zeros(1);
    }
    return b + static_cast<char>(body.size()) + body;
}

std::vector<CommandRecord> commands() {
    auto open = globalCommand("open <apps>", kTypeKeys, textBody("{Ctrl+o}"));
    open.listRefs = {"apps"};
    auto bold = applicationCommand("bold", "winword", kTypeKeys, textBody("{Ctrl+b}"));
    bold.group = "Formatting";
    auto save = windowCommand("save it", "winword", "Letter - Word", kTypeScript,
                              textBody("SendKeys \"^s\""));
    auto days = globalCommand("show <days>", kTypeAdvanced, textBody("Sub Main\r\nEnd Sub\r\n"));
    days.listRefs = {"days"};
    return {open, bold, save, days};
}

std::vector<ListRecord> lists() {
    return {listRecord("apps", {"Word", "Excel"}), listRecord("days", {"Monday"}),
            listRecord("spare", {"x"})};
}

NewCommand globalNew(const std::string& type, const std::string& body) {
    NewCommand c;
    c.name = "go";
    c.type = type;
    c.program = kGlobalCommands;
    c.scope = kGlobalCommands;
    c.body = body;
    return c;
}

} // namespace

TEST(RecordOps, NewCommandsHaveTheBytesOfTheirLayout) {
    for (Layout layout : kLayouts) {
        for (auto [type, typeByte] : {std::pair{"K", kTypeKeys}, std::pair{"S", kTypeScript},
                                      std::pair{"A", kTypeAdvanced}, std::pair{"P", kTypeText}}) {
            SCOPED_TRACE(versionName(layout) + " " + type);
            Edit e;
            std::string image = buildFile(layout, commands(), lists());
            e.open(image);
            std::int64_t at = e.offsetLists();
            ASSERT_EQ(BuildNewRecord(*e.h.session, globalNew(type, "b\xC3\xA9")), Outcome::Done);
            std::string expected = expectedNewCommand(layout, typeByte, "b\xE9");
            std::string out = e.file();
            EXPECT_EQ(out.substr(static_cast<std::size_t>(at - 1), expected.size()), expected);
            EXPECT_EQ(out.substr(static_cast<std::size_t>(at - 1) + expected.size()),
                      image.substr(static_cast<std::size_t>(at - 1)))
                << "the LIST section follows";
            EXPECT_EQ(readLongAt(out, kCommandCountOffset), 5u);
            EXPECT_TRUE(test::has(e.h.trace.text(), "  update new command file"));
        }
    }
}

TEST(RecordOps, NewCommandInAFileWithoutListsTakesItsListReferencesFromTheName) {
    EXPECT_EQ(ExtractListRefs("<a> to <b> now"), (std::vector<std::string>{"a", "b"}));
    EXPECT_EQ(ExtractListRefs("no lists"), std::vector<std::string>{});
    EXPECT_EQ(ExtractListRefs("x <a> <unclosed"), std::vector<std::string>{"a"});
    EXPECT_EQ(ExtractListRefs("<>"), std::vector<std::string>{""});

    Edit e;
    e.open(buildFile(Layout::V1011, {}, {}));
    NewCommand c = globalNew("K", "{Enter}");
    c.name = "go <apps>";
    c.description = "a description";
    c.group = "Mine";
    ASSERT_EQ(BuildNewRecord(*e.h.session, c), Outcome::Done);
    std::string out = e.file();
    EXPECT_EQ(readLongAt(out, kCommandCountOffset), 1u);
    EXPECT_EQ(out.substr(out.size() - 4), zeros(4)) << "before the LIST count 0";
    ByteReader in(out);
    CommandRecord r;
    readCommand(in, Layout::V1011, nullptr, r);
    EXPECT_EQ(r.listRefs, std::vector<std::string>{"apps"});
    EXPECT_EQ(r.description, "a description");
    EXPECT_EQ(r.group, "Mine");
    EXPECT_EQ(r.states.size(), 0u);
}

TEST(RecordOps, ApplicationAndWindowCommandsBorrowTheirStrings) {
    Edit e;
    e.open(buildFile(Layout::V89, commands(), lists()));
    NewCommand app = globalNew("P", "text");
    app.program = "WINWORD";
    app.scope = kApplicationSpecific;
    ASSERT_EQ(BuildNewRecord(*e.h.session, app), Outcome::Done);
    e.reparse();
    NewCommand window = globalNew("S", "script");
    window.name = "go too";
    window.program = "WINWORD";
    window.scope = "Letter - Word";
    ASSERT_EQ(BuildNewRecord(*e.h.session, window), Outcome::Done);
    e.reparse();

    std::string out = e.file();
    CommandRecord a;
    ByteReader atApp(out, e.row("go").offset);
    readCommand(atApp, Layout::V89, nullptr, a);
    EXPECT_EQ(a.scopeKind(), 1);
    EXPECT_EQ(a.appName, "winword");
    EXPECT_EQ(a.productDescription, "winword application");
    EXPECT_EQ(a.companyName, "Example Corporation");
    CommandRecord w;
    ByteReader atWindow(out, e.row("go too").offset);
    readCommand(atWindow, Layout::V89, nullptr, w);
    EXPECT_EQ(w.scopeKind(), 2);
    EXPECT_EQ(w.windowTitle, "Letter - Word");
    EXPECT_EQ(w.windowClass, "#32770");
    EXPECT_EQ(e.row("go too").menu, "WINWORD");
    EXPECT_EQ(e.row("go too").state, "Letter - Word");

    std::string before = e.file();
    NewCommand orphan = globalNew("K", "x");
    orphan.program = "EXCEL";
    orphan.scope = kApplicationSpecific;
    EXPECT_EQ(BuildNewRecord(*e.h.session, orphan), Outcome::Refused);
    EXPECT_TRUE(e.h.ui.sawMessage(
        "Parlavista cannot create a new command for this Program, Scope, Group, or View.",
        "Please pick a different Program, Scope, Group, or View"));
    EXPECT_EQ(e.file(), before);
}

TEST(RecordOps, NewListsCountTheirItems) {
    for (const char* text : {"a\r\nb", "a\r\nb\r\n\r\n\r\n"}) {
        Edit e;
        std::string image = buildFile(Layout::V7, commands(), lists());
        e.open(image);
        NewCommand c = globalNew("L", text);
        c.name = "letters";
        ASSERT_EQ(BuildNewRecord(*e.h.session, c), Outcome::Done);
        ByteWriter record;
        record.PutCountedString("letters");
        record.PutLong(1);
        record.PutLong(2);
        record.PutCountedString("a");
        record.PutCountedString("b");
        std::string out = e.file();
        auto count = static_cast<std::size_t>(e.offsetLists() - 1);
        EXPECT_EQ(readLongAt(out, count), 4u);
        std::string expected = image + record.data();
        writeLongAt(expected, count, 4);
        EXPECT_EQ(out, expected);
    }
}

TEST(RecordOps, RenamesChangeOnlyTheirFields) {
    Edit e;
    std::string image = buildFile(Layout::V1011, commands(), lists());
    e.open(image);
    UserRow apps = e.row("apps");
    ASSERT_EQ(UpdateListRename(*e.h.session, apps, "programs"), Outcome::Done);
    std::string out = e.file();
    auto at = static_cast<std::size_t>(apps.offset - 1);
    EXPECT_EQ(out.substr(0, at), image.substr(0, at));
    EXPECT_EQ(out.substr(at, 9), "\x08programs");
    EXPECT_EQ(out.substr(at + 9), image.substr(at + 5)) << "the items follow unchanged";
    e.reparse();

    std::string renamedList = e.file();
    UserRow open = e.row("open <apps>");
    ASSERT_EQ(
        UpdateFirstThings(*e.h.session, open, "start <programs> and <days>", "opens", kUserDefined),
        Outcome::Done);
    out = e.file();
    ByteWriter head;
    head.PutCountedString("start <programs> and <days>");
    head.PutLong(2);
    head.PutCountedString("programs");
    head.PutCountedString("days");
    head.PutCountedString("opens");
    head.PutCountedString("");
    // The old head: name, count, "apps", empty description and Group.
    std::size_t oldHead = 12 + 4 + 5 + 1 + 1;
    EXPECT_EQ(out.substr(kHeaderSize, head.size()), head.data());
    EXPECT_EQ(out.substr(kHeaderSize + head.size()), renamedList.substr(kHeaderSize + oldHead));
}

TEST(RecordOps, KeysCommandsChangeType) {
    struct Case {
        Layout layout;
        std::string between; // after the new type byte, before the body string
    };
    for (const Case& c : {Case{Layout::V1011, zeros(1) + zeros(8) + zeros(1)},
                          Case{Layout::V89, zeros(8) + zeros(1)}, Case{Layout::V7, zeros(9)},
                          Case{Layout::V61, zeros(1)}, Case{Layout::V60, zeros(1)}}) {
        SCOPED_TRACE(versionName(c.layout));
        auto keys = globalCommand("k", kTypeKeys, textBody("hello"));
        keys.tail = std::string(8, '\x03');
        std::string image = buildFile(c.layout, {keys}, {});

        CommandRecord old;
        ByteReader in(image);
        readCommand(in, c.layout, nullptr, old);
        auto typeAt = static_cast<std::size_t>(old.typeBytePosition - 1);

        Edit plain;
        plain.open(image);
        ASSERT_EQ(Updatechangetype(*plain.h.session, plain.row("k"), TypeChange::ToPlainText),
                  Outcome::Done);
        EXPECT_EQ(plain.file(),
                  image.substr(0, typeAt) + "\x01" + c.between + "\x05hello" + zeros(4));

        Edit advanced;
        advanced.open(image);
        ASSERT_EQ(Updatechangetype(*advanced.h.session, advanced.row("k"),
                                   TypeChange::ToAdvancedScripting),
                  Outcome::Done);
        std::string expected = image;
        expected[typeAt] = static_cast<char>(kTypeAdvanced);
        EXPECT_EQ(advanced.file(), expected) << "only the type byte changes";
    }

    // An encrypted body is not text: neither a new type nor a new body is written over it.
    auto locked = globalCommand("locked", kTypeKeys,
                                textBody("\x9c\x11"
                                         "ciphertext"));
    locked.protection = 1;
    locked.tail = std::string(7, '\x03');
    locked.protectedString = "opaque";
    Edit encrypted;
    encrypted.open(buildFile(Layout::V1011, {locked}, {}));
    std::string sealed = encrypted.file();
    UserRow lockedRow = encrypted.row("locked");
    ASSERT_TRUE(lockedRow.encrypted);
    EXPECT_EQ(Updatechangetype(*encrypted.h.session, lockedRow, TypeChange::ToPlainText),
              Outcome::Refused);
    EXPECT_EQ(Updatechangetype(*encrypted.h.session, lockedRow, TypeChange::ToAdvancedScripting),
              Outcome::Refused);
    EXPECT_EQ(Update1Body(*encrypted.h.session, lockedRow, "{Enter}", Positions::Move),
              Outcome::Refused);
    EXPECT_TRUE(encrypted.h.ui.sawMessage(kEncryptedMessage, encrypted.path));
    EXPECT_EQ(encrypted.file(), sealed);
    EXPECT_FALSE(files::exists(encrypted.h.home.file("savedat")));

    Edit other;
    other.open(buildFile(Layout::V1011, commands(), lists()));
    std::string before = other.file();
    EXPECT_EQ(
        Updatechangetype(*other.h.session, other.row("save it"), TypeChange::ToAdvancedScripting),
        Outcome::Refused);
    EXPECT_EQ(other.file(), before);
}

TEST(RecordOps, DeletingListsCutsTheirRecords) {
    Edit middle;
    middle.open(buildFile(Layout::V1011, commands(), lists()));
    ASSERT_EQ(DeleteList(*middle.h.session, middle.row("days")), Outcome::Done);
    EXPECT_TRUE(test::has(middle.h.trace.text(), "  command delete list \r\n"));
    middle.reparse();
    EXPECT_EQ(middle.h.session->file.listCount, 2);
    EXPECT_EQ(middle.row("spare").script, "x\r\n");

    Edit last;
    std::string image = buildFile(Layout::V1011, commands(), lists());
    last.open(image);
    UserRow spare = last.row("spare");
    ASSERT_EQ(DeleteList(*last.h.session, spare), Outcome::Done);
    std::string out = last.file();
    auto cut = static_cast<std::size_t>(spare.offset - 1);
    ASSERT_EQ(out.size(), cut);
    std::string expected = image.substr(0, cut);
    writeLongAt(expected, static_cast<std::size_t>(last.offsetLists() - 1), 2);
    EXPECT_EQ(out, expected) << "ends with the preceding LIST";

    Edit only;
    only.open(buildFile(Layout::V61, commands(), {listRecord("apps", {"Word"})}));
    ASSERT_EQ(DeleteList(*only.h.session, only.row("apps")), Outcome::Done);
    out = only.file();
    EXPECT_EQ(out.size(), static_cast<std::size_t>(only.offsetLists() + 3));
    EXPECT_EQ(out.substr(out.size() - 4), zeros(4)) << "ends with the LIST count";
}

TEST(RecordOps, DeletingCommandsReportsTheListsTheyAloneUsed) {
    auto cmds = commands();
    auto alsoDays = globalCommand("days again <days>", kTypeKeys, textBody("d"));
    alsoDays.listRefs = {"days"};
    cmds.push_back(alsoDays);
    Edit e;
    e.open(buildFile(Layout::V1011, cmds, lists()));
    e.h.catalogue->setFlag(e.row("open <apps>").id, true);
    e.h.catalogue->setFlag(e.row("show <days>").id, true);
    std::vector<std::string> dropped;
    ASSERT_EQ(deletethem(*e.h.session, &dropped), Outcome::Done);
    EXPECT_EQ(dropped, std::vector<std::string>{"apps"});

    Edit marks;
    marks.open(buildFile(Layout::V1011, cmds, lists()));
    MarkReferencedLists(*marks.h.session, {"open <apps>", "x <APPS> <none>"});
    for (const auto& r : marks.h.rows()) {
        EXPECT_EQ(r.noglobals, r.name == "apps" && r.isList()) << r.name;
    }

    Edit all;
    all.open(buildFile(Layout::V89, commands(), lists()));
    all.h.catalogue->setFlagForCommands(true);
    ASSERT_EQ(deletethem(*all.h.session), Outcome::Done);
    ByteWriter spare;
    spare.PutLong(1);
    writeList(listRecord("spare", {"x"}), spare);
    EXPECT_EQ(all.file(), headerTemplate(Layout::V89, 9, 0) + spare.data());
}

TEST(RecordOps, RefusedOperationsTouchNothing) {
    const std::string image = buildFile(Layout::V1011, commands(), lists());
    auto refused = [&](const char* what, const std::string& messageStart,
                       const std::function<Outcome(Edit&)>& operation) {
        SCOPED_TRACE(what);
        Edit e;
        e.open(image);
        EXPECT_EQ(operation(e), Outcome::Refused);
        e.expectUntouched(image, messageStart);
    };
    auto spoiled = [](Edit& e, const char* name, std::int64_t UserRow::*column) {
        UserRow r = e.row(name);
        r.*column += 1;
        return r;
    };

    // Names that the reader would take for a lost place in the file.
    const std::string control = "A name cannot hold control characters";
    refused("new command", control, [](Edit& e) {
        NewCommand c = globalNew("K", "x");
        c.name = "tab\there";
        return BuildNewRecord(*e.h.session, c);
    });
    refused("rename", control, [](Edit& e) {
        return UpdateFirstThings(*e.h.session, e.row("bold"), "two\r\nlines", "", kUserDefined);
    });
    refused("new LIST", control,
            [](Edit& e) { return UpdateNewList(*e.h.session, "bell\x07", "a\r\nb"); });
    refused("LIST rename", control,
            [](Edit& e) { return UpdateListRename(*e.h.session, e.row("apps"), "x\x1fy"); });

    // Positions that do not describe the file.
    const std::string stale = "The command file does not match";
    refused("rename at a wrong offset", stale, [&](Edit& e) {
        return UpdateFirstThings(*e.h.session, spoiled(e, "bold", &UserRow::offset), "b", "",
                                 kUserDefined);
    });
    refused("type change at a wrong body", stale, [&](Edit& e) {
        return Updatechangetype(*e.h.session, spoiled(e, "bold", &UserRow::offsetbody),
                                TypeChange::ToPlainText);
    });
    refused("LIST rename on another LIST", stale, [](Edit& e) {
        UserRow apps = e.row("apps");
        apps.offset = e.row("days").offset;
        return UpdateListRename(*e.h.session, apps, "programs");
    });
    refused("LIST delete at a wrong offset", stale, [&](Edit& e) {
        return DeleteList(*e.h.session, spoiled(e, "spare", &UserRow::offset));
    });
    refused("new command with a wrong LIST section", stale, [](Edit& e) {
        e.h.catalogue->setParameter("OffsetLists", e.offsetLists() - 1);
        return BuildNewRecord(*e.h.session, globalNew("K", "x"));
    });
    refused("new LIST with a wrong LIST section", stale, [](Edit& e) {
        e.h.catalogue->setParameter("OffsetLists", e.offsetLists() + 4);
        return UpdateNewList(*e.h.session, "letters", "a");
    });
}
