#pragma once

#include "datfile/compare.h"
#include "editing/road.h"

#include <optional>
#include <string>

// What a Restore would change, shown before it is asked for.
namespace plv::editing {

struct RestorePreview {
    std::string question;    // "Restore mycmds.12052026? It brings back 3 commands, ..."
    dat::Comparison changes; // the file as it is, first, against the backup
};

// Nothing when the user's file or the backup is missing or does not read: Restore itself
// then says why.
std::optional<RestorePreview> previewRestore(Road& road, const std::string& entry);

// "Restore mycmds.12052026? It brings back 3 commands, removes 1, and changes 2:" (the
// commands only in the backup, only in the file, and in both but changed).
std::string restorePreviewQuestion(const std::string& entry, const dat::Comparison& changes);

} // namespace plv::editing
