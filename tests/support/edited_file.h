#pragma once

#include "datfile/rewrite.h"
#include "platform/files.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <stdexcept>
#include <string>
#include <vector>

namespace plv::test {

// A command file parsed in a program folder, for tests that change it and look again.
struct EditedFile {
    Harness h;
    std::string path;

    void open(const std::string& image) {
        ASSERT_EQ(h.parseBytes(image), dat::ParseStatus::Parsed);
        path = h.session->file.path;
    }
    std::string file() const { return files::readAll(path).value_or(""); }
    UserRow row(const std::string& name) const {
        for (const auto& r : h.rows()) {
            if (r.name == name) {
                return r;
            }
        }
        throw std::runtime_error("no row " + name);
    }
    std::vector<std::string> names() const {
        std::vector<std::string> out;
        for (const auto& r : h.rows()) {
            out.push_back(r.name);
        }
        return out;
    }
    std::int64_t offsetLists() const {
        return h.catalogue->parameterNumber("OffsetLists").value_or(0);
    }
    void reparse() { ASSERT_EQ(dat::refreshAfterWrite(*h.session), dat::Outcome::Done); }
    // A refused change: the file and the backup untouched, the last message starts so.
    void expectUntouched(const std::string& image, const std::string& messageStart) const {
        EXPECT_EQ(file(), image);
        EXPECT_FALSE(files::exists(h.home.file("savedat")));
        ASSERT_FALSE(h.ui.shown().empty());
        EXPECT_EQ(h.ui.shown().back().text.rfind(messageStart, 0), 0u) << h.ui.shown().back().text;
    }
};

} // namespace plv::test
