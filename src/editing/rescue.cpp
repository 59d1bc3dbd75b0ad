#include "editing/rescue.h"

#include "platform/files.h"

namespace plv::editing {
namespace {

// Whether the copy may be written where `copy` names: false after a message.
bool mayWrite(UserInteraction& ui, const std::string& damaged, const std::string& copy,
              ExistingCopy existing) {
    if (files::samePath(damaged, copy) || files::sameFile(damaged, copy)) {
        ui.warning("The rescued copy cannot take the place of the damaged file", copy);
        return false;
    }
    if (!files::exists(copy) || existing == ExistingCopy::Replace) {
        return true;
    }
    if (existing == ExistingCopy::Ask) {
        return ui.yesNo("A file of this name exists already. Replace it?", copy);
    }
    ui.warning("A file of this name exists already", copy);
    return false;
}

} // namespace

std::string rescuedCopyPath(const std::string& damaged) {
    return files::join(files::parentFolder(damaged),
                       files::baseNameWithoutExtension(damaged) + ".rescued.dat");
}

std::optional<dat::Salvage> rescueFile(UserInteraction& ui, const std::string& damaged,
                                       const std::string& copy, ExistingCopy existing) {
    auto image = files::readAll(damaged);
    if (!image) {
        ui.warning("File does not exist", damaged);
        return std::nullopt;
    }
    if (!mayWrite(ui, damaged, copy, existing)) {
        return std::nullopt;
    }
    auto rescued = dat::salvage(*image);
    if (!rescued) {
        ui.warning("Nothing can be rescued: the file is not a command file of a known version",
                   damaged);
        return std::nullopt;
    }
    auto written = files::replaceFile(copy, rescued->image, {.rightsOf = damaged});
    if (!written) {
        ui.warning(written.readOnly() ? files::readOnlyMessage(copy)
                                      : "The rescued copy could not be written",
                   copy);
        return std::nullopt;
    }
    return rescued;
}

std::optional<std::string> rescueBeside(UserInteraction& ui, const std::string& damaged) {
    std::string copy = rescuedCopyPath(damaged);
    auto rescued = rescueFile(ui, damaged, copy, ExistingCopy::Ask);
    if (!rescued) {
        return std::nullopt;
    }
    ui.message("The rescued copy is " + copy + "\n" + dat::salvageText(*rescued), kRescueTitle);
    return copy;
}

} // namespace plv::editing
