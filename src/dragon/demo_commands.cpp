// The demo user's command file: what a family doctor dictating letters and notes in Word,
// reading mail in Outlook and keeping lab results in Excel has built up over the years.
#include "datfile/builder.h"
#include "dragon/demo_root.h"
#include "dragon/png.h"
#include "platform/codepage.h"

#include <deque>

namespace plv::dragon {
namespace {

using namespace plv::dat;

// The version block that Dragon 11 writes in every record it exports.
const std::string kVersionBlock = std::string("\xfd\x02\xf8\xff", 4) + std::string(8, '\0');

struct App {
    const char* name;
    const char* product;
    const char* company;
    const char* windowClass;
};
const App kWord{"winword", "Microsoft Word", "Microsoft Corporation", "OpusApp"};
const App kOutlook{"outlook", "Microsoft Outlook", "Microsoft Corporation", "rctrl_renwnd32"};
const App kExcel{"excel", "Microsoft Excel", "Microsoft Corporation", "XLMAIN"};
const App kDragon{"natspeak", "Dragon NaturallySpeaking", "Nuance Communications, Inc.",
                  "DgnBarMainWindowCls"};

std::string cp(const std::string& utf8) {
    return encodeCp1252(utf8).bytes;
}

// Virtual-key codes and step modifiers.
constexpr std::uint8_t kShift = 1, kCtrl = 2, kAlt = 4;
constexpr std::uint8_t kTabKey = 9, kEnterKey = 13, kCtrlKey = 17, kEscKey = 27, kF9 = 120;
constexpr std::uint8_t kDown = 0, kUp = 0x80;

// One command as it is being described.
class Entry {
  public:
    explicit Entry(CommandRecord& r) : r_(r) {}
    Entry& group(const std::string& g) {
        r_.group = cp(g);
        return *this;
    }
    Entry& says(const std::string& description) {
        r_.description = cp(description);
        return *this;
    }
    Entry& uses(std::initializer_list<const char*> lists) {
        for (const char* l : lists) {
            r_.listRefs.push_back(l);
        }
        return *this;
    }
    Entry& states(std::initializer_list<const char*> names) {
        for (const char* s : names) {
            r_.states.push_back(s);
        }
        return *this;
    }
    Entry& protect(const std::string& licence) {
        r_.protection = 1;
        r_.protectedString = licence;
        return *this;
    }

  private:
    CommandRecord& r_;
};

class Demo {
  public:
    Entry global(const std::string& name, std::uint8_t type, std::vector<BodyToken> body) {
        return add(globalCommand(cp(name), type, std::move(body)));
    }
    Entry app(const App& a, const std::string& name, std::uint8_t type,
              std::vector<BodyToken> body) {
        CommandRecord r = applicationCommand(cp(name), a.name, type, std::move(body));
        r.productDescription = a.product;
        r.companyName = a.company;
        return add(std::move(r));
    }
    Entry window(const App& a, const std::string& title, const std::string& name, std::uint8_t type,
                 std::vector<BodyToken> body) {
        CommandRecord r = windowCommand(cp(name), a.name, cp(title), type, std::move(body));
        r.productDescription = a.product;
        r.companyName = a.company;
        r.windowClass = a.windowClass;
        return add(std::move(r));
    }
    void list(const std::string& name, std::initializer_list<const char*> items) {
        std::vector<std::string> bytes;
        for (const char* i : items) {
            bytes.push_back(cp(i));
        }
        lists_.push_back(listRecord(cp(name), bytes));
    }
    std::string build() const {
        return buildFile(Layout::V1011, {commands_.begin(), commands_.end()}, lists_, 9);
    }

