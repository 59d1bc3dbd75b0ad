#pragma once

#include "platform/files.h"

#include <fstream>
#include <string>

namespace plv {

// The step trace "trace.plv" in the program folder: appended to when it was last written
// today, started anew otherwise. Each line is a label and up to two values, separated by
// blanks. Writes never fail loudly: a trace that cannot be written is simply not written.
class Trace {
  public:
    Trace() = default;
    // Opens FOLDER/trace.plv; `today` decides whether an existing file is continued.
    void open(const std::string& folder, files::FileTime today = files::now());
    void close();
    bool isOpen() const { return out_.is_open(); }
    void line(const std::string& label, const std::string& value1 = {},
              const std::string& value2 = {});
    const std::string& path() const { return path_; }
    // The whole trace as written so far.
    std::string text() const;

  private:
    std::string path_;
    std::ofstream out_;
};

} // namespace plv
