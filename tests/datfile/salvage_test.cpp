// Salvage of damaged command files: what reads whole is kept, the reading starts again after
// the damage, and each lost stretch is told with what could be read in it.
#include "datfile/builder.h"
#include "datfile/contents.h"
#include "datfile/reader.h"
#include "datfile/salvage.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <random>

using namespace plv;
using namespace plv::dat;

namespace {

std::string file() {
    std::vector<CommandRecord> commands;
    for (int i = 0; i < 6; ++i) {
        commands.push_back(applicationCommand("command " + std::to_string(i), "winword", kTypeKeys,
                                              textBody("{ctrl+" + std::to_string(i) + "}")));
    }
    commands[3].scopeByte |= kSkipBit;
    return buildFile(Layout::V1011, commands,
                     {listRecord("apps", {"Word", "Excel"}), listRecord("colours", {"red"}),
                      listRecord("sizes", {"small", "large"})});
}

// The names of the commands and LISTs the rescued copy holds, which must read as a whole.
std::string kept(const Salvage& s) {
    ParseFailureReport failure;
    auto read = readContents(s.image, KeyNames(), failure);
    if (!read || !readsToItsEnd(s.image)) {
        ADD_FAILURE() << "the rescued copy does not read: " << failure.reason;
        return {};
    }
    std::string out;
    for (const auto& c : read->commands) {
        out += c.name.substr(8) + " ";
    }
    out += "(" + std::to_string(read->skipped.size()) + " skipped) |";
    for (const auto& l : read->lists) {
        out += " " + l.name;
    }
    return out;
}

struct Offsets {
    std::vector<std::int64_t> commands; // 0-based indexes into the image
    std::vector<std::int64_t> lists;
};

Offsets offsets(const std::string& image) {
    ParseFailureReport failure;
    auto read = readContents(image, KeyNames(), failure);
    Offsets o;
    for (const auto* group : {&read->commands, &read->skipped}) {
        for (const auto& c : *group) {
            o.commands.push_back(c.offset - 1);
        }
    }
    std::sort(o.commands.begin(), o.commands.end());
    for (const auto& l : read->lists) {
        o.lists.push_back(l.offset - 1);
    }
    return o;
}

Salvage salvaged(const std::string& image) {
    auto s = salvage(image);
    EXPECT_TRUE(s);
    return s.value_or(Salvage{});
}

} // namespace

TEST(Salvage, AWholeFileIsCopiedAsItIs) {
    std::string image = file();
    Salvage s = salvaged(image);
    EXPECT_EQ(s.image, image);
    EXPECT_TRUE(s.lost.empty());
    EXPECT_EQ(salvageText(s), "Kept 6 commands and 3 LISTs; nothing was lost.\n");
    EXPECT_FALSE(salvage(image.substr(0, 10)));
    EXPECT_FALSE(salvage("not a command file at all"));
}

TEST(Salvage, EachKindOfDamageLosesOnlyTheRecordsItTouches) {
    const std::string image = file();
    const Offsets at = offsets(image);
    struct Case {
        const char* what;
        std::function<void(std::string&)> damage;
        std::string kept;
        std::size_t lost = 1;
    };
    const Case cases[] = {
        {"cut inside command 4", [&](std::string& f) { f.resize(at.commands[4] + 9); },
         "0 1 2 (1 skipped) |"},
        {"cut inside the LISTs", [&](std::string& f) { f.resize(at.lists[2] + 3); },
         "0 1 2 4 5 (1 skipped) | apps colours"},
        {"command 2's name overwritten",
         [&](std::string& f) { f.replace(at.commands[2] + 1, 4, "\x01\x02\x03\x04"); },
         "0 1 4 5 (1 skipped) | apps colours sizes"},
        {"command 1's name length grown",
         [&](std::string& f) { f[at.commands[1]] = static_cast<char>(f[at.commands[1]] + 7); },
         "0 2 4 5 (1 skipped) | apps colours sizes"},
        {"command 5 and the LIST count overwritten",
         [&](std::string& f) {
             std::size_t n = at.lists[0] - at.commands[5] - 1;
             f.replace(at.commands[5] + 1, n, std::string(n, '\xff'));
         },
         "0 1 2 4 (1 skipped) | apps colours sizes"},
        // Read with the grown count, "colours" would take "sizes" for its items.
        {"the item count of the LIST colours grown",
         [&](std::string& f) { f[at.lists[1] + 12] = 3; }, "0 1 2 4 5 (1 skipped) | apps sizes"},
        // Read with the grown count, "apps" reads whole, "colours" its last item.
        {"the item count of the LIST apps grown", [&](std::string& f) { f[at.lists[0] + 9] = 3; },
         "0 1 2 4 5 (1 skipped) | colours sizes"},
        {"the LIST colours damaged",
         [&](std::string& f) { f.replace(at.lists[1], 2, std::string(2, '\x00')); },
         "0 1 2 4 5 (1 skipped) | apps sizes"},
        // The LISTs after the lowered count are still there to read.
        {"the LIST count lowered", [&](std::string& f) { f[at.lists[0] - 4] = 1; },
         "0 1 2 4 5 (1 skipped) | apps colours sizes", 0},
        {"bytes after the last LIST", [&](std::string& f) { f += "abc"; },
         "0 1 2 4 5 (1 skipped) | apps colours sizes"},
    };
    for (const auto& c : cases) {
        std::string damaged = image;
        c.damage(damaged);
        Salvage s = salvaged(damaged);
        EXPECT_EQ(kept(s), c.kept) << c.what;
        EXPECT_EQ(s.lost.size(), c.lost) << c.what;
    }
}

