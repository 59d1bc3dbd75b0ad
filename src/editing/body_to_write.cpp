#include "editing/body_to_write.h"

#include "editing/name_checks.h"

namespace plv::editing {
namespace {

// Text and Graphics, Step-by-step and Macro Recorder bodies are never written.
bool isWritten(const std::string& type) {
    return type != "T" && type != "X" && type != "R";
}

} // namespace

std::optional<std::string> bodyToWrite(Road& road, const std::string& type,
                                       const std::string& body) {
    Session& s = road.session();
    // A LIST of blanks and empty lines would be written without items.
    if (body.empty() || (type == "L" && dat::TrimTrailing(body).empty())) {
        s.ui.warning(kEmptyContent, s.file.path);
        return std::nullopt;
    }
    std::string text = type == "P" || type == "K" ? body : dat::normaliseLineBreaks(body);
    if (isWritten(type) && !checkFileText(s, text)) {
        return std::nullopt;
    }
    dragon::VoiceCommands* voice = road.dragon().controls.voice;
    if (type == "S" && voice) {
        if (int line = voice->scriptCheck(text); line != 0) {
            s.ui.warning("Error in your script at line: " + std::to_string(line), s.file.path);
            return std::nullopt;
        }
    }
    return text;
}

} // namespace plv::editing
