#pragma once

#include "dragon/user_files.h"
#include "platform/files.h"

#include <string>

namespace plv::test {

// Dragon's side for tests: `path` is the current user's command file.
class CurrentUserFile : public dragon::UserFiles {
  public:
    explicit CurrentUserFile(std::string path) : path_(std::move(path)) {}
    std::string currentUserCommandFile() override { return path_; }
    std::string directoryPrefix() override { return files::parentFolder(path_); }
    std::optional<std::string> userOfCommandFile(const std::string& path) override {
        if (files::samePathNoCase(path, path_)) {
            return "Ann";
        }
        return std::nullopt;
    }

  private:
    std::string path_;
};

} // namespace plv::test
