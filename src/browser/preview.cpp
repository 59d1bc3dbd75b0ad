#include "browser/preview.h"

#include "browser/view_filter.h"
#include "platform/codepage.h"

#include <charconv>

namespace plv::browser {
namespace {

EditCommands editCommandsFor(const UserRow& row, const std::string& language) {
    EditCommands e;
    e.commandMenu = true;
    e.bodyLocked = true; // unlocked by "&Modify"
    if (row.type == "K") {
        if (row.script.find('{') == std::string::npos) {
            e.convertPlain = true;
        } else if (language == "English") {
            e.convertAdvanced = true;
        }
    }
    bool formattedOrRecorded = row.type == "T" || row.type == "X" || row.type == "R";
    e.modify = e.clone = !formattedOrRecorded;
    e.showGraphic = row.type == "T";
    if (row.encrypted) {
        e.modify = e.clone = false;
    }
    return e;
}

// The first line of a Text and Graphics body in the preview.
std::string graphicMarker(const UserRow& row) {
    return "<<< " + std::to_string(row.graphicsize) + " byte graphic not shown >>> \n";
}

// The byte at which character `chars` of UTF-8 text starts.
std::size_t byteOfCharacter(const std::string& utf8, std::size_t chars) {
    std::size_t at = 0;
    for (; at < utf8.size(); ++at) {
        if ((static_cast<unsigned char>(utf8[at]) & 0xC0) != 0x80 && chars-- == 0) {
            break;
        }
    }
    return at;
}

} // namespace

std::string shownBody(const UserRow& row) {
    std::string body = row.script;
    bool keysFromOtherFile =
        row.type == "K" && body.find('\\') != std::string::npos && row.filename != "mycmds.dat";
    if (keysFromOtherFile || row.isList()) {
        replaceAll(body, "\\\\", "\\");
    }
    return body;
}

std::string stateNames(const std::string& ids, const StateNameLookup& stateName) {
    std::string names;
    std::size_t start = 0;
    while (start <= ids.size()) {
        std::size_t comma = ids.find(',', start);
        std::string id =
            ids.substr(start, comma == std::string::npos ? std::string::npos : comma - start);
        std::int64_t value = 0;
        auto [end, ec] = std::from_chars(id.data(), id.data() + id.size(), value);
        if (!id.empty() && ec == std::errc() && end == id.data() + id.size()) {
            if (auto name = stateName(value)) {
                names += (names.empty() ? "" : ",") + *name;
            }
        }
        if (comma == std::string::npos) {
            break;
        }
        start = comma + 1;
    }
    return names;
}

Preview previewRow(const UserRow& row, const std::string& language,
                   const StateNameLookup& stateName) {
    Preview p;
    p.rowId = row.id;
    p.name = row.name;
    p.typeCode = row.type;
    p.filename = row.filename;
    p.group = row.owner;
    p.type = typeDisplayName(row.type);
    p.program = row.menu;
    p.scope = row.state;
    p.description = row.description;
    p.states = stateNames(row.states, stateName);
    p.enabled = editCommandsFor(row, language);
    p.body = shownBody(row);
    p.storedBody = row.script;
    if (row.type == "T") {
        p.body = graphicMarker(row) + row.script;
    }
    p.encrypted = row.encrypted;
    if (row.encrypted) {
        p.body = "This command has been encrypted, and cannot be edited";
    }
    return p;
}

std::optional<Highlight> shownHighlight(const UserRow& row, std::size_t position,
                                        std::size_t length) {
    if (row.encrypted || position == 0) {
        return std::nullopt;
    }
    std::size_t start = byteOfCharacter(row.script, position - 1);
    std::size_t end = byteOfCharacter(row.script, position - 1 + length);
    // What the preview shows before the found text and of it, by the same rule as the body.
    UserRow part = row;
    part.script = row.script.substr(0, start);
    std::size_t before = cp1252Length(row.type == "T" ? part.script : shownBody(part));
    part.script = row.script.substr(start, end - start);
    std::size_t shown = cp1252Length(row.type == "T" ? part.script : shownBody(part));
    if (row.type == "T") {
        before += cp1252Length(graphicMarker(row));
    }
    return Highlight{before, shown};
}

Preview previewMissing(const std::string& name, const std::string& program,
                       const std::string& scope) {
    Preview p;
    p.name = name;
    p.program = program;
    p.scope = scope;
    if (name == kNothingToShow) {
        p.body = "Please pick a different Program, Scope, View, or Group";
        p.enabled.commandMenu = true; // a new command may still be made here
        return p;
    }
    p.body = "This command is no longer available.\n\nIt has likely been renamed or deleted.";
    p.group = kUserDefined;
    return p;
}

} // namespace plv::browser
