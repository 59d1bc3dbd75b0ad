// The one rule of every write to an existing file, shown on every writer of the terminal tool:
// a file only its owner may read stays so, a read-only file is refused and left as it was, a
// linked file is written through, and a name that differs only in letter case names another
// file. (Print to PDF keeps the same rule in the window's export dialog test.)
#include "dragon/root_fixture.h"
#include "platform/files.h"
#include "support/file_rights.h"
#include "support/tool_run.h"

#include <cctype>
#include <filesystem>
#include <functional>
#include <gtest/gtest.h>
#include <optional>

using namespace plv;

namespace {

namespace fs = std::filesystem;

const std::string kGlobal = "Global Commands";

// Plain files to export from and to, and a demo Dragon root for the writers that need one.
struct Bench {
    test::DemoDragon& dragon() {
        if (!demo) {
            demo.emplace();
        }
        return *demo;
    }
    test::ToolRun run(std::vector<std::string> words) {
        auto options = dragon().rootOptions();
        words.insert(words.end(), options.begin(), options.end());
        return test::tool(words);
    }
    test::ToolRun exportRun(std::vector<std::string> words) const {
        words.insert(words.end(), {"--home", dir.file("home")});
        return test::tool(words);
    }
    std::string programFile(const std::string& name) {
        return files::join(files::join(dragon().home, dragon::kDemoUser), name);
    }
    static std::string bytes(const std::string& path) {
        return files::readAll(path).value_or("(none)");
    }

    test::TempDir dir;
    std::optional<test::DemoDragon> demo;
    std::string source = dir.write("tricky.dat", test::readSample("move-dock_window.dat"));
};

std::string existing(const std::string& path, const std::string& content = "old content") {
    files::makeDirectories(files::parentFolder(path));
    files::writeAll(path, content);
    return path;
}

// A command that replaces files, and the files it replaces, made to exist with content it
// does not write.
struct Writer {
    std::string name;
    std::function<std::vector<std::string>(Bench&)> prepare;
    std::function<test::ToolRun(Bench&)> write;
    std::string goesOnWithout = {}; // a file whose refusal does not fail the command
};

std::vector<Writer> writers() {
    std::vector<Writer> all = {
        // Dragon's local.ini is marked on the way: the fast save goes on without it.
        {"set-body --current-user",
         [](Bench& b) {
             return std::vector<std::string>{
                 b.dragon().commandFile(), existing(files::join(b.dragon().current(), "local.ini"),
                                                    "[Options]\r\nMyCommands Changed=0\r\n")};
         },
         [](Bench& b) {
             return b.run({"set-body", "--current-user", "--program", kGlobal, "--scope", kGlobal,
                           "--name", "copy that", "--body", "{Ctrl+Shift+c}"});
         },
         "local.ini"},
        {"backup",
         [](Bench& b) {
             return std::vector<std::string>{
                 existing(b.programFile("mycmds." + test::todayMMDDYYYY()))};
         },
         [](Bench& b) { return b.run({"backup"}); }},
        // Today's backup, the demo file, comes back over a command file that holds another.
        {"restore",
         [](Bench& b) {
             existing(b.programFile("mycmds." + test::todayMMDDYYYY()),
                      Bench::bytes(b.dragon().commandFile()));
             files::writeAll(b.dragon().commandFile(), test::readSample("reply.dat"));
             return std::vector<std::string>{b.dragon().commandFile(),
                                             existing(b.programFile("mycmds.prerollback"))};
         },
         [](Bench& b) {
             return b.run({"restore", "--date", test::todayMMDDYYYY()});
         }},
        {"export-dat",
         [](Bench& b) { return std::vector<std::string>{existing(b.dir.file("shared.dat"))}; },
         [](Bench& b) {
             return b.exportRun({"export-dat", b.source, b.dir.file("shared.dat"), "--overwrite"});
         }},
        // The header's language byte is written in place.
        {"convert-language",
         [](Bench& b) {
             return std::vector<std::string>{
                 existing(b.dir.file("export.dat"), test::readSample("move-dock_window.dat"))};
         },
         [](Bench& b) {
             return b.exportRun({"convert-language", b.dir.file("export.dat"), "--to", "German"});
         }},
    };
    for (std::string format : {"txt", "csv", "pseudo", "dvc"}) {
        std::string name = "out." + format;
        all.push_back(
            {"export " + format,
             [name](Bench& b) { return std::vector<std::string>{existing(b.dir.file(name))}; },
             [name, format](Bench& b) {
                 return b.exportRun(
                     {"export", b.source, "--format", format, "-o", b.dir.file(name)});
             }});
    }
    return all;
}

std::string otherCase(const std::string& path) {
    std::string name = files::fileName(path);
    for (char& c : name) {
        auto u = static_cast<unsigned char>(c);
        c = static_cast<char>(std::isupper(u) ? std::tolower(u) : std::toupper(u));
    }
    return files::join(files::parentFolder(path), name);
}

// Every target prepared, changed by `arrange` (which returns where its content now lives),
// and written; what was there before, by target.
struct Written {
    std::vector<std::string> targets;
    std::vector<std::string> before;
    std::vector<std::string> where;
    test::ToolRun run;
};
Written writeWith(const Writer& w, Bench& b,
                  const std::function<std::string(const std::string&)>& arrange) {
    Written out;
    out.targets = w.prepare(b);
    for (const auto& target : out.targets) {
        out.before.push_back(Bench::bytes(target));
        out.where.push_back(arrange(target));
    }
    out.run = w.write(b);
    return out;
}

} // namespace

