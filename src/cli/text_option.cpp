#include "cli/text_option.h"

#include "platform/files.h"

#include <ostream>

namespace plv::cli {

std::string withCrLf(const std::string& text) {
    std::string out;
    out.reserve(text.size());
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '\n' && (i == 0 || text[i - 1] != '\r')) {
            out += '\r';
        }
        out += text[i];
    }
    return out;
}

bool textOption(const Args& args, Io& io, const std::string& command, const std::string& name,
                std::string& text) {
    auto inline_ = args.value(name);
    auto file = args.value(name + "-file");
    if (inline_.has_value() == file.has_value()) {
        io.err << "parlavista-cli " << command << ": give either --" << name << " or --" << name
               << "-file\n";
        return false;
    }
    if (file) {
        auto data = files::readAll(*file);
        if (!data) {
            io.err << "parlavista-cli " << command << ": cannot read " << *file << "\n";
            return false;
        }
        text = withCrLf(*data);
        return true;
    }
    text = withCrLf(*inline_);
    return true;
}

} // namespace plv::cli
