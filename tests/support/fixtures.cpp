#include "support/fixtures.h"

#include "platform/files.h"

#include <ctime>
#include <filesystem>
#include <gtest/gtest.h>
#include <stdexcept>

namespace plv::test {

TempDir::TempDir() : path_(files::makeTempFolder("parlavista-test-")) {
    if (path_.empty()) {
        throw std::runtime_error("cannot create a temporary folder");
    }
}

TempDir::~TempDir() {
    std::error_code ec;
    std::filesystem::remove_all(path_, ec);
}

std::string TempDir::file(const std::string& name) const {
    return files::join(path_, name);
}

std::string platformPath(const std::string& slashed) {
    return files::utf8(files::fsPath(slashed).make_preferred());
}

std::string TempDir::write(const std::string& name, const std::string& bytes) const {
    std::string p = file(name);
    files::makeDirectories(files::parentFolder(p));
    if (!files::writeAll(p, bytes)) {
        throw std::runtime_error("cannot write " + p);
    }
    return p;
}

Harness::Harness(const std::string& database) {
    files::copyFile(files::join(PARLAVISTA_SEED_SOURCE_DIR, "keynames"), home.file("keynames"));
    trace.open(home.path());
    catalogue = std::make_unique<Catalogue>(database);
    session = std::make_unique<Session>(*catalogue, ui, trace, home.path());
}

dat::ParseStatus Harness::parseBytes(const std::string& bytes, const std::string& name) {
    return dat::parse(*session, true, home.write(name, bytes));
}

std::string Harness::readHomeFile(const std::string& name) const {
    return files::readAll(home.file(name)).value_or(std::string());
}

std::vector<UserRow> parsedRows(const std::string& bytes, const std::string& name) {
    Harness h;
    EXPECT_EQ(h.parseBytes(bytes, name), dat::ParseStatus::Parsed);
    return h.rows();
}

std::string samplePath(const std::string& name) {
    return files::join(PARLAVISTA_SAMPLES_DIR, name);
}

std::string readSample(const std::string& name) {
    auto data = files::readAll(samplePath(name));
    if (!data) {
        throw std::runtime_error("missing sample " + name);
    }
    return *data;
}

std::string todayMMDDYYYY() {
    std::string local = files::formatLocalTime(files::now()); // MM/DD/YYYY HH:MM:SS
    return local.substr(0, 2) + local.substr(3, 2) + local.substr(6, 4);
}

UserRow addListCopy(Catalogue& catalogue, UserRow list, const std::string& program) {
    list.menu = program;
    list.state = kApplicationSpecific;
    list.globalsort = "N";
    list.listcopy = true;
    catalogue.appendRow(list);
    return list;
}

} // namespace plv::test
