#include "cli/text_option.h"

#include "platform/codepage.h"
#include "platform/files.h"

#include <ostream>

namespace plv::cli {

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
