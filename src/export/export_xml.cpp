#include "export/export_xml.h"

#include "datfile/record_ops.h"
#include "datfile/rewrite.h"
#include "export/dragon_xml_records.h"
#include "export/export_file.h"
#include "platform/codepage.h"

#include <map>
#include <set>

namespace plv::exports {
namespace {

class XmlExport {
  public:
    XmlExport(Session& s, XmlExportResult& result) : s_(s), result_(result) {}
    // Throws FormatError when a record does not read.
    void read(const std::string& image, const std::set<std::int64_t>& marked, bool all);
    void addLists();
    const xml::Document& document() const { return document_; }

  private:
    void leaveOut(const std::string& nameBytes, const std::string& why) {
        result_.leftOut.push_back(decodeCp1252(nameBytes) + ": " + why);
    }

    Session& s_;
    XmlExportResult& result_;
    xml::Document document_;
    std::vector<dat::ListRecord> fileLists_;
};

void XmlExport::read(const std::string& image, const std::set<std::int64_t>& marked, bool all) {
    document_.language = xml::languageId(s_.file.languageByte);
    dat::ByteReader in(image, dat::kFirstRecordPosition);
    std::uint32_t count = dat::readLongAt(image, dat::kCommandCountOffset) & 0xFFFF;
    for (std::uint32_t i = 0; i < count; ++i) {
        dat::CommandRecord r;
        dat::readCommand(in, s_.file.layout, nullptr, r);
        if (r.skipped() ? !all : marked.count(r.offset) == 0) {
            continue;
        }
        std::string why;
        if (auto c = xml::commandOf(r, why)) {
            if (r.typeByte == dat::kTypeKeys) {
                result_.asScripts.push_back(c->name);
            }
            document_.commands.push_back(std::move(*c));
        } else {
            leaveOut(r.name, why);
        }
    }
    std::uint32_t lists = in.longValue() & 0xFFFF;
    for (std::uint32_t i = 0; i < lists; ++i) {
        dat::ListRecord l;
        dat::readList(in, l);
        fileLists_.push_back(std::move(l));
    }
    result_.exported = document_.commands.size();
}

// The LISTs the commands use, in the file's order.
void XmlExport::addLists() {
    std::map<std::string, std::string> used; // folded name -> name
    for (const auto& c : document_.commands) {
        for (const auto& ref : dat::ExtractListRefs(c.name)) {
            used.emplace(foldCase(ref), ref);
        }
    }
    for (const auto& l : fileLists_) {
        std::string name = decodeCp1252(l.name);
        if (used.erase(foldCase(name)) > 0) {
            document_.lists.push_back(xml::listOf(l));
        }
    }
    for (const auto& [key, name] : used) {
        result_.leftOut.push_back("LIST " + name + ": it is not in the file");
    }
    result_.lists = document_.lists.size();
}

// What was left out, and the KEYS commands that changed their form, in one message.
void reportLeftOut(UserInteraction& ui, const XmlExportResult& result) {
    std::string text;
    if (!result.leftOut.empty()) {
        text = "Dragon XML cannot carry these, which were left out:";
        for (const auto& line : result.leftOut) {
            text += "\n" + line;
        }
    }
    if (!result.asScripts.empty()) {
        text += text.empty() ? "" : "\n\n";
        text += "Dragon XML has no KEYS command; these are carried as SendKeys scripts:";
        for (const auto& name : result.asScripts) {
            text += "\n" + name;
        }
    }
    if (!text.empty()) {
        ui.message(text, kXmlLeftOutTitle);
    }
}

} // namespace

XmlExportResult exportMarkedXml(Session& s, const std::string& target) {
    XmlExportResult result;
    std::set<std::int64_t> marked;
    bool all = true;
    for (const auto& row : s.catalogue.allRowsWithoutScripts()) {
        if (!row.isList() && row.offset != 0) {
            all = all && row.flag;
            if (row.flag) {
                marked.insert(row.offset);
            }
        }
    }
    s.catalogue.setFlagAll(false);
    dat::Rewrite source(s);
    if (!source.load(dat::Rewrite::LoadFor::Reading)) {
        return result;
    }
    XmlExport x(s, result);
    try {
        x.read(source.input(), marked, all);
    } catch (const dat::FormatError& e) {
        source.refuse("a record at position " + std::to_string(e.position()) + " cannot be read");
        return result;
    }
    x.addLists();
    reportLeftOut(s.ui, result);
    if (result.exported == 0) {
        s.ui.message(kNothingForXml, kXmlLeftOutTitle);
        return result;
    }
    result.done = writeExportBytes(s.ui, target, xml::writeDocument(x.document()));
    return result;
}

} // namespace plv::exports
