#include "datfile/builder.h"
#include "dragon/root_fixture.h"
#include "dragon/seed_files.h"
#include "dragon/stand_in.h"

#include <chrono>
#include <gtest/gtest.h>
#include <thread>

using namespace plv;

TEST(StandInEngine, ReportsWhatEngineIniSaysAndRaisesTheSpeakerChangeOnce) {
    test::DemoDragon d;
    dragon::StandInEngine engine(d.engine());
    EXPECT_TRUE(engine.registerAndSwitchOn("Parlavista"));
    EXPECT_EQ(engine.registeredWindow(), "Parlavista");
    EXPECT_EQ(engine.version().major, 11);
    EXPECT_EQ(engine.version().minor, 50);
    EXPECT_EQ(engine.version().third, 100);
    EXPECT_NE(engine.productFlags() & dragon::kProfessionalFlag, 0u);
    EXPECT_EQ(engine.currentSpeaker(), "Demo");
    EXPECT_EQ(engine.speakerLanguage("Demo"), 1033);
    EXPECT_EQ(engine.speakerLanguage("Nobody"), 0);
    EXPECT_EQ(engine.directory(), d.users());
    EXPECT_EQ(engine.foregroundWindowTitle(), "Discharge Summary - Microsoft Word");
    EXPECT_EQ(engine.ownerProcessPath("discharge summary - microsoft word"),
              "C:\\Program Files\\Microsoft Office\\Office14\\WINWORD.EXE");
    EXPECT_EQ(engine.ownerProcessPath("DgnBarMainWindowCls"),
              files::join(d.dragonRoot().programFolder(), "natspeak.exe"));
    EXPECT_EQ(engine.ownerProcessPath("A window nobody knows"), "");

    dragon::StandInEngine absent(d.dir.file("nowhere/engine.ini"));
    EXPECT_FALSE(absent.registerAndSwitchOn("Parlavista"));

    // The speaker change is raised once.
    std::vector<std::string> changes;
    engine.onSpeakerChanged([&](const std::string& s) { changes.push_back(s); });
    engine.poll();
    EXPECT_TRUE(changes.empty()) << "nothing changed yet";
    d.setEngine("product flags", "16");
    engine.poll();
    EXPECT_TRUE(changes.empty()) << "another value changed, not the speaker";
    // A coarse file-system clock can give the next write the same time as the last.
    auto sameTime = files::lastModified(d.engine());
    d.setEngine("current speaker", "Locum");
    ASSERT_TRUE(files::setLastModified(d.engine(), *sameTime));
    EXPECT_EQ(engine.currentSpeaker(), "Locum") << "queries answer from the file as it is";
    EXPECT_EQ(engine.directory(), d.users());
    engine.poll();
    engine.poll();
    EXPECT_EQ(changes, std::vector<std::string>{"Locum"});

    d.setEngine("current speaker", "Demo");
    ASSERT_TRUE(files::setLastModified(d.engine(), *sameTime));
    engine.poll();
    EXPECT_EQ(changes, (std::vector<std::string>{"Locum", "Demo"}));
}

TEST(StandInDragon, DialogTenOpensTheCommandEditor) {
    test::DemoDragon d;
    dragon::StandInDragon stand(d.dragonRoot());
    auto controls = stand.controls();
    controls.editor->sendKeys("{Alt+d}");
    EXPECT_TRUE(stand.editor().keysSent().empty()) << "keys to a closed window are lost";
    controls.engine->showDialog(dragon::kCommandEditorDialog, "Parlavista");
    EXPECT_TRUE(controls.editor->isOpen());
    controls.editor->sendKeys("{Esc}");
    EXPECT_TRUE(stand.editor().keysSent().empty()) << "keys go to the window in front";
    controls.editor->bringToFront();
    controls.editor->sendKeys("%d");
    controls.editor->sendKeys("{Enter}");
    EXPECT_EQ(stand.editor().keysSent(), (std::vector<std::string>{"%d", "{Enter}"}));
    controls.mic->show();
    EXPECT_EQ(stand.mic().timesShown(), 1);
}

