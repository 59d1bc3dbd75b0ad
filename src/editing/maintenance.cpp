#include "editing/maintenance.h"

#include "platform/files.h"

namespace plv::editing {

bool needsCompaction(std::uint64_t size, bool force) {
    return force || size > kCompactThreshold;
}

bool compactDatabase(const std::string& path, Trace& trace, bool force,
                     const std::function<void()>& close, const std::function<void()>& reopen) {
    auto size = files::size(path);
    if (!size || !needsCompaction(*size, force)) {
        return false;
    }
    std::string compacted = path + ".compact";
    files::remove(compacted);
    close();
    trace.line("b4 compact db");
    bool ok = true;
    try {
        Catalogue database(path);
        database.prepare("VACUUM INTO ?").bind(1, compacted).run();
    } catch (const CatalogueError&) {
        ok = false;
    }
    trace.line("after compact");
    // A rename replaces the file in one step: a crash leaves the old database or the new.
    ok = ok && files::renameOver(compacted, path);
    if (!ok) {
        files::remove(compacted);
    }
    reopen();
    return ok;
}

bool compactCatalogue(std::optional<Catalogue>& catalogue, Trace& trace, bool force) {
    if (!catalogue) {
        return false;
    }
    std::string path = catalogue->path();
    return compactDatabase(
        path, trace, force, [&] { catalogue.reset(); }, [&] { catalogue.emplace(path); });
}

dat::Outcome fileReset(Session& session) {
    if (!session.ui.confirm(kFileResetQuestion, "Re-specify DNS path")) {
        return dat::Outcome::Refused;
    }
    Catalogue& c = session.catalogue;
    c.begin();
    try {
        c.prepare(R"(DELETE FROM "user")").run();
        c.prepare(R"(DELETE FROM "dvcmap")").run();
        c.prepare(R"(DELETE FROM "states")").run();
        c.setParameter("UserName", std::string(" "));
        c.setParameter("UserSub", std::string(" "));
        c.setParameter("language", std::string(" "));
        c.setParameter("lastmode", std::string("app"));
        c.setParameter("parsed", std::int64_t{0});
        c.setParameter("dvcmaptime", std::nullopt);
        c.setParameter("mycmdstime", std::nullopt);
        c.commit();
    } catch (...) {
        c.rollback();
        throw;
    }
    session.ui.message("You must restart Parlavista for changes to apply", "Parlavista");
    return dat::Outcome::ProgramEnds;
}

} // namespace plv::editing
