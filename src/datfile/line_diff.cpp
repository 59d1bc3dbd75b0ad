#include "datfile/line_diff.h"

#include <algorithm>

namespace plv::dat {
namespace {

// Beyond this many inserted and deleted lines the search's memory grows with their square:
// the rest of the texts then shows as replaced, a longer diff but still a true one.
constexpr int kMostEdits = 2000;

// The middle part's edit marks, found by Myers' greedy search for the fewest edits.
std::vector<char> shortestEdits(const std::string* a, int n, const std::string* b, int m) {
    std::vector<std::vector<int>> trace; // trace[d][k + d]: the furthest x on diagonal k
    int found = -1;
    for (int d = 0; d <= std::min(n + m, kMostEdits) && found < 0; ++d) {
        std::vector<int> v(2 * d + 1);
        const std::vector<int>* before = d > 0 ? &trace.back() : nullptr;
        auto last = [&](int k) { return (*before)[k + d - 1]; };
        for (int k = -d; k <= d; k += 2) {
            int x = d == 0                                             ? 0
                    : k == -d || (k != d && last(k - 1) < last(k + 1)) ? last(k + 1)
                                                                       : last(k - 1) + 1;
            int y = x - k;
            while (x < n && y < m && a[x] == b[y]) {
                ++x;
                ++y;
            }
            v[k + d] = x;
            if (x >= n && y >= m) {
                found = d;
            }
        }
        trace.push_back(std::move(v));
    }
    if (found < 0) {
        std::vector<char> marks(n, '-');
        marks.insert(marks.end(), m, '+');
        return marks;
    }
    std::vector<char> marks; // backwards
    int x = n;
    int y = m;
    for (int d = found; d > 0; --d) {
        const std::vector<int>& v = trace[d - 1];
        auto last = [&](int k) { return v[k + d - 1]; };
        int k = x - y;
        bool down = k == -d || (k != d && last(k - 1) < last(k + 1));
        int prevK = down ? k + 1 : k - 1;
        int prevX = last(prevK);
        int prevY = prevX - prevK;
        for (; x > prevX && y > prevY; --x, --y) {
            marks.push_back(' ');
        }
        marks.push_back(down ? '+' : '-');
        x = prevX;
        y = prevY;
    }
    marks.insert(marks.end(), x, ' ');
    std::reverse(marks.begin(), marks.end());
    return marks;
}

// In each run of changed lines the removed ones come first, as `diff -u` shows them.
void removedFirst(std::vector<char>& marks) {
    for (auto run = marks.begin(); run != marks.end();) {
        auto end = std::find(run, marks.end(), ' ');
        std::stable_partition(run, end, [](char c) { return c == '-'; });
        run = end == marks.end() ? end : end + 1;
    }
}

struct Step {
    char mark;
    std::size_t a; // the line's index in each text before the step
    std::size_t b;
};

std::vector<Step> steps(const std::vector<std::string>& a, const std::vector<std::string>& b) {
    std::size_t head = 0;
    while (head < a.size() && head < b.size() && a[head] == b[head]) {
        ++head;
    }
    std::size_t tail = 0;
    while (tail < a.size() - head && tail < b.size() - head &&
           a[a.size() - 1 - tail] == b[b.size() - 1 - tail]) {
        ++tail;
    }
    std::vector<char> marks(head, ' ');
    std::vector<char> middle =
        shortestEdits(a.data() + head, static_cast<int>(a.size() - head - tail), b.data() + head,
                      static_cast<int>(b.size() - head - tail));
    removedFirst(middle);
    marks.insert(marks.end(), middle.begin(), middle.end());
    marks.insert(marks.end(), tail, ' ');
    std::vector<Step> out;
    out.reserve(marks.size());
    std::size_t i = 0;
    std::size_t j = 0;
    for (char mark : marks) {
        out.push_back({mark, i, j});
        i += mark != '+';
        j += mark != '-';
    }
    return out;
}

DiffHunk hunkOf(const std::vector<Step>& all, std::size_t from, std::size_t to,
                const std::vector<std::string>& a, const std::vector<std::string>& b) {
    DiffHunk h;
    h.aStart = all[from].a;
    h.bStart = all[from].b;
    for (std::size_t i = from; i < to; ++i) {
        const Step& s = all[i];
        h.aCount += s.mark != '+';
        h.bCount += s.mark != '-';
        h.lines.push_back({s.mark, s.mark == '+' ? b[s.b] : a[s.a]});
    }
    return h;
}

// "l,s" of a hunk header; a hunk of no lines names the line before it.
std::string range(std::size_t start, std::size_t count) {
    if (count == 1) {
        return std::to_string(start + 1);
    }
    return std::to_string(count == 0 ? start : start + 1) + "," + std::to_string(count);
}

} // namespace

std::vector<std::string> textLines(std::string_view text) {
    std::vector<std::string> lines;
    std::size_t start = 0;
    while (start < text.size()) {
        std::size_t at = text.find_first_of("\r\n", start);
        std::size_t end = at == std::string_view::npos       ? text.size()
                          : text.compare(at, 2, "\r\n") == 0 ? at + 2
                                                             : at + 1;
        lines.emplace_back(text.substr(start, end - start));
        start = end;
    }
    return lines;
}

std::vector<DiffHunk> lineDiff(const std::vector<std::string>& a, const std::vector<std::string>& b,
                               std::size_t context) {
    std::vector<DiffHunk> hunks;
    if (a == b) {
        return hunks;
    }
    std::vector<Step> all = steps(a, b);
    std::size_t from = 0;
    std::size_t lastChange = 0;
    bool open = false;
    for (std::size_t i = 0; i < all.size(); ++i) {
        if (all[i].mark == ' ') {
            continue;
        }
        if (open && i - lastChange - 1 > 2 * context) {
            hunks.push_back(hunkOf(all, from, lastChange + context + 1, a, b));
            open = false;
        }
        if (!open) {
            from = i > context ? i - context : 0;
            open = true;
        }
        lastChange = i;
    }
    hunks.push_back(hunkOf(all, from, std::min(all.size(), lastChange + context + 1), a, b));
    return hunks;
}

std::string unifiedText(const std::vector<DiffHunk>& hunks, const std::string& indent,
                        bool textLines) {
    std::string out;
    for (const auto& h : hunks) {
        out += indent + "@@ -" + range(h.aStart, h.aCount) + " +" + range(h.bStart, h.bCount) +
               " @@\n";
        for (const auto& line : h.lines) {
            std::string_view text = line.text;
            std::size_t end = textLines ? text.find_first_of("\r\n") : std::string_view::npos;
            out += indent;
            out += line.mark;
            out += text.substr(0, end);
            out += '\n';
            if (textLines && end == std::string_view::npos) {
                out += indent + "\\ No newline at end of file\n";
            }
        }
    }
    return out;
}

} // namespace plv::dat
