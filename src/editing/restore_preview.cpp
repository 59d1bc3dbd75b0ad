#include "editing/restore_preview.h"

#include "editing/backup.h"
#include "editing/restore.h"
#include "platform/files.h"

namespace plv::editing {
namespace {

std::optional<dat::FileContents> contentsOf(const std::string& path, const dat::KeyNames& keys) {
    auto image = files::readAll(path);
    if (!image) {
        return std::nullopt;
    }
    dat::ParseFailureReport failure;
    return dat::readContents(*image, keys, failure);
}

std::size_t countOf(const dat::Comparison& c, dat::EntryChange::Kind kind) {
    std::size_t n = 0;
    for (const auto& e : c.commands) {
        n += e.kind == kind ? 1 : 0;
    }
    return n;
}

} // namespace

std::string restorePreviewQuestion(const std::string& entry, const dat::Comparison& c) {
    using Kind = dat::EntryChange::Kind;
    std::size_t back = countOf(c, Kind::Added);
    std::string question = "Restore " + entry + "? It brings back " + std::to_string(back) +
                           (back == 1 ? " command" : " commands") + ", removes " +
                           std::to_string(countOf(c, Kind::Removed)) + ", and changes " +
                           std::to_string(countOf(c, Kind::Changed));
    return question + (c.same() ? "." : ":");
}

std::optional<RestorePreview> previewRestore(Road& road, const std::string& entry) {
    Session& s = road.session();
    std::string user = restoreUser(road);
    std::string target = standardFile(road, user);
    auto keys = dat::KeyNames::load(s.programFile("keynames"));
    if (target.empty() || !keys) {
        return std::nullopt;
    }
    auto now = contentsOf(target, *keys);
    auto backup = contentsOf(files::join(backupFolder(s.programFolder, user), entry), *keys);
    if (!now || !backup) {
        return std::nullopt;
    }
    RestorePreview preview;
    preview.changes = dat::compareContents(*now, *backup);
    preview.question = restorePreviewQuestion(entry, preview.changes);
    return preview;
}

} // namespace plv::editing
