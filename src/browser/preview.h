#pragma once

#include "catalogue/user_row.h"

#include <cstdint>
#include <functional>
#include <optional>
#include <string>

namespace plv::browser {

inline constexpr const char* kNothingToShow = "Nothing to show";

// Which editing commands the previewed entry allows.
struct EditCommands {
    bool modify = false;          // "&Modify", and the command menu's "&Edit"
    bool clone = false;           // "&Clone"
    bool commandMenu = false;     // the command menu as a whole
    bool convertPlain = false;    // "Convert to Plain &Text"
    bool convertAdvanced = false; // "Convert to Ad&vanced Scripting"
    bool showGraphic = false;     // "Sho&w Graphic"
    bool bodyLocked = true;
};

// Found text to select in the body editor: where it starts (0-based) and its length, in
// characters of the body as shown.
struct Highlight {
    std::size_t start = 0;
    std::size_t length = 0;
    bool operator==(const Highlight&) const = default;
};

// The preview pane's fields.
struct Preview {
    std::string body;
    std::string storedBody; // the row's `script`, before the backslash rule
    std::string description;
    std::string type; // display name
    std::string program;
    std::string scope;
    std::string group;
    std::string states;
    EditCommands enabled;
    // The entry shown: set when a catalogue row was found.
    std::optional<std::int64_t> rowId;
    bool encrypted = false; // its body is not text and is never written
    std::string name;
    std::string typeCode;
    std::string filename;
    std::optional<Highlight> highlight;
};

// The state name of a `states` ID, when there is one.
using StateNameLookup = std::function<std::optional<std::string>(std::int64_t id)>;

// The preview of a catalogue row; `language` is the open file's language name.
Preview previewRow(const UserRow& row, const std::string& language,
                   const StateNameLookup& stateName);
// The preview of a name that has no row: the placeholder's hint, or the
// "no longer available" text.
Preview previewMissing(const std::string& name, const std::string& program,
                       const std::string& scope);

// The body as the editor shows it (the backslash rule).
std::string shownBody(const UserRow& row);
// Where text found in the row's body at `position` (1-based, in characters of `script`) of
// `length` characters shows in the preview's body; nothing for a body the preview hides.
std::optional<Highlight> shownHighlight(const UserRow& row, std::size_t position,
                                        std::size_t length);
// "Name1,Name2" from "12,15,".
std::string stateNames(const std::string& ids, const StateNameLookup& stateName);

} // namespace plv::browser
