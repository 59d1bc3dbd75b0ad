#pragma once

#include "datfile/record.h"
#include "datfile/session.h"

#include <functional>
#include <string>

namespace plv::dat {

enum class ParseStatus {
    Parsed,      // the catalogue was rebuilt from the file
    Unchanged,   // the file's time equals the stored one: nothing was read
    Failed,      // a record could not be read; error.log written, parse-ok cleared
    ProgramEnds, // the file or keynames is missing; the message has been shown
};

// Reads the command file into the catalogue (an empty name means the current Dragon
// user's file). Skips the work when the file is unchanged since the last full parse,
// unless `force` is set.
ParseStatus parse(Session& session, bool force, const std::string& fileName);

// The same on a file image already in memory; `path` names it in the catalogue and logs.
ParseStatus parseImage(Session& session, bool force, const std::string& path, std::string image,
                       files::FileTime modified);

// Whether the catalogue was last built completely from this file as it is: the same path,
// modification time and size. A different file stamped with the same time is not it.
bool isLastParsed(const Catalogue& catalogue, const std::string& path, files::FileTime modified,
                  std::uint64_t size);
// The same for the file as it is on disk now.
bool isLastParsed(const Catalogue& catalogue, const std::string& path);

// The record layout the image's header names; nothing when the image is shorter than a
// header or names a version code no layout has.
std::optional<Layout> headerLayout(std::string_view image);
// Why headerLayout gives nothing, in the words error.log records.
std::string headerFailureReason(std::string_view image);

// Whether the image reads as a command file record by record to its last LIST, without a
// catalogue: the quick check of a new file before Dragon is given it.
bool readsToItsEnd(std::string_view image);
// The position after its last LIST when it reads so. Bytes may follow, which no read sees.
std::optional<std::int64_t> recordsEnd(std::string_view image);

// The id of a state (application name, state name), added when absent.
using StateIdLookup = std::function<std::int64_t(const std::string& app, const std::string& state)>;
// The catalogue row of a record as a parse makes it; the command's texts are moved into the
// row.
UserRow commandRow(const std::string& fileName, CommandRecord& record,
                   const StateIdLookup& stateId);
// The same without the state ids, which need the catalogue; stateIds gives them.
UserRow commandRowWithoutStates(const std::string& fileName, CommandRecord& record);
std::string stateIds(const StateIdLookup& stateId, const CommandRecord& record);
UserRow listRow(const std::string& fileName, const ListRecord& record);

// The counts label: commands, " /", LISTs.
std::string countsText(std::int64_t commands, std::int64_t lists);

} // namespace plv::dat
