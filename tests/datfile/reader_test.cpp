#include "datfile/builder.h"
#include "datfile/reader.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <sqlite3.h>

using namespace plv;
using namespace plv::dat;

namespace {

const Layout kLayouts[] = {Layout::V60, Layout::V61, Layout::V7, Layout::V89, Layout::V1011};

std::vector<CommandRecord> mixedCommands() {
    auto global = globalCommand("go to top", kTypeKeys, textBody("{Ctrl+Home}"));
    global.description = "moves to the top";
    auto app = applicationCommand("bold that", "winword", kTypeScript, textBody("SendKeys \"^b\""));
    app.group = "Formatting";
    auto window = windowCommand("save as pdf", "AcroRd32", "Document - Adobe Reader", kTypeAdvanced,
                                textBody("Sub Main\r\nEnd Sub"));
    auto after = globalCommand("open <apps>", kTypeText, plainTextBody("hello"));
    after.listRefs = {"apps"};
    return {global, app, window, after};
}

} // namespace

TEST(Reader, EveryLayoutCataloguesScopesTypesAndPositions) {
    for (Layout layout : kLayouts) {
        SCOPED_TRACE(versionName(layout));
        test::Harness h;
        auto commands = mixedCommands();
        std::string image = buildFile(layout, commands, {listRecord("apps", {"Word", "Excel"})});
        ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed);
        auto rows = h.rows();
        ASSERT_EQ(rows.size(), 5u);

        EXPECT_EQ(rows[0].menu, kGlobalCommands);
        EXPECT_EQ(rows[0].state, kGlobalCommands);
        EXPECT_EQ(rows[0].scope, "G");
        EXPECT_EQ(rows[0].type, "K");
        EXPECT_EQ(rows[0].script, "{Ctrl+Home}");
        EXPECT_EQ(rows[0].description, "moves to the top");
        EXPECT_EQ(rows[0].offset, 22);
        EXPECT_TRUE(rows[0].global);
        EXPECT_EQ(rows[0].globalsort, "G");

        EXPECT_EQ(rows[1].menu, "WINWORD");
        EXPECT_EQ(rows[1].state, kApplicationSpecific);
        EXPECT_EQ(rows[1].scope, "A");
        EXPECT_EQ(rows[1].owner, "Formatting");
        EXPECT_EQ(rows[1].companyName, 19);
        EXPECT_EQ(rows[1].globalsort, "N");

        EXPECT_EQ(rows[2].menu, "ACRORD32");
        EXPECT_EQ(rows[2].state, "Document - Adobe Reader");
        EXPECT_EQ(rows[2].scope, "W");
        EXPECT_EQ(rows[2].type, "A");

        EXPECT_EQ(rows[3].type, "P");
        EXPECT_EQ(rows[3].graphicsize, 0);
        EXPECT_EQ(rows[3].lists, 1);
        EXPECT_EQ(rows[3].pdescript, 0) << "values of the previous record must not leak";
        EXPECT_EQ(rows[3].className, 0);

        // Each name and body starts where the image says: its counted string is found there.
        for (int i : {0, 1, 2}) {
            EXPECT_EQ(ByteReader(image, rows[i].offset).countedString(), rows[i].name);
            ByteReader at(image, rows[i].offsetbody);
            EXPECT_EQ(at.countedString(), encodeCp1252(rows[i].script).bytes);
        }
        const UserRow& list = rows[4];
        EXPECT_EQ(list.type, "L");
        EXPECT_EQ(list.script, "Word\r\nExcel\r\n");
        auto offsetLists = h.catalogue->parameterNumber("OffsetLists");
        ASSERT_TRUE(offsetLists);
        EXPECT_EQ(list.offset, *offsetLists + 4);
        EXPECT_EQ(h.ui.countsText, "4 /1");
        EXPECT_EQ(h.catalogue->parameterNumber("lastdvcID"), rows[0].id);
    }
}