TEST(RecordingVoiceCommands, KeepsMenusRecognisesWithListsAndChecksScripts) {
    dragon::RecordingVoiceCommands voice;
    auto menu = voice.createMenu("Parlavista", "Parlavista", 1033, "", 1);
    voice.addCommand(menu, 5, "slider <numbers>", "Spoken controls");
    voice.addCommand(menu, 1, "commands tab", "Spoken controls");
    voice.addCommand(menu, 2, "Commands Tab", "Spoken controls", std::string("body"));
    voice.assignList(menu, "numbers", {"1", "2", "ten past"});
    ASSERT_EQ(voice.menus().size(), 1u);
    const auto* m = voice.findMenu("Parlavista", "Parlavista");
    ASSERT_NE(m, nullptr);
    EXPECT_EQ(m->language, 1033);
    EXPECT_EQ(m->flags, 1);
    ASSERT_EQ(m->commands.size(), 2u) << "the same spoken text is redefined";
    EXPECT_EQ(m->commands[1].id, 2);
    EXPECT_EQ(m->commands[1].script, "body");

    std::vector<std::pair<int, std::string>> heard;
    voice.onRecognition([&](int id, const std::string& w) { heard.emplace_back(id, w); });
    EXPECT_FALSE(voice.speak("slider 2")) << "not active until bound";
    voice.bindAndActivate(menu, "Parlavista");
    EXPECT_TRUE(voice.speak("Slider 2"));
    EXPECT_TRUE(voice.speak("slider ten past"));
    EXPECT_FALSE(voice.speak("slider 3"));
    EXPECT_FALSE(voice.speak("slider"));
    voice.inject(7, "numbered 7");
    EXPECT_EQ(heard, (std::vector<std::pair<int, std::string>>{
                         {5, "Slider 2"}, {5, "slider ten past"}, {7, "numbered 7"}}));
    voice.setActive(menu, false);
    EXPECT_FALSE(voice.speak("commands tab"));

    // The script check gives the first bad line.
    EXPECT_EQ(voice.scriptCheck("SendKeys \"{Ctrl+s}\"\r\nWait 500\r\n"), 0);
    EXPECT_EQ(voice.scriptCheck("If _arg1 = \"x\" Then\r\n  SendKeys \"(\"\r\nEndIf\r\n"), 0);
    EXPECT_EQ(voice.scriptCheck("Wait 1\r\nSendKeys \"{Tab}\r\nWait 2\r\n"), 2);
    EXPECT_EQ(voice.scriptCheck("MsgBoxConfirm(\"a\", 1\r\n"), 1);
    EXPECT_EQ(voice.scriptCheck("Wait 1\r\nEndIf\r\n"), 2);
    EXPECT_EQ(voice.scriptCheck("Repeat 3\r\nIf x Then\r\nEnd If\r\n"), 1);
    EXPECT_EQ(voice.scriptCheck("If a Then\r\nEndRepeat\r\n"), 2);
}

TEST(MergeLauncher, StartsTheMergeProgramAsItsOwnProcess) {
    test::DemoDragon d;
    std::string program = files::join(d.dragonRoot().programFolder(), dragon::mergeProgramName());
    std::string placer = d.dir.write("placer.dat", dragon::startCommandsFile());
    std::string file = d.commandFile();
    auto before = files::readAll(file);
    ASSERT_TRUE(files::setLastModified(file, 0));

    dragon::MergeLauncher launcher;
    ASSERT_TRUE(launcher.start(program, file, placer));
    EXPECT_EQ(launcher.started().back(), program + " \"" + file + "\" \"" + placer + "\"");
    // Like the fast save, only the file's time tells that the merge is done.
    for (int i = 0; i < 100 && files::lastModified(file) == files::FileTime{0}; ++i) {
        std::this_thread::sleep_for(std::chrono::milliseconds(50));
    }
    EXPECT_NE(files::lastModified(file), files::FileTime{0});
    auto after = files::readAll(file);
    ASSERT_TRUE(after && before);
    EXPECT_GT(after->size(), before->size());
    EXPECT_NE(after->find("global parla vista"), std::string::npos);

    EXPECT_FALSE(launcher.start(d.dir.file("no-such-program"), file, placer));
}