  private:
    Entry add(CommandRecord r) {
        r.versionBlock = kVersionBlock;
        commands_.push_back(std::move(r));
        return Entry(commands_.back());
    }
    std::deque<CommandRecord> commands_;
    std::vector<ListRecord> lists_;
};

std::vector<BodyToken> keys(const std::string& text) {
    return textBody(cp(text));
}
std::vector<BodyToken> script(const std::string& text) {
    return textBody(cp(text));
}
std::vector<BodyToken> plain(const std::string& text) {
    return plainTextBody(cp(text));
}
std::vector<BodyToken> basic(const std::string& lines) {
    return textBody(cp("Sub Main\r\n" + lines + "End Sub\r\n"));
}

const char* kRtfHead = "{\\rtf1\\ansi\\ansicpg1252\\deff0{\\fonttbl{\\f0\\fswiss\\fcharset0 "
                       "Arial;}{\\f1\\froman\\fcharset0 Times New Roman;}}\r\n"
                       "{\\colortbl ;\\red0\\green84\\blue147;\\red96\\green96\\blue96;}\r\n"
                       "\\viewkind4\\uc1";

std::string logoRtf(int twips) {
    const int size = 24;
    return rtfPngPicture(encodePng(practiceLogo(size)), size, size, twips);
}

std::vector<BodyToken> letterhead() {
    std::string rtf = std::string(kRtfHead) + "\\pard\\qc " + logoRtf(720) +
                      "\\par\r\n\\b\\f0\\fs32\\cf1 Riverside Family Practice\\b0\\fs20\\par\r\n"
                      "\\cf2 14 Mill Lane, Bristol BS1 4DJ\\par\r\n"
                      "Telephone 0117 496 0123 \\bullet  Fax 0117 496 0124\\cf0\\par\r\n"
                      "\\pard\\f1\\fs24\\par\r\n}\r\n";
    return formattedBody(rtf, "Riverside Family Practice\r\n14 Mill Lane, Bristol BS1 4DJ\r\n"
                              "Telephone 0117 496 0123 - Fax 0117 496 0124\r\n\r\n");
}

std::vector<BodyToken> referralHeader() {
    std::string rtf = std::string(kRtfHead) + "\\pard " + logoRtf(480) +
                      "\\tab\\b\\f0\\fs28\\cf1 Referral Letter\\b0\\cf0\\fs20\\par\r\n"
                      "\\pard\\f0\\fs20 Patient: \\tab\\par\r\nDate of birth: \\tab\\par\r\n"
                      "NHS number: \\tab\\par\r\nUrgency: \\tab routine\\par\r\n\\par\r\n}\r\n";
    return formattedBody(rtf, "Referral Letter\r\nPatient:\t\r\nDate of birth:\t\r\n"
                              "NHS number:\t\r\nUrgency:\troutine\r\n\r\n");
}

std::vector<BodyToken> medicationTable() {
    std::string row = "\\trowd\\trgaph108\\cellx3000\\cellx5000\\cellx7500";
    std::string rtf = std::string(kRtfHead) + "\\pard\\f0\\fs20\r\n" + row +
                      "\\b Medication\\cell Dose\\cell Frequency\\cell\\b0\\row\r\n" + row +
                      " \\cell \\cell \\cell\\row\r\n" + row + " \\cell \\cell \\cell\\row\r\n" +
                      "\\pard\\par\r\n}\r\n";
    return formattedBody(rtf, "Medication\tDose\tFrequency\r\n\t\t\r\n\t\t\r\n");
}

void globalText(Demo& d) {
    d.global("normal chest exam", kTypeText,
             plain("Chest: clear to auscultation bilaterally. No wheeze, crackles or "
                   "bronchial breathing. Good air entry throughout.\r\n"))
        .group("Examination")
        .says("Normal respiratory examination");
    d.global("normal heart exam", kTypeText,
             plain("Heart: regular rate and rhythm. Heart sounds I and II, no added sounds "
                   "or murmurs. No peripheral oedema.\r\n"))
        .group("Examination")
        .says("Normal cardiovascular examination");
    d.global("normal abdominal exam", kTypeText,
             plain("Abdomen: soft and non-tender. No masses or organomegaly. Bowel sounds "
                   "present.\r\n"))
        .group("Examination");
    d.global("normal ENT exam", kTypeText,
             plain("Ears: tympanic membranes intact bilaterally. Throat: no erythema or "
                   "exudate. No cervical lymphadenopathy.\r\n"))
        .group("Examination");
    d.global("normal neuro exam", kTypeText,
             plain("Neurology: cranial nerves II-XII intact. Power 5/5 in all limbs, "
                   "reflexes symmetrical, plantars downgoing.\r\n"))
        .group("Examination")
        .states({"Dictation", "Normal"});
    d.global("insert my signature", kTypeText,
             plain("Dr Helen Marsh MB ChB MRCGP\r\nGeneral Practitioner\r\n"
                   "Riverside Family Practice\r\n"))
        .group("Letters")
        .says("Signature for letters and e-mail");
    d.global("insert practice address", kTypeText,
             plain("Riverside Family Practice\r\n14 Mill Lane\r\nBristol BS1 4DJ\r\n"))
        .group("Letters");
    d.global("smoking cessation advice", kTypeText,
             plain("Advised to stop smoking; the risks were discussed. Referred to the "
                   "local stop smoking service and offered nicotine replacement.\r\n"))
        .group("Advice");
    d.global("safety netting advice", kTypeText,
             plain("Advised to return or call 111 if symptoms worsen, new symptoms develop "
                   "or there is no improvement within 48 hours.\r\n"))
        .group("Advice")
        .says("Standard safety-netting sentence");
    d.global("no known allergies", kTypeText, plain("No known drug allergies.\r\n"))
        .group("Examination");
    d.global("consent obtained", kTypeText,
             plain("Verbal consent obtained after the procedure, its risks and the "
                   "alternatives were explained.\r\n"))
        .group("Advice");
    d.global("fit note wording", kTypeText,
             plain("You may be fit for work taking account of the following advice: amended "
                   "duties and altered hours for four weeks.\r\n"))
        .group("Letters");
    d.global("weight management advice", kTypeText,
             plain("Healthy eating and regular exercise were discussed, with a target weight "
                   "loss of 5 to 10 percent over six months.\r\n"))
        .group("Advice");
    d.global("repeat prescription note", kTypeText,
             plain("Repeat prescription issued for three months. Medication review is due at "
                   "the next appointment.\r\n"))
        .group("Prescribing");
    d.global("insert letterhead", kTypeText, letterhead())
        .group("Letters")
        .says("Practice letterhead with logo");
    d.global("insert referral header", kTypeText, referralHeader())
        .group("Letters")
        .says("Header block for referral letters");
}

void globalKeys(Demo& d) {
    d.global("save the document", kTypeKeys, keys("{Ctrl+s}")).group("Navigation");
    d.global("close that window", kTypeKeys, keys("{Alt+F4}")).group("Navigation");
    d.global("next field", kTypeKeys, keys("{Tab}")).group("Navigation");
    d.global("previous field", kTypeKeys, keys("{Shift+Tab}")).group("Navigation");
    d.global("top of the page", kTypeKeys, keys("{Ctrl+Home}")).group("Navigation");
    d.global("new paragraph please", kTypeKeys, keys("{Enter}{Enter}"));
    d.global("type practice phone", kTypeKeys, keys("0117 496 0123"))
        .group("Letters")
        .says("Keystrokes without braces");
    d.global("type my initials", kTypeKeys, keys("HM/")).group("Letters");
    d.global("type NHS number label", kTypeKeys, keys("NHS No: ")).group("Letters");
    d.global("blood pressure template", kTypeKeys, keys("BP  /  mmHg{Home}{Right 3}"))
        .group("Examination")
        .says("Keystrokes with and without braces");
    d.global("copy that", kTypeKeys, keys("{Ctrl+c}")).group("Editing");
    d.global("paste that here", kTypeKeys, keys("{Ctrl+v}")).group("Editing");
    d.global("undo last change", kTypeKeys, keys("{Ctrl+z}")).group("Editing");
    d.global("capitalise that", kTypeKeys, keys("{Shift+F3}")).group("Editing");
}

void globalScripts(Demo& d) {
    d.global("open patient records", kTypeScript,
             script("AppBringUp \"C:\\Program Files\\Riverside\\PatientRecords.exe\"\r\n"))
        .group("Navigation");
    d.global("start my mail", kTypeScript, script("AppBringUp \"outlook\"\r\n"))
        .group("Navigation");
    d.global("dictate discharge summary", kTypeScript,
             script("AppBringUp \"winword\", \"C:\\Templates\\Discharge Summary.dotx\"\r\n"
                    "Wait 1500\r\nSendKeys \"{Ctrl+End}\"\r\n"))
        .group("Letters");
    d.global("wait then tab", kTypeScript, script("Wait 500\r\nSendKeys \"{Tab}\"\r\n"));
    d.global("open the formulary", kTypeScript,
             script("AppBringUp \"iexplore\", \"http://formulary.bristol.nhs.uk/\"\r\n"))
        .group("Prescribing");
}

void globalAdvanced(Demo& d) {
    d.global("insert today's date", kTypeAdvanced,
             basic("\tSendKeys Format(Now, \"d mmmm yyyy\")\r\n"))
        .group("Letters");
    d.global("insert time seen", kTypeAdvanced,
             basic("\tSendKeys \"Seen at \" & Format(Now, \"hh:nn\") & \". \"\r\n"))
        .group("Examination");
    d.global("prescribe <medication> <dose> <frequency>", kTypeAdvanced,
             basic("\tSendKeys ListVar1 & \" \" & ListVar2 & \" \" & ListVar3 & \", \"\r\n"
                   "\tSendKeys \"supply for 28 days.{Enter}\"\r\n"))
        .group("Prescribing")
        .says("Prescription line from three LISTs")
        .uses({"medication", "dose", "frequency"});
    d.global("refer to <specialist>", kTypeAdvanced,
             basic("\tSendKeys \"I would be grateful if you could see this patient in the \" "
                   "& ListVar1 & \" clinic.\"\r\n"))
        .group("Letters")
        .uses({"specialist"});
    d.global("order <lab test>", kTypeAdvanced,
             basic("\tSendKeys \"Bloods requested: \" & ListVar1 & \".{Enter}\"\r\n"))
        .group("Results")
        .uses({"lab test"});
    d.global("review in <review interval>", kTypeAdvanced,
             basic("\tSendKeys \"Review in \" & ListVar1 & \", sooner if concerned.{Enter}\"\r\n"))
        .group("Scheduling")
        .uses({"review interval"});
    d.global("sign off the letter", kTypeAdvanced,
             basic("\tSendDragonKeys \"{Ctrl+End}{Enter}{Enter}Yours sincerely,{Enter}"
                   "{Enter}{Enter}\"\r\n\tHeardWord \"insert\", \"my\", \"signature\"\r\n"))
        .group("Letters");
    d.global("insert prescription disclaimer", kTypeAdvanced,
             textBody("9Lq2vVx0pR4mZ1cT8yHn3bWs6KdE5jGf7uAo0iQeXrC2lMt4NzYhPv1gBk8SaJ"))
        .group("Prescribing")
        .says("Licensed from the prescribing formulary; cannot be edited")
        .protect("RFP-FORMULARY-2011");
}

void globalRecorded(Demo& d) {
    RecorderBody portal;
    portal
        .window({"IEXPLORE.EXE", "Pathology Results - Windows Internet Explorer", "IEFrame",
                 "Internet Explorer", "Microsoft Corporation", ""})
        .key(kCtrlKey, kDown)
        .key('L', kDown)
        .key('L', kUp)
        .key(kCtrlKey, kUp)
        .mouse(0, 412, 188)
        .mouse(1, 412, 188)
        .mouse(2, 412, 188)
        .event(3)
        .key(kEnterKey, kDown)
        .key(kEnterKey, kUp);
    d.global("open lab results portal", kTypeRecorder, portal.tokens())
        .group("Results")
        .says("Recorded in Internet Explorer");
    RecorderBody file;
    file.window({"WINWORD.EXE", "Document1 - Microsoft Word", "OpusApp", "Microsoft Word",
                 "Microsoft Corporation", ""})
        .key(kF9 + 3, kDown)
        .key(kF9 + 3, kUp)
        .mouse(0, 230, 415)
        .mouse(4, 230, 415)
        .mouse(5, 230, 415);
    d.global("file the letter", kTypeRecorder, file.tokens()).group("Letters");
}

void globalSteps(Demo& d) {
    StepsBody calendar;
    calendar.open("outlook.exe", "/select outlook:calendar", "", 1)
        .wait(1500)
        .press('2', kCtrl)
        .press('T', kAlt);
    d.global("open practice calendar", kTypeStepByStep, calendar.tokens()).group("Scheduling");
    StepsBody dictate;
    dictate.microphoneOff().wait(300).press(kTabKey, kShift).type("Dictated but not read.");
    d.global("end of dictation", kTypeStepByStep, dictate.tokens()).group("Letters");
}

void word(Demo& d) {
    d.app(kWord, "bold that", kTypeKeys, keys("{Ctrl+b}")).group("Formatting");
    d.app(kWord, "insert page break", kTypeKeys, keys("{Ctrl+Enter}")).group("Formatting");
    d.app(kWord, "print preview", kTypeKeys, keys("{Ctrl+F2}"));
    d.app(kWord, "check spelling now", kTypeScript, script("SendKeys \"{F7}\"\r\n"));
    d.app(kWord, "go to <section>", kTypeScript,
          script("SendKeys \"{Ctrl+f}\"\r\nWait 300\r\nSendKeys _arg1 + \"{Enter}{Esc}\"\r\n"))
        .group("Navigation")
        .uses({"section"});
    d.app(kWord, "insert medication table", kTypeText, medicationTable()).group("Prescribing");
    d.app(kWord, "number the list", kTypeAdvanced,
          basic("\tSendKeys \"%oN\"\r\n\tWait 0.3\r\n\tSendKeys \"{Enter}\"\r\n"))
        .group("Formatting");
    d.window(kWord, "Discharge Summary", "discharge follow up", kTypeText,
             plain("Follow up: GP review in two weeks with repeat blood tests. The patient "
                   "has been given a copy of this summary.\r\n"))
        .group("Letters")
        .states({"Dictation"});
    d.window(kWord, "Discharge Summary", "next heading", kTypeStepByStep,
             StepsBody().press(kF9 + 2, kShift).wait(200).press(kEnterKey).tokens())
        .group("Navigation");
    d.window(kWord, "Discharge Summary", "diagnosis heading", kTypeKeys,
             keys("{Ctrl+End}{Enter}Diagnosis:{Tab}"))
        .group("Letters");
    d.window(kWord, "Referral Letter", "referral opening", kTypeText,
             plain("Dear Mr Müller,\r\n\r\nThank you for seeing this patient, whom I would "
                   "be grateful if you could assess.\r\n"))
        .group("Letters")
        .says("Opening paragraph for referrals to Mr Jürgen Müller");
    d.window(kWord, "Referral Letter", "referral closing", kTypeText,
             plain("Many thanks for your help with this patient's care.\r\n\r\nYours "
                   "sincerely,\r\n"))
        .group("Letters");
}

void outlook(Demo& d) {
    d.app(kOutlook, "reply to sender", kTypeKeys, keys("{Ctrl+r}")).group("Outlook Mail");
    d.app(kOutlook, "forward message", kTypeKeys, keys("{Ctrl+f}")).group("Outlook Mail");
    d.app(kOutlook, "send it now", kTypeKeys, keys("{Alt+s}")).group("Outlook Mail");
    d.app(kOutlook, "new appointment", kTypeKeys, keys("{Ctrl+Shift+a}")).group("Scheduling");
    d.app(kOutlook, "file in patient correspondence", kTypeStepByStep,
          StepsBody()
              .press('V', kCtrl | kShift)
              .wait(500)
              .type("Patient Correspondence")
              .press(kEnterKey)
              .tokens())
        .group("Outlook Mail");
    d.app(kOutlook, "flag for follow up", kTypeAdvanced,
          basic("\tDim ol As Object\r\n\tSet ol = GetObject(, \"Outlook.Application\")\r\n"
                "\tol.ActiveExplorer.Selection.Item(1).FlagStatus = 2\r\n"))
        .group("Outlook Mail");
    d.app(kOutlook, "show the inbox", kTypeScript, script("SendKeys \"{Ctrl+Shift+i}\"\r\n"));
    d.window(kOutlook, "Inbox - Microsoft Outlook", "open next message", kTypeKeys,
             keys("{Down}{Enter}"))
        .group("Outlook Mail");
    d.window(kOutlook, "Inbox - Microsoft Outlook", "delete this message", kTypeKeys, keys("{Del}"))
        .group("Outlook Mail");
    d.window(kOutlook, "Untitled - Message (HTML)", "results normal reply", kTypeText,
             plain("Dear patient,\r\n\r\nYour recent blood test results are within normal "
                   "limits and no further action is needed.\r\n\r\nKind regards,\r\n"))
        .group("Outlook Mail")
        .says("Reply to a patient's results query");
    d.window(kOutlook, "Untitled - Message (HTML)", "appointment reminder text", kTypeText,
             plain("This is a reminder of your appointment at Riverside Family Practice. "
                   "Please call 0117 496 0123 if you cannot attend.\r\n"))
        .group("Scheduling");
}

void excel(Demo& d) {
    d.app(kExcel, "next cell down", kTypeKeys, keys("{Enter}")).group("Results");
    d.app(kExcel, "sum the column", kTypeKeys, keys("{Alt+=}")).group("Results");
    d.app(kExcel, "format as date", kTypeKeys, keys("{Ctrl+Shift+#}")).group("Results");
    d.app(kExcel, "new lab sheet", kTypeKeys, keys("{Shift+F11}")).group("Results");
    d.app(kExcel, "enter result for <lab test>", kTypeScript,
          script("SendKeys \"{Ctrl+f}\" + _arg1 + \"{Enter}{Esc}{Tab}\"\r\n"))
        .group("Results")
        .uses({"lab test"});
    d.window(kExcel, "Lab Results.xlsx", "highlight abnormal values", kTypeAdvanced,
             basic("\tDim xl As Object\r\n\tSet xl = GetObject(, \"Excel.Application\")\r\n"
                   "\tWith xl.ActiveSheet.UsedRange.FormatConditions.Add(1, 1, "
                   "\"=$D1\", \"=$E1\")\r\n\t\t.Interior.Color = RGB(255, 199, 206)\r\n"
                   "\tEnd With\r\n"))
        .group("Results");
    d.window(kExcel, "Lab Results.xlsx", "new results row", kTypeStepByStep,
             StepsBody().press(kEscKey).press(40, kCtrl).press(40).press(36).tokens())
        .group("Results");
}

void asleep(Demo& d) {
    d.window(kDragon, "Asleep", "wake up for clinic", kTypeStepByStep,
             StepsBody()
                 .microphoneOn()
                 .open("C:\\Program Files\\Riverside\\PatientRecords.exe", "", "", 1)
                 .tokens())
        .group("Sleep")
        .says("Wakes Dragon and opens the patient records");
    d.window(kDragon, "Asleep", "good morning computer", kTypeStepByStep,
             StepsBody().microphoneOn().wait(500).open("outlook.exe", "", "", 3).tokens())
        .group("Sleep");
    d.window(kDragon, "Asleep", "still asleep", kTypeAdvanced,
             basic("\tBeep\r\n\tSetMicrophone 0\r\n"))
        .group("Sleep");
}

void lists(Demo& d) {
    d.list("medication",
           {"amoxicillin", "amlodipine", "atorvastatin", "levothyroxine", "lisinopril", "metformin",
            "omeprazole", "paracetamol", "ramipril", "salbutamol", "sertraline"});
    d.list("dose", {"5 mg", "10 mg", "20 mg", "40 mg", "250 mg", "500 mg", "850 mg", "1 g"});
    d.list("frequency",
           {"once daily", "twice daily", "three times daily", "at night", "as required"});
    d.list("specialist", {"cardiology", "dermatology", "gastroenterology", "neurology",
                          "ophthalmology", "orthopaedic", "rheumatology"});
    d.list("lab test", {"full blood count", "urea and electrolytes", "liver function tests",
                        "HbA1c", "thyroid function", "lipid profile"});
    d.list("review interval", {"one week", "two weeks", "one month", "three months"});
    d.list("section", {"History", "Examination", "Assessment", "Plan", "Medications"});
}

} // namespace

std::string demoCommandFile() {
    Demo d;
    globalText(d);
    globalKeys(d);
    globalScripts(d);
    globalAdvanced(d);
    globalRecorded(d);
    globalSteps(d);
    word(d);
    outlook(d);
    excel(d);
    asleep(d);
    lists(d);
    return d.build();
}

} // namespace plv::dragon