TEST(Reader, SkipBitProtectionStatesGraphicsUnknownTypesAndText) {
    test::Harness h;
    auto skipped = globalCommand("hidden", kTypeKeys, textBody("x"));
    skipped.scopeByte = kSkipBit;
    auto locked = globalCommand("secret", kTypeAdvanced, textBody("Sub Main\r\nEnd Sub"));
    locked.protection = 1;
    locked.tail = std::string(7, '\x05');
    locked.protectedString = "opaque key";
    auto stated = applicationCommand("next page", "Outlook", kTypeKeys, textBody("{PgDn}"));
    stated.states = {"Inbox", "Calendar"};
    auto stated2 = applicationCommand("prev page", "Outlook", kTypeKeys, textBody("{PgUp}"));
    stated2.states = {"Calendar"};
    auto graphic = globalCommand("letterhead", kTypeText, formattedBody("{\\rtf1 Hi}", "Hi"));
    graphic.scopeByte = kGlobalScope;
    auto odd = globalCommand("odd", 9, {});
    auto accented =
        applicationCommand("caf\xe9 cr\xe8me", "b\xfcro", kTypeKeys, textBody("\x80 5"));
    auto asleep = windowCommand("wake up", "Dragon", "Asleep", kTypeKeys, textBody("w"));
    std::string image = buildFile(
        Layout::V1011, {skipped, locked, stated, stated2, graphic, odd, accented, asleep}, {});
    ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed);
    auto rows = h.rows();
    ASSERT_EQ(rows.size(), 7u) << "the skip-bit record is read but not catalogued";
    EXPECT_EQ(h.ui.countsText, "7 /0");
    EXPECT_EQ(rows[0].name, "secret");
    EXPECT_TRUE(rows[0].encrypted);
    ByteReader body(image, rows[0].offsetbody);
    EXPECT_EQ(body.countedString(), "Sub Main\r\nEnd Sub");

    EXPECT_EQ(rows[1].states.back(), ',');
    auto ids = rows[1].states;
    auto comma = ids.find(',');
    auto first = std::stoll(ids.substr(0, comma));
    auto second = std::stoll(ids.substr(comma + 1));
    EXPECT_EQ(h.catalogue->stateName(first), "Inbox");
    EXPECT_EQ(h.catalogue->stateName(second), "Calendar");
    EXPECT_EQ(rows[2].states, std::to_string(second) + ",");
    auto stateApp = h.catalogue->prepare(R"(SELECT "appname" FROM "states" LIMIT 1)");
    ASSERT_TRUE(stateApp.step());
    EXPECT_EQ(stateApp.text(0), "Outlook") << "states keep the application as spelled";

    EXPECT_EQ(rows[3].type, "T");
    EXPECT_EQ(rows[3].graphicsize, 10);
    EXPECT_EQ(rows[3].script, "Hi");
    // An unknown type byte leaves the body unread; the next record still reads.
    EXPECT_EQ(rows[4].type, "");
    EXPECT_EQ(rows[4].script, "");
    // Windows-1252 text is catalogued as UTF-8.
    EXPECT_EQ(rows[5].name, "café crème");
    EXPECT_EQ(rows[5].menu, "BÜRO");
    EXPECT_EQ(rows[5].script, "€ 5");
    EXPECT_TRUE(rows[6].sleeping);
    EXPECT_FALSE(rows[3].sleeping);
}

TEST(Reader, DuplicatesAreCataloguedAndLogged) {
    test::Harness h;
    auto a = applicationCommand("Bold That", "winword", kTypeKeys, textBody("^b"));
    auto b = applicationCommand("bold that", "WINWORD", kTypeKeys, textBody("^B"));
    std::string image =
        buildFile(Layout::V1011, {a, b}, {listRecord("x", {}), listRecord("X", {})});
    ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed);
    auto rows = h.rows();
    ASSERT_EQ(rows.size(), 4u);
    EXPECT_FALSE(rows[0].dupe);
    EXPECT_TRUE(rows[1].dupe);
    EXPECT_TRUE(rows[3].dupe);
    std::string log = h.readHomeFile("duplicate.log");
    std::string header =
        "The following Command or LIST names are duplicate names\r\n\r\n"
        "Already in:  Filename     MENU         STATE                            Type   "
        "Macroname\r\n\r\n";
    std::string line1 =
        "mycmds.dat   bold that    WINWORD         Application-specific             "
        "K bold that\r\n";
    std::string line2 =
        "mycmds.dat   X            Global Commands Global Commands                  "
        "L X\r\n";
    EXPECT_EQ(log, header + line1 + line2);

    // A second full parse starts the log again, header included.
    ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed);
    EXPECT_EQ(h.readHomeFile("duplicate.log"), header + line1 + line2);
    ASSERT_EQ(h.parseBytes(buildFile(Layout::V1011, {a}, {})), ParseStatus::Parsed);
    EXPECT_EQ(h.readHomeFile("duplicate.log"), "");
}

