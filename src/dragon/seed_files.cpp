#include "dragon/seed_files.h"

#include "datfile/builder.h"

namespace plv::dragon {
namespace {

using namespace plv::dat;

const std::string kVersionBlock = std::string("\xfd\x02\xf8\xff", 4) + std::string(8, '\0');

CommandRecord startCommand(const std::string& name, const std::string& description,
                           const std::string& body) {
    CommandRecord r = globalCommand(name, kTypeAdvanced, textBody(body));
    r.description = description;
    r.group = "Parlavista";
    r.versionBlock = kVersionBlock;
    return r;
}

// A command of the program's own window, reached through its menu accelerators.
CommandRecord windowControl(const std::string& name, const std::string& group,
                            const std::string& keys) {
    CommandRecord r = applicationCommand(name, "parlavista", kTypeKeys, textBody(keys));
    r.productDescription = "Parlavista";
    r.companyName = "Brinmoor";
    r.group = group;
    r.versionBlock = kVersionBlock;
    return r;
}

} // namespace

std::string placerFile() {
    return buildFile(Layout::V1011, {}, {}, 9);
}

std::string startCommandsFile() {
    const std::string program = "C:\\Program Files\\Parlavista\\Parlavista.exe";
    std::vector<CommandRecord> commands{
        startCommand("global parla vista", "Starts Parlavista on the global commands",
                     "Sub Main\r\n\tShell \"\"\"" + program +
                         "\"\" \"\"global commands\"\"\", vbNormalFocus\r\nEnd Sub\r\n"),
        startCommand("local parla vista",
                     "Starts Parlavista on the commands of the window in front",
                     "Declare Function GetForegroundWindow Lib \"user32\" () As Long\r\n"
                     "Declare Function GetWindowText Lib \"user32\" Alias \"GetWindowTextA\" "
                     "(ByVal hwnd As Long, ByVal text As String, ByVal size As Long) As Long\r\n"
                     "Sub Main\r\n\tDim title As String * 256\r\n"
                     "\tGetWindowText GetForegroundWindow(), title, 256\r\n"
                     "\tShell \"\"\"" +
                         program +
                         "\"\" \"\"\" & Left(title, InStr(title, Chr(0)) - 1) & \"\"\"\", "
                         "vbNormalFocus\r\nEnd Sub\r\n"),
    };
    return buildFile(Layout::V1011, commands, {}, 9);
}

std::string macroSetFile() {
    std::vector<CommandRecord> commands{
        windowControl("file open", "PLVControl", "{Alt+f}o"),
        windowControl("reload my commands", "PLVControl", "{Alt+f}l"),
        windowControl("show file properties", "PLVControl", "{Alt+f}t"),
        windowControl("show commands", "PLVControl", "{Alt+c}"),
        windowControl("show lists", "PLVControl", "{Alt+l}"),
        windowControl("show recently created", "PLVControl", "{Alt+n}"),
        windowControl("show recently modified", "PLVControl", "{Alt+i}"),
        windowControl("modify body", "PLVControl", "{Alt+m}"),
        windowControl("save the changes", "PLVControl", "{Alt+a}"),
        windowControl("abandon the changes", "PLVControl", "{Alt+b}"),
        windowControl("find a command", "PLVMacros", "{Alt+e}f"),
        windowControl("print command list", "PLVMacros", "{Alt+f}p"),
        windowControl("export to spreadsheet", "PLVMacros", "{Alt+f}s"),
        windowControl("parlavista help", "PLVMacros", "{Alt+h}h"),
    };
    return buildFile(Layout::V1011, commands, {}, 9);
}

} // namespace plv::dragon
