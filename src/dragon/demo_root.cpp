#include "dragon/demo_root.h"

#include "dragon/dragon_root.h"
#include "platform/files.h"

#include <filesystem>

namespace plv::dragon {
namespace {

namespace stdfs = std::filesystem;

struct Layout {
    DragonRoot root;
    std::string common;  // ProgramData/Nuance/NaturallySpeaking11
    std::string user;    // AppData/Nuance/NaturallySpeaking11
    std::string users;   // the user base directory
    std::string program; // Dragon's program folder
};

Layout layoutOf(const std::string& folder) {
    Layout l;
    l.root.root = folder;
    l.common = dragonDataFolder(l.root.commonAppData());
    l.user = dragonDataFolder(l.root.userAppData());
    l.users = files::join(l.common, "Users");
    l.program = l.root.programFolder();
    return l;
}

std::string nssystemIni(const Layout& l) {
    return "[Settings]\n"
           "Base Directory=" +
           l.program +
           "\n"
           "Supported Languages=ENX\n"
           "ENX Base DVC Directory=" +
           files::join(files::join(l.common, "Data"), "ENX") +
           "\n"
           "Roaming User On=0\n"
           "Roaming User Master Directory=\n"
           "Roaming User Local Cache Directory=\n";
}

std::string nsuserIni(const Layout& l) {
    return "[Settings]\n"
           "Current User=" +
           std::string(kDemoUser) +
           "\n"
           "User Base Directory=" +
           l.users +
           "\n"
           "Roaming User Current User Is Roaming=0\n";
}

std::string dragonLog() {
    return "Tue Mar 15 08:02:11 2011 Starting Dragon\r\n"
           "Dragon NaturallySpeaking Version 11.50.100.200\r\n"
           "Edition: Professional\r\n"
           "Serial number: xxxxx-xxx-xxxx-xxxx-xx\r\n"
           "Tue Mar 15 08:02:19 2011 Loading user Demo\r\n"
           "Tue Mar 15 08:02:24 2011 User Demo ready\r\n";
}

std::string engineIni(const Layout& l) {
    std::string dragon = files::join(l.program, "natspeak.exe");
    const char* office = "C:\\Program Files\\Microsoft Office\\Office14\\";
    return "; What the running Dragon engine reports to Parlavista.\n"
           "[Engine]\n"
           "major=11\nminor=50\nthird=100\n"
           "product flags=31\n"
           "directory=" +
           l.users +
           "\n"
           "current speaker=" +
           std::string(kDemoUser) +
           "\n"
           "foreground window=Discharge Summary - Microsoft Word\n"
           "\n[Speaker Languages]\n" +
           std::string(kDemoUser) +
           "=1033\n"
           "\n[Window Owners]\n"
           "DgnBarMainWindowCls=" +
           dragon +
           "\n"
           "Dragon NaturallySpeaking=" +
           dragon +
           "\n"
           "DragonBar=" +
           dragon +
           "\n"
           "Discharge Summary - Microsoft Word=" +
           office +
           "WINWORD.EXE\n"
           "Referral Letter - Microsoft Word=" +
           office +
           "WINWORD.EXE\n"
           "Inbox - Microsoft Outlook=" +
           office +
           "OUTLOOK.EXE\n"
           "Lab Results.xlsx - Microsoft Excel=" +
           office +
           "EXCEL.EXE\n"
           "Untitled - Notepad=C:\\Windows\\notepad.exe\n";
}

std::string optionsIni() {
    return "[Options]\nspeakerlanguageID=1033\nAuto Add Words=1\n";
}

bool isEmptyOrAbsent(const std::string& folder, std::string& why) {
    std::error_code ec;
    if (!stdfs::exists(files::fsPath(folder), ec)) {
        return true;
    }
    if (!stdfs::is_directory(files::fsPath(folder), ec)) {
        why = folder + " is not a folder";
        return false;
    }
    if (!stdfs::is_empty(files::fsPath(folder), ec)) {
        why = "The folder " + folder + " is not empty";
        return false;
    }
    return true;
}

bool write(const std::string& path, const std::string& text) {
    return files::makeDirectories(files::parentFolder(path)) && files::writeAll(path, text);
}

} // namespace

// Beside the programs in a build; an installation keeps it apart from the user's commands.
std::string installedMergeProgram() {
    std::string beside = files::join(files::executableFolder(), mergeProgramName());
    if (files::exists(beside)) {
        return beside;
    }
    std::string prefix = files::parentFolder(files::executableFolder());
    return files::join(files::join(prefix, "lib/parlavista"), mergeProgramName());
}

DemoRootResult writeDemoRoot(const std::string& folder, const std::string& mergeProgram) {
    DemoRootResult result;
    if (!isEmptyOrAbsent(folder, result.message)) {
        return result;
    }
    if (!files::exists(mergeProgram)) {
        result.message = "The merge program " + mergeProgram + " is missing";
        return result;
    }
    std::error_code ec;
    Layout l = layoutOf(files::utf8(stdfs::absolute(files::fsPath(folder), ec).lexically_normal()));
    std::string current = files::join(files::join(l.users, kDemoUser), "current");
    std::string mergeCopy = files::join(l.program, mergeProgramName());
    bool ok = write(files::join(l.common, "nssystem.ini"), nssystemIni(l)) &&
              write(files::join(l.user, "nsuser.ini"), nsuserIni(l)) &&
              write(files::join(l.user, "dragon.log"), dragonLog()) &&
              write(l.root.engineIni(), engineIni(l)) &&
              write(files::join(current, "options.ini"), optionsIni()) &&
              write(files::join(current, "mycmds.dat"), demoCommandFile()) &&
              files::makeDirectories(l.program) && files::copyFile(mergeProgram, mergeCopy);
    if (!ok) {
        result.message = "Cannot write the Dragon root in " + l.root.root;
        return result;
    }
    result.ok = true;
    return result;
}

} // namespace plv::dragon
