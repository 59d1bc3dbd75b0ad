#include "cli/selection_options.h"

#include "cli/workspace.h"
#include "export/export_report.h"

#include <ostream>

namespace plv::cli {

std::optional<Selection> selectionFromArgs(const Args& args, Io& io, const std::string& command) {
    Selection s;
    auto program = args.value("program");
    auto scope = args.value("scope");
    auto names = args.all("name");
    if ((scope || !names.empty()) && !program) {
        io.err << "parlavista-cli " << command << ": --scope and --name need --program\n";
        return std::nullopt;
    }
    if (!names.empty() && !scope) {
        io.err << "parlavista-cli " << command << ": --name needs --scope\n";
        return std::nullopt;
    }
    if (auto types = args.value("types")) {
        s.types = typeLetters(*types);
        if (s.types.empty()) {
            io.err << "parlavista-cli " << command << ": --types takes letters of "
                   << kAllTypeLetters << "\n";
            return std::nullopt;
        }
    }
    s.program = program.value_or("");
    s.scope = scope.value_or("");
    s.group = args.value("group").value_or(kAllGroupsName);
    s.picked = names;
    if (!names.empty()) {
        s.choice = ScopeChoice::Picked;
    } else if (scope) {
        s.choice = ScopeChoice::Scope;
    } else if (program) {
        s.choice = ScopeChoice::Program;
    } else if (args.value("group")) {
        s.choice = ScopeChoice::Group;
    }
    return s;
}

std::int64_t markFromArgs(Catalogue& catalogue, const Selection& selection) {
    std::int64_t marked = markSelection(catalogue, selection);
    if (selection.choice == ScopeChoice::Group || selection.choice == ScopeChoice::Everything ||
        selection.group == kAllGroupsName) {
        return marked;
    }
    catalogue.prepare(R"(UPDATE "user" SET "flag" = 0 WHERE "flag" <> 0 AND "owner" <> ?)")
        .bind(1, selection.group)
        .run();
    auto count = catalogue.prepare(R"(SELECT COUNT(*) FROM "user" WHERE "flag" <> 0)");
    count.step();
    return count.integer(0);
}

int markChosen(Workspace& w, const std::string& file, const Selection& selection) {
    if (int status = w.openCommandFile(file); status != kOk) {
        return status;
    }
    if (markFromArgs(w.catalogue(), selection) == 0) {
        w.ui().message(exports::kNoMacrosOfType, exports::kNoMacrosOfTypeTitle);
        return kFailed;
    }
    return kOk;
}

std::unique_ptr<Workspace> chosenCommands(const Args& args, Io& io, const std::string& command,
                                          int& status) {
    auto selection = selectionFromArgs(args, io, command);
    if (!selection) {
        status = kUsage;
        return nullptr;
    }
    selection->commandsOnly = true;
    auto w = Workspace::open(args, io, ":memory:");
    if (!w) {
        status = kFailed;
        return nullptr;
    }
    status = markChosen(*w, args.positional[0], *selection);
    return status == kOk ? std::move(w) : nullptr;
}

bool targetOptionsFit(const Args& args, Io& io, const std::string& command) {
    if ((args.flag("append") && args.flag("overwrite")) ||
        (args.flag("yes-to-all") && args.flag("no-to-all"))) {
        io.err << "parlavista-cli " << command
               << ": --append and --overwrite, and --yes-to-all and --no-to-all, exclude each "
                  "other\n";
        return false;
    }
    return true;
}

dat::DuplicateAnswers duplicateAnswers(const Args& args) {
    return args.flag("yes-to-all")  ? dat::DuplicateAnswers::YesToAll
           : args.flag("no-to-all") ? dat::DuplicateAnswers::NoToAll
                                    : dat::DuplicateAnswers::Ask;
}

} // namespace plv::cli
