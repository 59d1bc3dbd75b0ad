// Random sequences of edits on generated files of every layout. After each edit the file
// is parsed again and its catalogue must be what a plain model of the edits predicts.
#include "datfile/builder.h"
#include "datfile/record_ops.h"
#include "datfile/rewrite_full.h"
#include "platform/codepage.h"
#include "platform/files.h"
#include "support/fixtures.h"

#include <gtest/gtest.h>
#include <random>

using namespace plv;
using namespace plv::dat;

namespace {

constexpr int kSequences = 300;
constexpr int kEditsPerSequence = 6;

struct Row {
    std::string menu, state, name, type, script, owner, description;
    std::int64_t lists = 0;
    bool encrypted = false;
    bool operator==(const Row&) const = default;
};

std::ostream& operator<<(std::ostream& out, const Row& r) {
    return out << r.menu << "|" << r.state << "|" << r.name << "|" << r.type << "|"
               << r.script.substr(0, 40) << "(" << r.script.size() << ")|" << r.owner << "|"
               << r.description << "|" << r.lists << (r.encrypted ? "|encrypted" : "");
}

// What the edits should have made of the catalogue: commands, then LISTs, in file order.
struct Model {
    std::vector<Row> commands;
    std::vector<Row> lists;
    std::vector<std::string> hiddenRefs; // LISTs used by the skip-bit records
    std::vector<Row> all() const {
        std::vector<Row> out = commands;
        out.insert(out.end(), lists.begin(), lists.end());
        return out;
    }
};

// Builder strings are file bytes.
std::string bytes(const std::string& utf8) {
    return encodeCp1252(utf8).bytes;
}

std::vector<std::string> bytes(const std::vector<std::string>& utf8) {
    std::vector<std::string> out;
    for (const auto& s : utf8) {
        out.push_back(bytes(s));
    }
    return out;
}

Row project(const UserRow& r) {
    return {r.menu,  r.state,       r.name,  r.type,     r.script,
            r.owner, r.description, r.lists, r.encrypted};
}

class Sequence {
  public:
    Sequence(std::mt19937& rng, Layout layout) : rng_(rng), layout_(layout) {}

    void run() {
        generate();
        for (int i = 0; i < kEditsPerSequence && !testing::Test::HasFailure(); ++i) {
            edit();
        }
    }

  private:
    int pick(int n) { return std::uniform_int_distribution<int>(0, n - 1)(rng_); }
    bool chance(int percent) { return pick(100) < percent; }
    template <typename T> T& any(std::vector<T>& v) {
        return v[static_cast<std::size_t>(pick(static_cast<int>(v.size())))];
    }

    std::string text() {
        static const std::vector<std::string> letters = {"a", "b", " ",    "{", "}",
                                                         "é", "½", "\r\n", "x", "Z"};
        int length = chance(2) ? 65530 + pick(10) : chance(30) ? 250 + pick(10) : 1 + pick(20);
        std::string out;
        for (int i = 0; i < length; ++i) {
            out += letters[static_cast<std::size_t>(pick(static_cast<int>(letters.size())))];
        }
        return out;
    }

    std::vector<std::string> items() {
        std::vector<std::string> out;
        for (int i = 0, n = 1 + pick(4); i < n; ++i) {
            out.push_back("item" + std::to_string(pick(1000)) + (chance(30) ? " é" : ""));
        }
        return out;
    }

    static std::string itemsScript(const std::vector<std::string>& items) {
        std::string out;
        for (const auto& item : items) {
            out += item + "\r\n";
        }
        return out;
    }

    // The items as a user types them: no line break after the last, maybe more lines.
    static std::string itemsText(const std::vector<std::string>& items, const std::string& tail) {
        std::string script = itemsScript(items);
        return script.substr(0, script.size() - 2) + tail;
    }

    // A new command name, sometimes using LISTs of the model.
    std::string commandName() {
        std::string name = "cmd " + std::to_string(++names_);
        for (int i = 0; i < 2 && !model_.lists.empty(); ++i) {
            if (chance(35)) {
                name += " <" + any(model_.lists).name + ">";
            }
        }
        return name;
    }

