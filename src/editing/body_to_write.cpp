#include "editing/body_to_write.h"

namespace plv::editing {

std::optional<std::string> bodyToWrite(Road& road, const std::string& type,
                                       const std::string& body) {
    std::string text = type == "P" || type == "K" ? body : dat::normaliseLineBreaks(body);
    dragon::VoiceCommands* voice = road.dragon().controls.voice;
    if (type == "S" && voice) {
        if (int line = voice->scriptCheck(text); line != 0) {
            Session& s = road.session();
            s.ui.message("Error in your script at line: " + std::to_string(line), s.file.path);
            return std::nullopt;
        }
    }
    return text;
}

} // namespace plv::editing
