#include "export/writers.h"
#include "platform/codepage.h"

#include <ostream>

namespace plv::exports {
namespace {

constexpr const char* kCrLf = "\r\n";
constexpr char kQ = '"';

std::string tabs(int level) {
    return std::string(static_cast<std::size_t>(level), '\t');
}

bool endsWith(const std::string& text, const std::string& tail) {
    return text.size() >= tail.size() &&
           text.compare(text.size() - tail.size(), tail.size(), tail) == 0;
}

void cutTail(std::string& text, const std::string& tail) {
    if (endsWith(text, tail)) {
        text.resize(text.size() - tail.size());
    }
}

// A text that already holds a pair of backslashes is taken as escaped; otherwise each
// backslash is doubled, as the DVC language writes them.
void escapeBackslashes(std::string& text) {
    if (text.find("\\\\") == std::string::npos) {
        replaceAll(text, "\\", "\\\\");
    }
}

std::string quoted(const std::string& text) {
    return kQ + text + kQ;
}

class PseudoDvc {
  public:
    explicit PseudoDvc(std::ostream& out) : out_(out) {}

    void write(const std::vector<UserRow>& rows) {
        if (rows.empty()) {
            return;
        }
        openMenu(rows.front());
        for (const auto& row : rows) {
            if (row.menu != menu_) {
                line(1, "}");
                line(0, "}");
                line(0, "");
                openMenu(row);
            } else if (row.state != state_) {
                line(1, "}");
                openState(row);
            }
            entry(row);
        }
        line(1, "}");
        line(0, "}");
    }

  private:
    void line(int level, const std::string& text) { out_ << tabs(level) << text << kCrLf; }

    void openMenu(const UserRow& row) {
        line(0, "MENU " + quoted(row.menu) + " {");
        menu_ = row.menu;
        openState(row);
    }

    void openState(const UserRow& row) {
        std::string marks = std::string(row.global ? "GLOBAL " : "") +
                            (row.noglobals ? "NOGLOBALS " : "") + (row.sleeping ? "SLEEPING " : "");
        line(1, "STATE " + quoted(row.state) + " " + marks + "{");
        state_ = row.state;
        firstInBlock_ = true;
    }

    void entry(const UserRow& row) {
        if (!firstInBlock_) {
            line(0, "");
        }
        firstInBlock_ = false;
        if (row.isList()) {
            list(row);
        } else {
            command(row);
        }
        line(2, "}");
    }

    void command(const UserRow& row) {
        line(2, "COMMAND " + quoted(row.name) + " {");
        out_ << tabs(3) << typeDisplayName(row.type) << " ";
        std::string body = row.script;
        escapeBackslashes(body);
        if (row.singleline) {
            out_ << quoted(body) << kCrLf;
            return;
        }
        out_ << "{" << kCrLf;
        replaceAll(body, kCrLf, kCrLf + tabs(4));
        cutTail(body, kCrLf + tabs(4));
        line(4, body);
        line(3, "}");
    }

    void list(const UserRow& row) {
        line(2, "LIST " + quoted(row.name) + " {");
        const std::string q(1, kQ);
        std::string items = row.script;
        replaceAll(items, kCrLf, q + kCrLf + tabs(3) + q);
        cutTail(items, kCrLf + tabs(3) + q);
        escapeBackslashes(items);
        // Items that come with their own quotes keep one pair.
        replaceAll(items, "\t" + q + q, "\t" + q);
        replaceAll(items, q + q + kCrLf, q + kCrLf);
        replaceAll(items, q + "\\" + q + kCrLf, q + "\\" + q + q + kCrLf);
        // The last item has no line break after it; one that ends in a quote of its own
        // would otherwise close with two.
        if (endsWith(items, q + q) && items.size() > 2) {
            items.pop_back();
        }
        if (items.empty() || items.front() != kQ) {
            items.insert(items.begin(), kQ);
        }
        line(3, items);
    }

    std::ostream& out_;
    std::string menu_;
    std::string state_;
    bool firstInBlock_ = true;
};

} // namespace

void writePseudoDvc(const std::vector<UserRow>& rows, std::ostream& out) {
    PseudoDvc(out).write(rows);
}

bool writeDvcListing(const std::vector<UserRow>& rows, std::ostream& out) {
    std::vector<UserRow> dvc;
    for (const auto& row : rows) {
        if (row.type == "K" || row.type == "S" || row.type == "L") {
            dvc.push_back(row);
        }
    }
    if (dvc.empty()) {
        return false;
    }
    writePseudoDvc(dvc, out);
    return true;
}

} // namespace plv::exports