    CommandRecord randomRecord(const std::string& name) {
        const std::pair<std::uint8_t, std::vector<BodyToken>> bodies[] = {
            {kTypeKeys, textBody("{Ctrl+" + std::to_string(pick(9)) + "}")},
            {kTypeScript, textBody("SendKeys \"x\"")},
            {kTypeAdvanced, textBody("Sub Main\r\nEnd Sub\r\n")},
            {kTypeText, plainTextBody(bytes("plain é"))},
            {kTypeText, formattedBody("{\\rtf1 b}", "formatted")},
            {kTypeStepByStep, StepsBody().press(65, 1).type("hi").tokens()},
            {kTypeRecorder, RecorderBody().key(13, 0).tokens()}};
        const auto& [type, body] = bodies[pick(7)];
        int scope = pick(3);
        CommandRecord r =
            scope == 0   ? globalCommand(name, type, body)
            : scope == 1 ? applicationCommand(name, chance(50) ? "winword" : "excel", type, body)
                         : windowCommand(name, "winword", "Letter - Word", type, body);
        r.listRefs = ExtractListRefs(name);
        if (chance(30)) {
            r.group = "Group " + std::to_string(pick(3));
        }
        if (hasStateList(layout_) && chance(40)) {
            r.states = {"Normal", chance(50) ? "Spelling" : "Dictation"};
        }
        if (layout_ == Layout::V1011 && chance(15)) {
            r.protection = 1;
            r.tail = std::string(7, '\x02');
            r.protectedString = "opaque";
        }
        return r;
    }

    void generate() {
        std::vector<ListRecord> lists;
        for (int i = 0, n = 1 + pick(3); i < n; ++i) {
            auto its = items();
            std::string name = "list" + std::to_string(++names_);
            lists.push_back(listRecord(name, bytes(its)));
            model_.lists.push_back(
                {kGlobalCommands, kGlobalCommands, name, "L", itemsScript(its), "Dragon", "", 1});
        }
        std::vector<CommandRecord> commands;
        for (int i = 0, n = 2 + pick(5); i < n; ++i) {
            commands.push_back(randomRecord(commandName()));
            if (chance(15)) {
                auto hidden =
                    randomRecord("hidden " + std::to_string(++names_) + " <" + lists[0].name + ">");
                hidden.scopeByte |= kSkipBit;
                model_.hiddenRefs.push_back(lists[0].name);
                commands.push_back(hidden);
                ++skipped_;
            }
        }
        ASSERT_EQ(h_.parseBytes(buildFile(layout_, commands, lists)), ParseStatus::Parsed);
        for (const auto& r : h_.rows()) {
            if (!r.isList()) {
                model_.commands.push_back(project(r)); // bodies decoded as the reader does
            }
        }
        expect();
    }

    UserRow row(const Row& m) const {
        for (const auto& r : h_.rows()) {
            if (r.name == m.name && r.menu == m.menu && r.state == m.state) {
                return r;
            }
        }
        throw std::runtime_error("no row " + m.name);
    }

    std::vector<std::pair<std::int64_t, std::int64_t>> positions() const {
        std::vector<std::pair<std::int64_t, std::int64_t>> out;
        for (const auto& r : h_.rows()) {
            out.emplace_back(r.offset, r.offsetbody);
        }
        out.emplace_back(h_.catalogue->parameterNumber("OffsetLists").value_or(0), 0);
        return out;
    }

    void expect() {
        std::vector<Row> actual;
        for (const auto& r : h_.rows()) {
            actual.push_back(project(r));
        }
        ASSERT_EQ(actual, model_.all()) << "after: " << lastEdit_;
        ASSERT_EQ(h_.session->file.skippedCount, skipped_) << "after: " << lastEdit_;
    }

    void done(Outcome outcome, const std::string& what) {
        lastEdit_ = what;
        ASSERT_EQ(outcome, Outcome::Done) << what;
        ASSERT_EQ(refreshAfterWrite(*h_.session), Outcome::Done) << what;
        expect();
    }

