#pragma once

#include "datfile/record.h"
#include "export/dragon_xml.h"

#include <optional>
#include <string>

// Command file records (Windows-1252 bytes) to Dragon's XML form and back. What one side
// cannot hold is refused with the reason, never dropped in silence.
namespace plv::xml {

// The reason an empty body or a LIST without items is refused, as every other write says it.
inline constexpr const char* kEmptyContent = "Empty content not allowed";

// The XML form of a command record; nothing, with `reason`, for a step-by-step body, an
// encrypted body, a recorder body with keystrokes or recorded windows and a body of unknown
// type. A KEYS command goes as the legacy script that sends its keys, and a record with the
// skip bit as a command that is not enabled.
std::optional<Command> commandOf(const dat::CommandRecord& record, std::string& reason);
List listOf(const dat::ListRecord& record);

// The 10/11 command record of an XML command, or LIST record of an XML LIST; nothing, with
// `reason`, for a name Dragon refuses, a content type it does not know, an empty body or LIST
// and text Windows-1252 cannot hold.
std::optional<dat::CommandRecord> recordOf(const Command& command, std::string& reason);
std::optional<dat::ListRecord> listRecordOf(const List& list, std::string& reason);

} // namespace plv::xml
