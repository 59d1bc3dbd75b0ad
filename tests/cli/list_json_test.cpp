// `list --json` on files exported by Dragon 11, held up against a reading of the bytes that
// shares no code with the program, and against the catalogue's own column names.
#include "catalogue/catalogue.h"
#include "platform/files.h"
#include "support/fixtures.h"
#include "support/hand_reader.h"
#include "support/tool_run.h"

#include <cctype>
#include <gtest/gtest.h>
#include <map>
#include <nlohmann/json.hpp>
#include <set>
#include <stdexcept>
#include <variant>

using namespace plv;

namespace {

using Value = std::variant<std::string, double, bool>;

Value valueOf(const nlohmann::ordered_json& j) {
    if (j.is_boolean()) {
        return j.get<bool>();
    }
    if (j.is_number()) {
        return j.get<double>();
    }
    if (j.is_string()) {
        return j.get<std::string>();
    }
    throw std::runtime_error("a JSON value of an unexpected kind: " + j.dump());
}

// --- the rows that the bytes call for ---------------------------------------------------

// The samples hold ASCII text only, where Windows-1252 and UTF-8 agree.
std::string ascii(const std::string& bytes) {
    for (char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            throw std::runtime_error("non-ASCII text in a sample: extend this reading");
        }
    }
    return bytes;
}

std::string upper(std::string s) {
    for (char& c : s) {
        c = static_cast<char>(std::toupper(static_cast<unsigned char>(c)));
    }
    return s;
}

std::vector<std::string> keyNames() {
    std::string text =
        files::readAll(files::join(PARLAVISTA_SEED_SOURCE_DIR, "keynames")).value_or("");
    std::vector<std::string> names = {""};
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t end = text.find('\n', start);
        std::string line = text.substr(start, end - start);
        while (!line.empty() && (line.back() == '\r' || line.back() == ' ')) {
            line.pop_back();
        }
        names.push_back(line.empty() ? "Unknown" : line);
        if (end == std::string::npos) {
            break;
        }
        start = end + 1;
    }
    return names;
}

// Key presses, the only steps the samples hold.
std::string stepsText(const test::hand::Command& c) {
    static const std::vector<std::string> keys = keyNames();
    std::string text;
    for (const auto& step : c.steps) {
        std::string line = "Press ";
        const char* mods[] = {"Shift + ", "Ctrl + ", "Alt + "};
        for (int bit = 0; bit < 3; ++bit) {
            if (step.numbers[1] & (1u << bit)) {
                line += mods[bit];
            }
        }
        text += (text.empty() ? "" : "\r\n") + line + keys.at(step.numbers[0]);
    }
    return text;
}

using Expected = std::map<std::string, Value>;

Expected commandRow(const test::hand::Command& c) {
    const std::string global = "Global Commands";
    int kind = c.scope & 0x7F;
    Expected e;
    e["name"] = ascii(c.name);
    e["menu"] = kind == 0 ? global : upper(ascii(c.scopeStrings.at(0)));
    e["state"] = kind == 0 ? global : kind == 1 ? "Application-specific" : c.scopeStrings.at(3);
    e["scope"] = std::string(kind == 0 ? "G" : kind == 1 ? "A" : "W");
    e["owner"] = c.group.empty() ? std::string("User-defined") : ascii(c.group);
    e["description"] = ascii(c.description);
    e["lists"] = static_cast<double>(c.refs.size());
    e["offset"] = static_cast<double>(c.offset);
    e["offsetbody"] = static_cast<double>(c.bodyOffset);
    e["encrypted"] = c.protection != 0;
    e["PDescript"] = kind == 0 ? 0.0 : static_cast<double>(c.scopeStrings.at(1).size());
    e["CompanyName"] = kind == 0 ? 0.0 : static_cast<double>(c.scopeStrings.at(2).size());
    e["ClassName"] = kind == 2 ? static_cast<double>(c.scopeStrings.at(4).size()) : 0.0;
    e["listsort"] = std::string("C");
    // The samples hold Advanced Scripting and Step by Step bodies.
    if (c.type == 3) {
        e["Type"] = std::string("X");
        e["script"] = stepsText(c);
    } else if (c.type == 4) {
        e["Type"] = std::string("A");
        e["script"] = ascii(c.bodyStrings.at(0));
    } else {
        throw std::runtime_error("a body type this reading does not render");
    }
    return e;
}