TEST(WriteRule, EveryWriterKeepsRightsRefusesReadOnlyFilesFollowsLinksAndMindsCase) {
    for (const Writer& w : writers()) {
        SCOPED_TRACE(w.name);
        std::size_t count = 0;
        {
            Bench b;
            Written x = writeWith(w, b, [](const std::string& target) {
                test::giveRights(target, test::Rights::Private);
                return target;
            });
            EXPECT_EQ(x.run.status, 0) << x.run.err;
            count = x.targets.size();
            for (std::size_t i = 0; i < count; ++i) {
                EXPECT_NE(Bench::bytes(x.targets[i]), x.before[i]) << x.targets[i];
                EXPECT_TRUE(test::hasRights(x.targets[i], test::Rights::Private)) << x.targets[i];
            }
            if (w.name == "set-body --current-user") {
                // The copy of the previous file is as private as the file.
                EXPECT_EQ(fs::status(files::join(b.dragon().home, "savedat")).permissions(),
                          fs::status(x.targets[0]).permissions());
            }
        }
        // One target read-only at a time: each is refused on its own.
        for (std::size_t refused = 0; refused < count; ++refused) {
            Bench b;
            std::size_t i = 0;
            Written x = writeWith(w, b, [&](const std::string& target) {
                if (i++ == refused) {
                    test::giveRights(target, test::Rights::ReadOnly);
                }
                return target;
            });
            const std::string& target = x.targets[refused];
            bool goesOn = files::fileName(target) == w.goesOnWithout;
            EXPECT_EQ(x.run.status == 0, goesOn) << x.run.err;
            EXPECT_TRUE(test::has(x.run.err, target)) << x.run.err;
            EXPECT_EQ(Bench::bytes(target), x.before[refused]) << target;
            if (refused == 0 && w.name == "set-body --current-user") {
                // Refused before the day's copy of a file that does not change is taken.
                EXPECT_FALSE(files::exists(b.programFile("mycmds." + test::todayMMDDYYYY())));
            }
        }
        // Links only where this user may make them (see symbolicLinksPossible).
        if (test::symbolicLinksPossible()) {
            Bench b;
            Written x = writeWith(w, b, [&](const std::string& target) {
                std::string real = b.dir.file("synced/" + files::fileName(target));
                files::makeDirectories(files::parentFolder(real));
                fs::rename(target, real);
                fs::create_symlink(real, target);
                return real;
            });
            EXPECT_EQ(x.run.status, 0) << x.run.err;
            for (std::size_t i = 0; i < x.targets.size(); ++i) {
                EXPECT_TRUE(fs::is_symlink(x.targets[i])) << x.targets[i];
                EXPECT_NE(Bench::bytes(x.where[i]), x.before[i]) << x.targets[i];
            }
        }
        // A file whose name differs only in letter case is another file where the file
        // system says so (not on Windows: there it is the target itself).
        if (!test::namesIgnoreLetterCase()) {
            Bench b;
            Written x = writeWith(w, b, [](const std::string& target) {
                return existing(otherCase(target), "another file");
            });
            EXPECT_EQ(x.run.status, 0) << x.run.err;
            for (std::size_t i = 0; i < x.targets.size(); ++i) {
                EXPECT_NE(Bench::bytes(x.targets[i]), x.before[i]) << x.targets[i];
                EXPECT_EQ(Bench::bytes(x.where[i]), "another file") << x.where[i];
            }
        }
    }
}

