// The damage experiments of salvage: copies of command files truncated at 50 random points,
// with 1 to 64 random bytes overwritten at 50 random points, with one record's name length
// changed at 50 random records, and with the LIST count or a LIST's item count changed. For each
// kind and file it prints how many records the rescued copies kept against how many did not overlap
// the damage ("intact"), how many intact records were lost, and the time of one salvage of the
// whole file next to one parse and of salvages with a megabyte overwritten.
//   salvage_damage [SAMPLES_FOLDER]   (default tests/data/dragon11)
#include "catalogue/catalogue.h"
#include "datfile/reader.h"
#include "datfile/salvage.h"
#include "generated_file.h"
#include "platform/files.h"
#include "timing.h"

#include <algorithm>
#include <cstdio>
#include <filesystem>
#include <functional>
#include <map>
#include <random>

using namespace plv;
using namespace plv::dat;

namespace {

struct Span {
    std::size_t from = 0; // 0-based
    std::size_t to = 0;   // one past
};

// Where each record of a file that reads whole lies; `listCount` (0-based) where its LIST
// count does, when wanted.
std::vector<Span> recordSpans(std::string_view image, std::size_t* listCount = nullptr) {
    std::vector<Span> spans;
    auto layout = layoutFromCode(static_cast<std::uint8_t>(image[kVersionCodeOffset]));
    ByteReader in(image, kFirstRecordPosition);
    std::uint32_t commands = readLongAt(image, kCommandCountOffset) & 0xFFFF;
    for (std::uint32_t i = 0; i < commands; ++i) {
        CommandRecord r;
        readCommand(in, *layout, nullptr, r);
        spans.push_back(
            {static_cast<std::size_t>(r.offset - 1), static_cast<std::size_t>(r.end - 1)});
    }
    if (listCount) {
        *listCount = static_cast<std::size_t>(in.position() - 1);
    }
    std::uint32_t lists = in.longValue() & 0xFFFF;
    for (std::uint32_t i = 0; i < lists; ++i) {
        ListRecord r;
        readList(in, r);
        spans.push_back(
            {static_cast<std::size_t>(r.offset - 1), static_cast<std::size_t>(r.end - 1)});
    }
    return spans;
}

struct Tally {
    std::size_t intact = 0;
    std::size_t keptIntact = 0;
    std::size_t keptOther = 0;  // records kept that the damage touched
    std::size_t unreadable = 0; // rescued copies that did not read (none expected)
};

// Counts the intact records of `original` that the rescued copy of `damaged` holds as they
// were; `touched` tells whether a record overlaps the damage.
void count(std::string_view original, const std::vector<Span>& spans, const std::string& damaged,
           const std::function<bool(const Span&)>& touched, Tally& t) {
    auto s = salvage(damaged);
    if (!s || !readsToItsEnd(s->image)) {
        ++t.unreadable;
        return;
    }
    std::map<std::string_view, int> kept;
    for (const auto& span : recordSpans(s->image)) {
        ++kept[std::string_view(s->image).substr(span.from, span.to - span.from)];
    }
    for (const auto& span : spans) {
        if (touched(span)) {
            continue;
        }
        ++t.intact;
        auto it = kept.find(original.substr(span.from, span.to - span.from));
        if (it != kept.end() && it->second > 0) {
            --it->second;
            ++t.keptIntact;
        }
    }
    std::size_t all = 0;
    for (const auto& [bytes, n] : kept) {
        all += static_cast<std::size_t>(n);
    }
    t.keptOther += all;
}

void print(const char* file, const char* kind, const Tally& t) {
    std::printf("%-22s %-24s intact %8zu  kept %8zu  lost %6zu  damaged but kept %5zu%s\n", file,
                kind, t.intact, t.keptIntact, t.intact - t.keptIntact, t.keptOther,
                t.unreadable ? "  COPIES THAT DO NOT READ" : "");
}

// A count at `at` changed to another between 0 and 3 more than it was.
void changeCount(std::string& image, std::size_t at, std::mt19937& random) {
    std::uint32_t was = readLongAt(image, at) & 0xFFFF;
    std::uint32_t now = random() % (was + 4);
    writeLongAt(image, at, now == was ? was + 4 : now);
}

void experiment(const char* name, const std::string& image) {
    std::mt19937 random(2026);
    std::size_t listCountAt = 0;
    const auto spans = recordSpans(image, &listCountAt);
    const std::size_t commands = static_cast<std::size_t>(std::count_if(
        spans.begin(), spans.end(), [&](const Span& s) { return s.to <= listCountAt; }));
    const std::size_t body = image.size() - kHeaderSize;
    Tally cut;
    Tally overwritten;
    Tally length;
    Tally listCount;
    Tally itemCount;
    for (int i = 0; i < 50; ++i) {
        std::size_t at = kHeaderSize + random() % body;
        count(
            image, spans, image.substr(0, at), [&](const Span& s) { return s.to > at; }, cut);

        std::string damaged = image;
        std::size_t n = 1 + random() % 64;
        at = kHeaderSize + random() % body;
        std::size_t end = std::min(at + n, damaged.size());
        for (std::size_t j = at; j < end; ++j) {
            damaged[j] = static_cast<char>(random());
        }
        count(
            image, spans, damaged, [&](const Span& s) { return s.from < end && s.to > at; },
            overwritten);

        // The first byte of a record is its name's length prefix.
        const Span record = spans[random() % spans.size()];
        damaged = image;
        damaged[record.from] = static_cast<char>(damaged[record.from] + 1 + random() % 20);
        count(
            image, spans, damaged, [&](const Span& s) { return s.from == record.from; }, length);

        damaged = image;
        changeCount(damaged, listCountAt, random);
        count(
            image, spans, damaged, [](const Span&) { return false; }, listCount);

        if (commands == spans.size()) {
            continue;
        }
        // A LIST: its name, 4 bytes, then the count of its items.
        const Span list = spans[commands + random() % (spans.size() - commands)];
        damaged = image;
        auto nameLength = static_cast<std::uint8_t>(image[list.from]);
        if (nameLength < 255) {
            changeCount(damaged, list.from + 1 + nameLength + 4, random);
            count(
                image, spans, damaged, [&](const Span& s) { return s.from == list.from; },
                itemCount);
        }
    }
    print(name, "truncated", cut);
    print(name, "1-64 bytes overwritten", overwritten);
    print(name, "name length changed", length);
    print(name, "LIST count changed", listCount);
    print(name, "item count changed", itemCount);
}

} // namespace