Expected listRow(const test::hand::List& l) {
    Expected e;
    e["name"] = ascii(l.name);
    e["menu"] = std::string("Global Commands");
    e["state"] = std::string("Global Commands");
    e["scope"] = std::string("G");
    e["owner"] = std::string("Dragon");
    e["Type"] = std::string("L");
    std::string script;
    for (const auto& item : l.items) {
        script += ascii(item) + "\r\n";
    }
    e["script"] = script;
    e["lists"] = 1.0;
    e["offset"] = static_cast<double>(l.offset);
    e["offsetbody"] = 0.0;
    e["description"] = std::string();
    e["listsort"] = std::string("L");
    e["Global"] = true;
    return e;
}

struct Column {
    std::string name;
    std::string type;
};

std::vector<Column> userColumns() {
    Catalogue c(":memory:");
    auto s = c.prepare(R"(PRAGMA table_info("user"))");
    std::vector<Column> out;
    while (s.step()) {
        out.push_back({s.text(1), s.text(2)});
    }
    return out;
}

const std::set<std::string> kYesNo = {"Global", "noglobals", "sleeping", "singleline",
                                      "dupe",   "encrypted", "flag",     "listcopy"};

} // namespace

TEST(ListJson, DragonFilesGiveTheRowsTheirBytesCallFor) {
    const auto columns = userColumns();
    ASSERT_EQ(columns.size(), 29u);
    for (const char* sample : {"reply.dat", "clear_flag.dat", "move-dock_window.dat"}) {
        SCOPED_TRACE(sample);
        test::TempDir home;
        auto run = test::tool({"list", test::samplePath(sample), "--json", "--home", home.path()});
        ASSERT_EQ(run.status, 0) << run.err;
        auto rows = nlohmann::ordered_json::parse(run.out); // keeps the keys in their order
        ASSERT_TRUE(rows.is_array());

        test::hand::DatFile f = test::hand::readDat(test::readSample(sample));
        std::vector<Expected> expected;
        for (const auto& c : f.commands) {
            if ((c.scope & 0x80) == 0) {
                expected.push_back(commandRow(c));
            }
        }
        for (const auto& l : f.lists) {
            expected.push_back(listRow(l));
        }
        ASSERT_EQ(rows.size(), expected.size());

        double lastId = 0;
        for (std::size_t i = 0; i < rows.size(); ++i) {
            const auto& row = rows[i];
            // Exactly the catalogue's columns, in its order, each with the JSON type of its
            // database type.
            ASSERT_EQ(row.size(), columns.size());
            std::map<std::string, Value> byKey;
            std::size_t k = 0;
            for (auto it = row.begin(); it != row.end(); ++it, ++k) {
                const std::string& key = it.key();
                Value value = valueOf(it.value());
                EXPECT_EQ(key, columns[k].name);
                if (kYesNo.count(key)) {
                    EXPECT_TRUE(std::holds_alternative<bool>(value)) << key;
                } else if (columns[k].type == "INTEGER") {
                    EXPECT_TRUE(std::holds_alternative<double>(value)) << key;
                } else {
                    EXPECT_TRUE(std::holds_alternative<std::string>(value)) << key;
                }
                byKey[key] = value;
            }
            for (const auto& [key, value] : expected[i]) {
                EXPECT_EQ(byKey[key], value) << "row " << i << " column " << key;
            }
            EXPECT_EQ(byKey["filename"], Value(std::string(sample)));
            EXPECT_GT(std::get<double>(byKey["ID"]), lastId) << "insertion order";
            lastId = std::get<double>(byKey["ID"]);
        }

        auto info = test::tool({"info", test::samplePath(sample), "--home", home.path()});
        EXPECT_TRUE(test::has(info.out, "OffsetLists: " + std::to_string(f.listsOffset) + "\n"));
        EXPECT_TRUE(test::has(info.out, "commands: " + std::to_string(f.count) + "\n"));
    }
}