TEST(WriteRule, ExportDatTellsNamesApartAsTheFileSystemDoes) {
    Bench b;
    std::string before = Bench::bytes(b.source);
    auto upper = b.exportRun({"export-dat", b.source, b.dir.file("TRICKY.dat")});
    EXPECT_EQ(upper.status, test::namesIgnoreLetterCase() ? 3 : 0) << upper.err;
    EXPECT_EQ(Bench::bytes(b.source), before);
    // Two names of the one file are still the open file (a link only where one can be made).
    fs::create_hard_link(b.source, b.dir.file("hard.dat"));
    std::vector<std::string> names{"hard.dat"};
    if (test::symbolicLinksPossible()) {
        fs::create_symlink(b.source, b.dir.file("soft.dat"));
        names.push_back("soft.dat");
    }
    for (const auto& self : names) {
        auto r = b.exportRun({"export-dat", b.source, b.dir.file(self), "--overwrite"});
        EXPECT_EQ(r.status, 3);
        EXPECT_TRUE(test::has(r.err, "Can't export to self")) << r.err;
    }
    EXPECT_EQ(Bench::bytes(b.source), before);
}

TEST(WriteRule, AWritableFileInAFolderThatTakesNoNewFileIsWrittenInPlace) {
    Bench b;
    std::string folder = b.dir.file("shared");
    std::string dat = existing(files::join(folder, "shared.dat"));
    std::string csv = existing(files::join(folder, "list.csv"));
    test::giveRights(csv, test::Rights::Private);
    int status = test::inUnwritableFolder(b.dir.path(), folder, [&] {
        auto toDat = b.exportRun({"export-dat", b.source, dat, "--overwrite"});
        auto toCsv = b.exportRun({"export", b.source, "--format", "csv", "-o", csv});
        return toDat.status * 10 + toCsv.status;
    });
    if (status == -1) {
        GTEST_SKIP() << "no folder can be closed to this user here (Windows closes one by its "
                        "access-control list, which Wine ignores)";
    }
    EXPECT_EQ(status, 0);
    EXPECT_EQ(Bench::bytes(dat).substr(0, 4), "LHSP");
    EXPECT_EQ(Bench::bytes(csv).substr(0, 1), "\"");
    EXPECT_TRUE(test::hasRights(csv, test::Rights::Private));
}

TEST(WriteRule, ExportsNeverTakeThePlaceOfACommandFileAndDragonsFilesAreBackedUp) {
    Bench b;
    const std::string live = b.dragon().commandFile();
    const std::string before = Bench::bytes(live);
    const std::string source = Bench::bytes(b.source);
    for (const char* format : {"txt", "csv"}) {
        for (const std::string& target : {b.source, live}) {
            auto r = b.run({"export", b.source, "--format", format, "-o", target});
            EXPECT_EQ(r.status, 3) << target;
            EXPECT_TRUE(test::has(r.err, "This is a Dragon command file")) << r.err;
        }
    }
    // The file Dragon keeps open for its current user is changed only by the editing road.
    auto toLive = b.run({"export-dat", b.source, live, "--overwrite"});
    EXPECT_EQ(toLive.status, 3);
    EXPECT_TRUE(test::has(toLive.err, "the command file Dragon has open")) << toLive.err;
    EXPECT_EQ(Bench::bytes(live), before);
    EXPECT_EQ(Bench::bytes(b.source), source);

    // Another Dragon user's file named as FILE is backed up as the window backs it up.
    std::string other = b.dragon().commandFile("Other");
    existing(other, test::readSample("clear_flag.dat"));
    auto r = b.run({"set-body", other, "--program", "OUTLOOK", "--scope", "Application-specific",
                    "--name", "clear flag", "--body", "Sub Main\nEnd Sub\n"});
    ASSERT_EQ(r.status, 0) << r.err;
    EXPECT_EQ(Bench::bytes(files::join(b.dragon().home, "Other/mycmds." + test::todayMMDDYYYY())),
              test::readSample("clear_flag.dat"));
}
