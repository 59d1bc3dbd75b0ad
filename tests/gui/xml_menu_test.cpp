#include "datfile/contents.h"
#include "editing/import_xml.h"
#include "export/dragon_xml.h"
#include "gui_fixture.h"

#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <gtest/gtest.h>

using namespace plv;
using browser::Tab;
using test::GuiRun;

namespace {

const std::string kImported = R"(<?xml version="1.0" encoding="utf-8"?>
<MyCommands version="2.0" language="0x409">
	<Commands type="global">
		<Command name="hello from xml" group="Shared" enabled="true" states="">
			<description>imported</description>
			<contents type="SCRIPT">MsgBox "hello"</contents>
		</Command>
	</Commands>
	<Lists/>
</MyCommands>
)";

} // namespace

TEST(XmlMenu, ExportsTheChosenCommandsAndImportsAFileIntoTheOpenOne) {
    GuiRun run;
    ASSERT_TRUE(run.start());
    std::string out = run.dragon.dir.file("global.xml");
    run.window().chooseSaveFile = [&](const gui::SaveFileQuestion& q) {
        EXPECT_EQ(q.extension, "xml");
        return std::optional<std::string>(out);
    };
    GuiRun::withDialog(run.window().action("filexmlexport"), [&](QDialog& d) {
        EXPECT_EQ(d.windowTitle(), "Export to Dragon XML");
        EXPECT_TRUE(d.findChild<QRadioButton*>("tofile")->isChecked());
        EXPECT_FALSE(d.findChild<QRadioButton*>("toprinter")->isEnabled());
        d.findChild<QPushButton*>("specify")->click();
        d.findChild<QPushButton*>("Command2")->click();
        EXPECT_FALSE(d.isVisible());
    });
    xml::ReadFailure failure;
    auto exported = xml::readDocument(files::readAll(out).value_or(""), failure);
    ASSERT_TRUE(exported) << failure.message();
    auto names = run.entries(Tab::Commands);
    std::size_t global = 0;
    for (const auto& c : exported->commands) {
        global += c.scope == "global" && names.contains(QString::fromStdString(c.name)) ? 1 : 0;
    }
    EXPECT_GT(global, 0u);

    std::string in = run.dragon.dir.write("in.xml", kImported);
    run.window().chooseFile = [&](const dat::OpenDialogStart& start) {
        EXPECT_EQ(start.title, "Import Dragon XML");
        return std::optional<std::string>(in);
    };
    run.window().action("filexmlimport")->trigger();
    EXPECT_TRUE(run.ui.sawMessage(editing::kImportDone));
    EXPECT_TRUE(run.entries(Tab::Commands).contains("hello from xml"));
    auto file = files::readAll(run.dragon.commandFile()).value_or("");
    EXPECT_NE(file.find("MsgBox \"hello\""), std::string::npos);
    EXPECT_TRUE(run.window().action("filexmlimport")->isEnabled());
}