TEST(Reader, ABadNameStopsTheParseWithDiagnostics) {
    test::Harness h;
    auto good = globalCommand("first one", kTypeKeys, textBody("abc"));
    auto bad = globalCommand("bad\tname", kTypeKeys, textBody("x"));
    std::string image = buildFile(Layout::V1011, {good, bad, good}, {listRecord("l", {"a"})});
    ASSERT_EQ(h.parseBytes(image), ParseStatus::Failed);
    EXPECT_FALSE(h.session->parseOk);
    auto rows = h.rows();
    ASSERT_EQ(rows.size(), 1u);
    EXPECT_FALSE(h.catalogue->parameter("mycmdstime"))
        << "a partial catalogue must not pass for current at the next start";

    std::string log = h.readHomeFile("error.log");
    std::string dump = image.substr(21, 3000);
    EXPECT_EQ(log.substr(0, dump.size()), dump);
    std::size_t p = dump.size();
    auto expectNext = [&](const std::string& part) {
        auto at = log.find(part, p);
        ASSERT_NE(at, std::string::npos) << part;
        p = at + part.size();
    };
    expectNext(std::string(40, '*'));
    expectNext("this bad command (or list) bad\tname");
    expectNext(std::string(33, '*'));
    expectNext("previous command (or list) first oneKabc");
    ByteReader r(image, 22);
    CommandRecord skipped;
    readCommand(r, Layout::V1011, nullptr, skipped);
    expectNext("offset " + std::to_string(r.position()));
    expectNext("which/commands,which/lists 2/3 0/0");
    expectNext(" parmtime  filetime ");

    // A bad LIST name counts its place among the LISTs.
    ASSERT_EQ(h.parseBytes(
                  buildFile(Layout::V61, {}, {listRecord("ok", {"a"}), listRecord("b\x01", {})})),
              ParseStatus::Failed);
    log = h.readHomeFile("error.log");
    EXPECT_TRUE(test::has(log, "which/commands,which/lists 1/0 2/2"));
    EXPECT_TRUE(test::has(log, "previous command (or list) okLa\r\n"));

    test::Harness fresh;
    auto unnamed = globalCommand("\x02", kTypeKeys, textBody("x"));
    ASSERT_EQ(fresh.parseBytes(buildFile(Layout::V7, {unnamed}, {})), ParseStatus::Failed);
    std::string empty = fresh.readHomeFile("error.log");
    EXPECT_EQ(empty.substr(0, 2), "\r\n") << "no previous row: an empty dump";
    EXPECT_TRUE(test::has(empty, "previous command (or list) \r\n"));
}

TEST(Reader, EveryTruncationAndAnUnknownVersionFailCleanly) {
    auto steps = StepsBody().press('A', 3).open("notepad", "", "", 1).type("hi").tokens();
    auto recorder = RecorderBody().window({"a", "b", "c", "d", "e", "f"}).key(65, 0).tokens();
    auto commands = mixedCommands();
    commands.push_back(globalCommand("steps", kTypeStepByStep, steps));
    commands.push_back(globalCommand("recorder", kTypeRecorder, recorder));
    for (Layout layout : kLayouts) {
        std::string image = buildFile(layout, commands, {listRecord("apps", {"Word"})});
        test::Harness h;
        for (std::size_t cut = 0; cut < image.size(); cut += 1 + cut / 40) {
            ASSERT_EQ(h.parseBytes(image.substr(0, cut)), ParseStatus::Failed)
                << versionName(layout) << " cut at " << cut;
        }
        EXPECT_TRUE(test::has(h.readHomeFile("error.log"), "past the end"));
        EXPECT_EQ(h.parseBytes(image), ParseStatus::Parsed);
    }
    test::Harness h;
    std::string empty = buildFile(Layout::V1011, {}, {});
    ASSERT_EQ(h.parseBytes(empty), ParseStatus::Parsed);
    EXPECT_EQ(h.catalogue->parameterNumber("OffsetLists"), 22);
    empty[4] = 9;
    EXPECT_EQ(h.parseBytes(empty), ParseStatus::Failed);
    EXPECT_TRUE(test::has(h.readHomeFile("error.log"), "unknown version code 9"));
}