int main(int argc, char** argv) {
    std::string samples = argc > 1 ? argv[1] : "tests/data/dragon11";
    for (const char* name : {"clear_flag.dat", "move-dock_window.dat", "reply.dat"}) {
        auto image = files::readAll(files::join(samples, name));
        if (!image) {
            std::fprintf(stderr, "no sample %s in %s\n", name, samples.c_str());
            return 1;
        }
        experiment(name, *image);
    }
    std::string generated = bench::generateCommandFile(42);
    experiment("generated (50,000)", generated);

    std::string home = bench::makeBenchHome("parlavista-salvage-bench-");
    std::string path = files::join(home, "mycmds.dat");
    std::string db = files::join(home, "global.mdb");
    files::writeAll(path, generated);
    bench::ConsoleMessages ui;
    Trace trace;
    double parseMs = bench::medianMs([&](int) {
        files::remove(db);
        Catalogue catalogue(db);
        Session session(catalogue, ui, trace, home);
        return parse(session, true, path) == ParseStatus::Parsed;
    });
    std::string cut = generated.substr(0, generated.size() / 2);
    double wholeMs = bench::medianMs([&](int) { return salvage(generated).has_value(); });
    double cutMs = bench::medianMs([&](int) { return salvage(cut).has_value(); });
    // A megabyte in the middle overwritten, with random bytes and with zeros.
    constexpr std::size_t kMegabyte = 1 << 20;
    std::string noise = generated;
    std::mt19937 random(7);
    for (std::size_t i = 0; i < kMegabyte; ++i) {
        noise[noise.size() / 4 + i] = static_cast<char>(random());
    }
    std::string zeros = generated;
    zeros.replace(zeros.size() / 4, kMegabyte, std::string(kMegabyte, '\0'));
    double noiseMs = bench::medianMs([&](int) { return salvage(noise).has_value(); }, 1);
    double zerosMs = bench::medianMs([&](int) { return salvage(zeros).has_value(); }, 1);
    std::printf("one parse into an empty catalogue:  %9.2f ms\n", parseMs);
    std::printf("salvage of the whole file:          %9.2f ms  = %5.2f x one parse\n", wholeMs,
                wholeMs / parseMs);
    std::printf("salvage of the file cut in half:    %9.2f ms\n", cutMs);
    std::printf("salvage, 1 MB of random bytes:      %9.2f ms\n", noiseMs);
    std::printf("salvage, 1 MB of zeros:             %9.2f ms\n", zerosMs);
    std::error_code ec;
    std::filesystem::remove_all(home, ec);
    return 0;
}
