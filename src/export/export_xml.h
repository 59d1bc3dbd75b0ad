#pragma once

#include "datfile/session.h"

#include <cstddef>
#include <string>
#include <vector>

// Export to Dragon XML: the marked commands of the open file, with every LIST they use, as
// the XML file that Dragon's Command Browser imports. What the XML cannot carry is listed in
// one message and left out; the open file is never changed.
namespace plv::exports {

inline constexpr const char* kXmlLeftOutTitle = "Export to Dragon XML";
inline constexpr const char* kNothingForXml =
    "None of the chosen commands has a Dragon XML form; nothing was written";

struct XmlExportResult {
    bool done = false;
    std::size_t exported = 0;
    std::size_t lists = 0;
    std::vector<std::string> leftOut;   // "name: why"
    std::vector<std::string> asScripts; // KEYS commands, written as SendKeys scripts
};

// The rows marked with `flag` (LIST rows are not exported themselves); with every command
// of the file marked, the records with the skip bit go too, as commands not enabled.
// Every mark is cleared afterwards.
XmlExportResult exportMarkedXml(Session& session, const std::string& target);

} // namespace plv::exports
