#include "datfile/builder.h"
#include "editing/backup.h"
#include "editing/convert_keys.h"
#include "editing/demo_road.h"
#include "support/edited_file.h"
#include "support/keys_form.h"

#include <gtest/gtest.h>

using namespace plv;
using namespace plv::dat;
using namespace plv::editing;

namespace {

const std::string kTail = "\x01\x02\x03\x04\x05\x06\x07\x08";

CommandRecord keysCommand(const std::string& name, const std::string& body) {
    auto r = applicationCommand(name, "winword", kTypeKeys, textBody(body));
    r.tail = kTail;
    return r;
}

// The same command as Plain Text or Advanced Scripting, laid out as a new record would be.
CommandRecord retyped(CommandRecord r, std::uint8_t type, const std::string& body) {
    r.typeByte = type;
    if (type == kTypeText) {
        r.tail.clear();
        r.body = plainTextBody(body);
    } else {
        r.body = textBody(body);
    }
    return r;
}

struct Conversion : test::EditedFile {
    SleepingWaits waits;
    KeysTally tally;
    Outcome run(KeysOperation op) {
        h.catalogue->setFlagForCommands(true);
        Road road(*h.session, waits);
        Outcome done = runKeysConversion(road, op, tally);
        h.catalogue->setFlagAll(false);
        return done;
    }
    std::string log() const { return h.readHomeFile("Parlavista.log"); }
};

const std::string kWhere = "WINWORD Application-specific ";

} // namespace

TEST(ConvertKeys, PlainTextTakesBodiesWithoutBracedKeys) {
    auto plain = keysCommand("sign off", "Kind regards,\r\nDr Shah");
    auto keys = keysCommand("save it", "{ctrl+s}");
    auto half = keysCommand("half a brace", "a { b");
    auto script = applicationCommand("run it", "winword", kTypeAdvanced, textBody("Sub Main"));
    for (Layout layout : {Layout::V61, Layout::V7, Layout::V1011}) {
        SCOPED_TRACE(versionName(layout));
        Conversion c;
        c.open(buildFile(layout, {plain, keys, half, script}, {}));
        ASSERT_EQ(c.run(KeysOperation::ToPlainText), Outcome::Done);
        EXPECT_EQ(c.h.ui.statusText, "Converting DVCs to Plain Text");
        // Byte for byte the records a new Plain Text command would have.
        EXPECT_EQ(c.file(), buildFile(layout,
                                      {retyped(plain, kTypeText, plain.body[0].bytes), keys,
                                       retyped(half, kTypeText, "a { b"), script},
                                      {}));
        c.reparse();
        EXPECT_EQ(c.row("sign off").type, "P");
        EXPECT_EQ(c.row("sign off").script, "Kind regards,\r\nDr Shah");
        EXPECT_EQ(c.row("save it").type, "K");
        EXPECT_EQ(c.log(), "Changed DVC to Plain Text: " + kWhere +
                               "sign off\r\nKind regards,\r\nDr Shah\r\n" +
                               "Changed DVC to Plain Text: " + kWhere +
                               "half a brace\r\na { b\r\n");
        EXPECT_EQ(c.h.readHomeFile("ConvertKEYS2Plain.log"), c.log());
        EXPECT_EQ(c.h.ui.shown().size(), 1u);
        EXPECT_TRUE(c.h.ui.sawMessage(
            " Conversion of DVCs to Plain Text Complete",
            "See ConvertKEYS2Plain.log for complete details of converted commands"));
    }
}