TEST(Reader, OnlyAChangedFileIsParsedAgainAndMissingFilesEndTheProgram) {
    test::Harness h;
    std::string path = h.home.write("mycmds.dat", buildFile(Layout::V1011, mixedCommands(), {}));
    ASSERT_EQ(parse(*h.session, false, path), ParseStatus::Parsed);
    auto ids = h.rows().front().id;
    h.ui.countsText.clear();
    EXPECT_EQ(parse(*h.session, false, path), ParseStatus::Unchanged);
    EXPECT_EQ(h.ui.countsText, "4 /0");
    EXPECT_EQ(h.rows().front().id, ids);
    EXPECT_EQ(parse(*h.session, true, path), ParseStatus::Parsed);
    EXPECT_NE(h.rows().front().id, ids);
    files::setLastModified(path, files::now() - 1000000000LL);
    EXPECT_EQ(parse(*h.session, false, path), ParseStatus::Parsed);
    std::string trace = h.trace.text();
    for (const char* label :
         {"b4 processing", "binary before keynames", "real", "before parselists", "binary done"}) {
        EXPECT_TRUE(test::has(trace, label)) << label;
    }

    std::string missing = h.home.file("nowhere.dat");
    EXPECT_EQ(parse(*h.session, true, missing), ParseStatus::ProgramEnds);
    EXPECT_TRUE(h.ui.sawMessage("Required NatSpeak file missing--cannot continue", missing));
    files::remove(h.home.file("keynames"));
    EXPECT_EQ(parse(*h.session, true, path), ParseStatus::ProgramEnds);
    EXPECT_TRUE(h.ui.sawMessage("Required file 'keynames' missing", "Reinstall"));
    EXPECT_EQ(h.rows().size(), 4u) << "the catalogue is left as it was";
}

TEST(Reader, LongTextsAreCataloguedWholeAndOnlyDatabaseErrorsSkipARow) {
    test::Harness h;
    // Every text longer than the limit the catalogue's messages name: nothing is cut or
    // refused for its length, so every record of the file has its row.
    auto longest = windowCommand(std::string(400, 'n'), std::string(30, 'a'), std::string(250, 's'),
                                 kTypeKeys, textBody(std::string(70000, 'b')));
    longest.description = std::string(300, 'd');
    longest.group = std::string(90, 'g');
    auto refused = globalCommand("refused one", kTypeKeys, textBody("1"));
    auto refusedToo = globalCommand("refused two", kTypeKeys, textBody("2"));
    auto refusedThree = globalCommand("refused three", kTypeKeys, textBody("3"));
    auto after = globalCommand("after", kTypeKeys, textBody("4"));
    std::string image =
        buildFile(Layout::V1011, {longest, refused, refusedToo, refusedThree, after},
                  {listRecord("refused list", {"x"}), listRecord("kept", {"y"})});
    // A genuine database error, as the engine reports it, for the rows named "refused ...".
    h.catalogue->execute(R"(CREATE TRIGGER "refuse" BEFORE INSERT ON "userrows" )"
                         R"(WHEN NEW."name" LIKE 'refused%' )"
                         R"(BEGIN SELECT RAISE(ABORT, 'refused by the database'); END)");
    ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed);

    auto rows = h.rows();
    ASSERT_EQ(rows.size(), 3u);
    EXPECT_EQ(rows[0].name, std::string(400, 'n'));
    EXPECT_EQ(rows[0].menu, std::string(30, 'A'));
    EXPECT_EQ(rows[0].state, std::string(250, 's'));
    EXPECT_EQ(rows[0].description, std::string(300, 'd'));
    EXPECT_EQ(rows[0].owner, std::string(90, 'g'));
    EXPECT_EQ(rows[0].script.size(), 70000u);
    EXPECT_EQ(rows[1].name, "after");
    EXPECT_EQ(rows[2].name, "kept");
    EXPECT_EQ(h.catalogue->parameterNumber("lastdvcID"), rows[0].id);

    // The first two refusals of the program run are shown, the rest are skipped silently.
    std::vector<std::string> shown;
    for (const auto& m : h.ui.shown()) {
        EXPECT_EQ(m.title, "refused by the database");
        shown.push_back(m.text);
    }
    ASSERT_EQ(shown.size(), 2u);
    EXPECT_EQ(shown[0], "Global Commands (Max=20)\nGlobal Commands (Max=100)\nrefused one "
                        "(Max=150)\n (Max=150)\nUser-defined (Max=50)\nError # =" +
                            std::to_string(SQLITE_CONSTRAINT_TRIGGER) + "\nRecord(s) skipped");
    EXPECT_EQ(shown[1].rfind("Global Commands (Max=20)\nGlobal Commands (Max=100)\nrefused two "
                             "(Max=150)\n",
                             0),
              0u);
    ASSERT_EQ(h.parseBytes(image), ParseStatus::Parsed);
    EXPECT_EQ(h.ui.shown().size(), 2u) << "still two in the same run";
}