TEST(Salvage, ABodyThatReadsAsARecordDoesNotWinOverTheWholeRecordItIsIn) {
    std::vector<CommandRecord> commands;
    for (const char* name : {"first", "second", "third"}) {
        std::string body = name == std::string("first") ? std::string(200, 'x') : "hello";
        commands.push_back(globalCommand(name, kTypeText, plainTextBody(body)));
    }
    std::string image = buildFile(Layout::V1011, commands, {listRecord("apps", {"Word"})});
    const Offsets at = offsets(image);
    // A space for the name length of "second": the x's before it, read as a name, run on
    // to its end.
    image[at.commands[1]] = ' ';
    Salvage s = salvaged(image);
    ParseFailureReport failure;
    auto read = readContents(s.image, KeyNames(), failure);
    ASSERT_TRUE(read);
    ASSERT_EQ(read->commands.size(), 2u);
    EXPECT_EQ(read->commands[0].name, "first");
    EXPECT_EQ(read->commands[1].name, "third");
    ASSERT_EQ(s.lost.size(), 1u);
    EXPECT_EQ(s.lost[0].start, at.commands[1] + 1);
}

TEST(Salvage, ALostStretchTellsWhereItIsAndWhatItHeld) {
    std::string image = file();
    const Offsets at = offsets(image);
    // The body of command 4 cut short: its name and Program still read.
    image.resize(at.commands[5] - 3);
    Salvage s = salvaged(image);
    ASSERT_EQ(s.lost.size(), 1u);
    EXPECT_EQ(s.lost[0].start, at.commands[4] + 1);
    EXPECT_EQ(s.lost[0].end, static_cast<std::int64_t>(image.size()) + 1);
    EXPECT_EQ(lostText(s.lost[0]), "bytes " + std::to_string(at.commands[4] + 1) + " to " +
                                       std::to_string(image.size()) + " (" +
                                       std::to_string(image.size() - at.commands[4]) +
                                       " bytes) of the commands: \"command 4\", Program winword");
    EXPECT_TRUE(test::has(salvageText(s), "Kept 4 commands and 0 LISTs; lost:\n  bytes "));
}

TEST(Salvage, RandomDamageToTheDragonSamplesAlwaysGivesAFileThatReads) {
    std::mt19937 random(23);
    for (const char* name : {"clear_flag.dat", "move-dock_window.dat", "reply.dat"}) {
        const std::string sample = test::readSample(name);
        for (int i = 0; i < 50; ++i) {
            std::string damaged = sample;
            std::size_t at = kHeaderSize + random() % (sample.size() - kHeaderSize);
            if (i % 2 == 0) {
                damaged.resize(at);
            } else {
                for (std::size_t n = 1 + random() % 64; n > 0 && at < damaged.size(); --n) {
                    damaged[at++] = static_cast<char>(random());
                }
            }
            auto s = salvage(damaged);
            ASSERT_TRUE(s) << name;
            EXPECT_TRUE(readsToItsEnd(s->image)) << name << " damaged at " << at;
        }
    }
}