TEST(ConvertKeys, AdvancedScriptingKeepsWhatDoesNotConvert) {
    auto keys = keysCommand("save it", "{ctrl+s}\"done\"");
    auto broken = keysCommand("broken", "x}{y");
    auto text = keysCommand("just text", "no keys");
    auto locked = keysCommand("locked", "{enter}");
    locked.protection = 1;
    locked.tail.resize(7);
    locked.protectedString = "key";
    std::string image = buildFile(Layout::V1011, {keys, broken, text, locked}, {});
    const std::string title =
        "See ConvertKEYS2Advanced.log for complete details of converted commands";

    Conversion vba;
    vba.open(image);
    ASSERT_EQ(vba.run(KeysOperation::ToSendKeys), Outcome::Done);
    std::string converted = "Sub Main\r\n\r\nSendKeys \"^s\"\"done\"\"\", true\r\n\r\nEnd Sub";
    EXPECT_EQ(vba.file(),
              buildFile(Layout::V1011,
                        {retyped(keys, kTypeAdvanced, converted), broken, text, locked}, {}));
    EXPECT_EQ(vba.log(), kWhere + "save it\r\nKEYS:\r\n{ctrl+s}\"done\"\r\n\r\n" + kWhere +
                             "broken\r\nKEYS:\r\nx}{y\r\n\r\n" +
                             "The following is not syntactically correct, and has not been "
                             "converted. Please send to Brinmoor\r\n" +
                             kWhere + "locked\r\n" + kEncryptedMessage + "\r\n");
    EXPECT_EQ(vba.h.readHomeFile("ConvertKEYS2Advanced.log"), vba.log());
    EXPECT_EQ(vba.tally.converted, 1);
    EXPECT_EQ(vba.tally.notConverted, 2);
    ASSERT_EQ(vba.h.ui.shown().size(), 2u);
    EXPECT_EQ(vba.h.ui.shown()[0].text, " Conversion of DVCs to Advanced Scripting Complete");
    EXPECT_EQ(vba.h.ui.shown()[1].text, "Some macros were not converted--Please send to Brinmoor");
    EXPECT_EQ(vba.h.ui.shown()[1].title, title);
    vba.reparse();
    EXPECT_EQ(vba.row("save it").type, "A");
    EXPECT_EQ(vba.row("broken").type, "K");

    // The SendDragonKeys form takes what SendKeys cannot.
    Conversion sdk;
    sdk.open(image);
    ASSERT_EQ(sdk.run(KeysOperation::ToSendDragonKeys), Outcome::Done);
    EXPECT_EQ(sdk.h.ui.statusText, "Converting DVCs to Advanced Scripting w/SendDragonKeys");
    sdk.reparse();
    EXPECT_EQ(sdk.row("broken").type, "A");
    EXPECT_EQ(test::sendDragonKeysBody(sdk.row("broken").script), "x}{y");
    EXPECT_EQ(sdk.row("just text").type, "K");
    EXPECT_EQ(sdk.h.readHomeFile("ConvertKEYS2SendDragon.log"), sdk.log());
    EXPECT_TRUE(sdk.h.ui.sawMessage(
        " Conversion of DVCs to Advanced Scripting Complete",
        "See ConvertKEYS2SendDragon.log for complete details of converted commands"));
}

TEST(ConvertKeys, TheRunBacksUpFirstAndThePostWriteStepHasDragonTakeTheFileOver) {
    test::DemoRoad d;
    const std::string original = d.file();
    int backups = 0;
    d.road->onBackupTaken = [&] { ++backups; };
    d.session().catalogue.setFlagForCommands(true);
    KeysTally tally;
    ASSERT_EQ(runKeysConversion(*d.road, KeysOperation::ToSendKeys, tally), Outcome::Done);
    EXPECT_EQ(backups, 1);
    // What the Tools menu does once the dialog has closed.
    ASSERT_EQ(d.road->postWrite(), Outcome::Done);
    EXPECT_EQ(d.home(std::string(dragon::kDemoUser) + "/" + backupName(files::now())), original);
    EXPECT_EQ(d.dragon.commandsChanged(), "1");
    // The catalogue was read again from the converted file.
    EXPECT_EQ(d.global("copy that").type, "A");
    EXPECT_EQ(d.ui.shown().front().text, " Conversion of DVCs to Advanced Scripting Complete");

    // Later the same day no copy is taken, and the Restore menu is built again all the same.
    d.session().catalogue.setFlagForCommands(true);
    ASSERT_EQ(runKeysConversion(*d.road, KeysOperation::ToPlainText, tally), Outcome::Done);
    EXPECT_EQ(backups, 2);
    EXPECT_EQ(d.home(std::string(dragon::kDemoUser) + "/" + backupName(files::now())), original);
}