    std::vector<Row*> commandsOf(const std::string& types) {
        std::vector<Row*> out;
        for (auto& r : model_.commands) {
            if (types.find(r.type) != std::string::npos) {
                out.push_back(&r);
            }
        }
        return out;
    }

    void edit() {
        using Edit = void (Sequence::*)();
        static constexpr Edit edits[] = {
            &Sequence::setBody,        &Sequence::setHead,    &Sequence::newCommand,
            &Sequence::newList,        &Sequence::renameList, &Sequence::deleteList,
            &Sequence::deleteCommands, &Sequence::changeType, &Sequence::rewrite};
        (this->*edits[pick(9)])();
    }

    void setBody() {
        auto targets = commandsOf("KSAP");
        if (!model_.lists.empty() && (targets.empty() || chance(30))) {
            Row& list = any(model_.lists);
            auto its = items();
            auto outcome =
                Update1Body(*h_.session, row(list),
                            itemsText(its, chance(50) ? " \t\r\n\r\n  " : ""), Positions::Move);
            list.script = itemsScript(its);
            checkShift(outcome, "Update1Body LIST " + list.name);
            return;
        }
        if (targets.empty()) {
            return;
        }
        Row& command = *any(targets);
        std::string body = text();
        auto outcome = Update1Body(*h_.session, row(command), body, Positions::Move);
        if (command.encrypted) {
            refused(outcome, "Update1Body of the encrypted " + command.name);
            return;
        }
        command.script = body;
        checkShift(outcome, "Update1Body " + command.name);
    }

    // An encrypted command keeps its body and type: the operation is refused, nothing moves.
    void refused(Outcome outcome, const std::string& what) {
        lastEdit_ = what;
        std::string before = files::readAll(h_.session->file.path).value_or("");
        ASSERT_EQ(outcome, Outcome::Refused) << what;
        ASSERT_EQ(files::readAll(h_.session->file.path).value_or(""), before) << what;
        expect();
    }

    // The positions the engine moved must be those that the parse finds.
    void checkShift(Outcome outcome, const std::string& what) {
        auto moved = positions();
        done(outcome, what);
        ASSERT_EQ(positions(), moved) << what;
    }

    void setHead() {
        if (model_.commands.empty()) {
            return;
        }
        Row& command = any(model_.commands);
        UserRow old = row(command);
        command.name = chance(50) ? commandName() : command.name;
        command.lists = static_cast<std::int64_t>(ExtractListRefs(command.name).size());
        command.description = chance(50) ? "described é " + std::to_string(pick(99)) : "";
        command.owner = chance(40) ? std::string(kUserDefined) : "Group " + std::to_string(pick(3));
        done(UpdateFirstThings(*h_.session, old, command.name, command.description, command.owner),
             "UpdateFirstThings " + old.name + " -> " + command.name);
    }

    void newCommand() {
        NewCommand c;
        c.name = commandName();
        c.type = std::string(1, "KSAP"[pick(4)]);
        c.body = text();
        c.description = chance(50) ? "new" : "";
        c.group = chance(50) ? std::string(kUserDefined) : "Made";
        c.program = kGlobalCommands;
        c.scope = kGlobalCommands;
        auto others = commandsOf("KSAPTXR");
        std::erase_if(others, [](Row* r) { return r->menu == kGlobalCommands; });
        if (!others.empty() && chance(60)) {
            const Row* lender = any(others);
            c.program = lender->menu;
            c.scope = lender->state;
        }
        Row added{c.program,     c.scope,
                  c.name,        c.type,
                  c.body,        c.group,
                  c.description, static_cast<std::int64_t>(ExtractListRefs(c.name).size())};
        model_.commands.push_back(added);
        done(BuildNewRecord(*h_.session, c), "BuildNewRecord " + c.name);
    }

