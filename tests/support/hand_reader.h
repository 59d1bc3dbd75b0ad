#pragma once

// A reading of the 10/11 command file layout written straight from the field tables, sharing
// no code with the program's reader: tests hold the program's output up against it.
#include <cstdint>
#include <stdexcept>
#include <string>
#include <utility>
#include <vector>

namespace plv::test::hand {

struct Cursor {
    const std::string& b;
    std::size_t at;

    std::uint32_t u8() {
        if (at >= b.size()) {
            throw std::out_of_range("past the end");
        }
        return static_cast<unsigned char>(b[at++]);
    }
    std::uint32_t u16() { return u8() | (u8() << 8); }
    std::uint32_t u32() { return u16() | (u16() << 16); }
    std::string raw(std::size_t n) {
        if (at + n > b.size()) {
            throw std::out_of_range("past the end");
        }
        at += n;
        return b.substr(at - n, n);
    }
    std::string str() {
        std::uint32_t n = u8();
        if (n == 255) {
            n = u16();
            if (n == 65535) {
                n = u32();
            }
        }
        return raw(n);
    }
    // 1-based, as the catalogue stores positions.
    std::int64_t position() const { return static_cast<std::int64_t>(at) + 1; }
};

struct Step {
    int code = 0;
    std::vector<std::uint32_t> numbers; // key and modifiers
};

struct Command {
    std::int64_t offset = 0;
    std::string name, description, group;
    std::vector<std::string> refs;
    int scope = 0;
    std::vector<std::string> scopeStrings; // application, product, company[, title, class]
    std::vector<std::string> states;
    int type = 0;
    int protection = 0;
    std::int64_t bodyOffset = 0;
    std::vector<std::string> bodyStrings;
    std::vector<Step> steps;
};

struct List {
    std::int64_t offset = 0;
    std::string name;
    std::vector<std::string> items;
};

struct DatFile {
    std::uint32_t count = 0;
    std::vector<Command> commands;
    std::int64_t listsOffset = 0;
    std::vector<List> lists;
};

// The Dragon samples' Step by Step commands press keys only.
inline void readSteps(Cursor& c, Command& cmd) {
    for (std::uint32_t i = 0, n = c.u32() & 0xFF; i < n; ++i) {
        Step s;
        s.code = static_cast<int>(c.u8());
        if (s.code != 1) {
            throw std::runtime_error("a step this reading does not know: " +
                                     std::to_string(s.code));
        }
        s.numbers = {c.u8(), c.u8()};
        cmd.steps.push_back(s);
    }
}

inline Command readCommand(Cursor& c) {
    Command cmd;
    cmd.offset = c.position();
    cmd.name = c.str();
    for (std::uint32_t i = 0, n = c.u32() & 0xFF; i < n; ++i) {
        cmd.refs.push_back(c.str());
    }
    cmd.description = c.str();
    cmd.group = c.str();
    cmd.scope = static_cast<int>(c.u8());
    c.raw(12);
    int strings = (cmd.scope & 0x7F) == 1 ? 3 : (cmd.scope & 0x7F) == 2 ? 5 : 0;
    for (int i = 0; i < strings; ++i) {
        cmd.scopeStrings.push_back(c.str());
    }
    for (std::uint32_t i = 0, n = c.u32(); i < n; ++i) {
        cmd.states.push_back(c.str());
    }
    cmd.type = static_cast<int>(c.u8());
    cmd.protection = static_cast<int>(c.u8());
    if (cmd.protection != 0) {
        c.raw(7);
        c.str();
    } else {
        c.raw(8);
    }
    cmd.bodyOffset = c.position();
    if (cmd.type == 1) {
        cmd.bodyStrings = {c.str(), c.str()};
    } else if (cmd.type == 4 || cmd.type == 16 || cmd.type == 17) {
        cmd.bodyStrings = {c.str()};
    } else if (cmd.type == 3) {
        readSteps(c, cmd);
    }
    return cmd;
}

// The whole file; throws when it is not a 10/11 file or holds bytes after the last LIST.
inline DatFile readDat(const std::string& bytes) {
    if (bytes.substr(0, 4) != "LHSP" || bytes.size() < 21 || bytes[4] != 7) {
        throw std::runtime_error("not a 10/11 command file");
    }
    Cursor c{bytes, 17};
    DatFile f;
    f.count = c.u32();
    for (std::uint32_t i = 0; i < (f.count & 0xFFFF); ++i) {
        f.commands.push_back(readCommand(c));
    }
    f.listsOffset = c.position();
    for (std::uint32_t i = 0, n = c.u32() & 0xFFFF; i < n; ++i) {
        List l;
        l.offset = c.position();
        l.name = c.str();
        c.raw(4);
        for (std::uint32_t k = 0, m = c.u32() & 0xFFFF; k < m; ++k) {
            l.items.push_back(c.str());
        }
        f.lists.push_back(l);
    }
    if (c.at != bytes.size()) {
        throw std::runtime_error("bytes after the last LIST");
    }
    return f;
}

} // namespace plv::test::hand
