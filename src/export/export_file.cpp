#include "export/export_file.h"

#include "datfile/format.h"
#include "export/writers.h"
#include "platform/codepage.h"
#include "platform/files.h"

#include <array>
#include <sstream>

namespace plv::exports {
namespace {

constexpr std::array<std::pair<Format, const char*>, 5> kCodes = {{
    {Format::Report, "txt"},
    {Format::Csv, "csv"},
    {Format::Dvc, "dvc"},
    {Format::Pseudo, "pseudo"},
    {Format::Xml, "xml"},
}};

// A text never takes the place of a command file (the one it was made from, Dragon's own):
// every command in it would be lost.
bool refusesCommandFile(UserInteraction& ui, const std::string& path) {
    auto bytes = files::readAll(path);
    if (!bytes || !dat::beginsAsCommandFile(*bytes)) {
        return false;
    }
    ui.warning(kCommandFileTarget, path);
    return true;
}

} // namespace

std::string formatCode(Format format) {
    for (const auto& [f, code] : kCodes) {
        if (f == format) {
            return code;
        }
    }
    return {};
}

std::optional<Format> formatFromCode(const std::string& code) {
    for (const auto& [f, c] : kCodes) {
        if (code == c && f != Format::Xml) {
            return f;
        }
    }
    return std::nullopt;
}

std::optional<std::string> exportText(Format format, const std::vector<UserRow>& rows) {
    std::ostringstream out;
    switch (format) {
    case Format::Report:
        writeReport(rows, out);
        break;
    case Format::Csv:
        writeCsv(rows, out);
        break;
    case Format::Pseudo:
        writePseudoDvc(rows, out);
        break;
    case Format::Dvc:
        if (!writeDvcListing(rows, out)) {
            return std::nullopt;
        }
        break;
    case Format::Xml:
        return std::nullopt;
    }
    return out.str();
}

std::optional<std::string> exportMarked(Catalogue& catalogue, Format format) {
    auto text = exportText(format, catalogue.flaggedRows());
    catalogue.setFlagAll(false);
    return text;
}

bool toExportBytes(UserInteraction& ui, const std::string& text, const std::string& path,
                   std::string& bytes) {
    Cp1252Text encoded = encodeCp1252(text);
    if (!encoded.ok()) {
        ui.warning(refusedCharacterMessage(encoded.refused, "this file"), path);
        return false;
    }
    bytes = std::move(encoded.bytes);
    return true;
}

bool writeExportFile(UserInteraction& ui, const std::string& path, const std::string& text) {
    std::string bytes;
    return toExportBytes(ui, text, path, bytes) && writeExportBytes(ui, path, bytes);
}

bool writeExportBytes(UserInteraction& ui, const std::string& path, const std::string& bytes) {
    if (refusesCommandFile(ui, path)) {
        return false;
    }
    files::WriteResult written = files::replaceFile(path, bytes);
    if (!written) {
        ui.warning(written.readOnly() ? files::readOnlyMessage(path)
                                      : "The file could not be written",
                   path);
    }
    return static_cast<bool>(written);
}

bool mayReplace(UserInteraction& ui, const std::string& path) {
    if (refusesCommandFile(ui, path)) {
        return false;
    }
    if (files::isReadOnly(path)) {
        ui.warning(files::readOnlyMessage(path), path);
        return false;
    }
    return !files::exists(path) || ui.okCancel(kFileExists, path);
}

} // namespace plv::exports