    void newList() {
        auto its = items();
        std::string name = "list" + std::to_string(++names_);
        model_.lists.push_back(
            {kGlobalCommands, kGlobalCommands, name, "L", itemsScript(its), "Dragon", "", 1});
        done(UpdateNewList(*h_.session, name, itemsText(its, chance(50) ? "\r\n\r\n" : "")),
             "UpdateNewList " + name);
    }

    void renameList() {
        if (model_.lists.empty()) {
            return;
        }
        Row& list = any(model_.lists);
        UserRow old = row(list);
        list.name = "list" + std::to_string(++names_);
        done(UpdateListRename(*h_.session, old, list.name), "UpdateListRename " + list.name);
    }

    void deleteList() {
        if (model_.lists.empty()) {
            return;
        }
        auto at = static_cast<std::size_t>(pick(static_cast<int>(model_.lists.size())));
        UserRow old = row(model_.lists[at]);
        model_.lists.erase(model_.lists.begin() + static_cast<std::ptrdiff_t>(at));
        done(DeleteList(*h_.session, old), "DeleteList " + old.name);
    }

    void deleteCommands() {
        if (model_.commands.empty()) {
            return;
        }
        h_.catalogue->setFlagAll(false);
        std::vector<std::string> gone;
        for (int i = 0, n = 1 + pick(2); i < n && !model_.commands.empty(); ++i) {
            auto at = static_cast<std::size_t>(pick(static_cast<int>(model_.commands.size())));
            h_.catalogue->setFlag(row(model_.commands[at]).id, true);
            gone.push_back(model_.commands[at].name);
            model_.commands.erase(model_.commands.begin() + static_cast<std::ptrdiff_t>(at));
        }
        std::vector<std::string> used = model_.hiddenRefs;
        for (const auto& c : model_.commands) {
            for (const auto& ref : ExtractListRefs(c.name)) {
                used.push_back(ref);
            }
        }
        std::vector<std::string> referred;
        for (const auto& name : gone) {
            for (const auto& ref : ExtractListRefs(name)) {
                referred.push_back(ref);
            }
        }
        auto among = [](const std::vector<std::string>& names, const std::string& name) {
            return std::any_of(names.begin(), names.end(),
                               [&](const std::string& n) { return equalsNoCase(n, name); });
        };
        std::erase_if(model_.lists, [&](const Row& list) {
            return among(referred, list.name) && !among(used, list.name);
        });
        done(deletethem(*h_.session), "deletethem " + gone.front());
    }

    void changeType() {
        auto keys = commandsOf("K");
        if (keys.empty()) {
            return;
        }
        Row& command = *any(keys);
        UserRow old = row(command);
        bool plain = chance(50);
        auto outcome = Updatechangetype(
            *h_.session, old, plain ? TypeChange::ToPlainText : TypeChange::ToAdvancedScripting);
        if (command.encrypted) {
            refused(outcome, "Updatechangetype of the encrypted " + command.name);
            return;
        }
        command.type = plain ? "P" : "A";
        done(outcome, "Updatechangetype " + command.name);
    }

    // Every writer uses the shortest prefixes, so re-encoding the file changes no byte.
    void rewrite() {
        std::string before = files::readAll(h_.session->file.path).value_or("");
        FullRewritePlan plan;
        plan.traceWord = "rewrite";
        done(runFullRewrite(*h_.session, plan), "full rewrite");
        ASSERT_EQ(files::readAll(h_.session->file.path).value_or(""), before);
    }

    std::mt19937& rng_;
    Layout layout_;
    test::Harness h_;
    Model model_;
    int names_ = 0;
    std::int64_t skipped_ = 0;
    std::string lastEdit_ = "generation";
};

} // namespace

TEST(EditProperty, RandomEditSequencesParseToTheirModel) {
    std::mt19937 rng(20240611);
    const Layout layouts[] = {Layout::V60, Layout::V61, Layout::V7, Layout::V89, Layout::V1011};
    for (int i = 0; i < kSequences && !HasFailure(); ++i) {
        Layout layout = layouts[i % 5];
        SCOPED_TRACE("sequence " + std::to_string(i) + " in " + versionName(layout));
        Sequence(rng, layout).run();
    }
}
