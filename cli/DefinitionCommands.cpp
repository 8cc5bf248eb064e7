// info: prints a definition (or, for a compiled catalogue, hands over to the catalogue side);
// create: writes a definition, from JSON or new.
#include <unistd.h>

#include <CLI/CLI.hpp>
#include <algorithm>
#include <cstdio>
#include <cstring>
#include <fstream>
#include <limits>
#include <memory>
#include <ostream>
#include <vector>

#include "CliCommands.h"
#include "CliInteraction.h"
#include "DefinitionJson.h"
#include "core/io/AtomicFile.h"
#include "core/io/InputFile.h"
#include "core/model/CatforgeDoc.h"
#include "core/symbols/SymbolTables.h"

namespace {

constexpr char kCatalogMagic[] = "zdc0Data";

// JSON definitions may come through a pipe; more than this is refused.
constexpr std::uint64_t kMaxJsonSize = std::uint64_t{128} << 20;

// The first 8 bytes of a regular file, or fewer when it is shorter or cannot be read.
std::string FileMagic(const std::string& path) {
    std::string kind;
    const int fd = OpenInputFile(path, kind);
    if (fd < 0)
        return {};
    char magic[8] = {};
    const ssize_t got = ::pread(fd, magic, sizeof magic, 0);
    ::close(fd);
    return std::string(magic, static_cast<std::size_t>(std::max<ssize_t>(got, 0)));
}

// A one-line string for the listing: bytes as Latin-1, control bytes escaped.
std::string Quoted(const std::string& bytes) {
    std::string out = "\"";
    for (const char c : bytes) {
        const auto b = static_cast<unsigned char>(c);
        if (c == '"' || c == '\\') {
            out += '\\';
            out += c;
        } else if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c == '\t') {
            out += "\\t";
        } else if (b < 0x20 || b == 0x7F) {
            char escaped[8];
            std::snprintf(escaped, sizeof escaped, "\\x%02X", b);
            out += escaped;
        } else {
            out += Latin1ToUtf8(std::string_view(&c, 1));
        }
    }
    return out + "\"";
}

// Multi-line text (notes, symbol instructions): one output line per line of text, indented.
void PrintLines(std::ostream& out, const std::string& bytes, const std::string& indent) {
    std::string line;
    const auto flush = [&] {
        const std::string quoted = Quoted(line);
        out << indent << quoted.substr(1, quoted.size() - 2) << '\n';
        line.clear();
    };
    for (std::size_t i = 0; i < bytes.size(); ++i) {
        if (bytes[i] == '\r' || bytes[i] == '\n') {
            if (bytes[i] == '\r' && i + 1 < bytes.size() && bytes[i + 1] == '\n')
                ++i;
            flush();
        } else {
            line += bytes[i];
        }
    }
    if (!line.empty())
        flush();
}

std::string Hex(Colour colour) {
    char text[16];
    std::snprintf(text, sizeof text, "0x%08X", static_cast<unsigned>(colour));
    return text;
}

// A name from a fixed list of choices, or a mark for a value outside it.
std::string Choice(int value, std::initializer_list<const char*> names) {
    if (value >= 0 && static_cast<std::size_t>(value) < names.size()) {
        return names.begin()[value];
    }
    return "(no such choice " + std::to_string(value) + ")";
}

class CDefinitionPrinter {
public:
    CDefinitionPrinter(std::ostream& out, const CCatforgeDoc& doc) : m_out(out), m_doc(doc) {
        for (const UserSymbol& symbol : doc.m_aUserSymbols) {
            m_astrSymbolNames.push_back(symbol.m_strName);
        }
    }

    void Print() {
        Group("General");
        Item("Title", Quoted(m_doc.m_strTitle));
        Item("Data file", Quoted(m_doc.GetDataFile()));
        Item("Record length", std::to_string(m_doc.m_nRecordLength));
        Item("Notes", m_doc.m_strNotes.empty() ? "(none)" : "");
        PrintLines(m_out, m_doc.m_strNotes, "    ");
        PrintFields();

        Group("Position");
        Item("RA notation", Choice(m_doc.m_nRaNotation, {"Hours, minutes and seconds",
                                                         "Hours and minutes", "Hours only"}));
        Item("RA hours", Field(m_doc.m_nRaHoursField));
        Item("RA minutes", Field(m_doc.m_nRaMinutesField));
        Item("RA seconds", Field(m_doc.m_nRaSecondsField));
        Item("Dec notation",
             Choice(m_doc.m_nDecNotation,
                    {"Sign, Degree, Min, Sec", "Sign, Degrees, Minutes", "Signed degrees"}));
        Item("Dec sign", Field(m_doc.m_nDecSignField));
        Item("Dec degrees", Field(m_doc.m_nDecDegreesField));
        Item("Dec minutes", Field(m_doc.m_nDecMinutesField));
        Item("Dec seconds", Field(m_doc.m_nDecSecondsField));
        Item("Epoch", Quoted(m_doc.m_strEpoch));

        Group("Labels");
        Item("Label count", std::to_string(m_doc.m_nLabelCount));
        for (std::size_t i = 0; i < 3; ++i) {
            Item("Label " + std::to_string(i + 1),
                 Field(m_doc.m_anLabelField[i]) + ", prefix " + Quoted(m_doc.m_astrLabelPrefix[i]));
        }

        Group("Size");
        Item("Size fields", Choice(m_doc.m_nSizeFields,
                                   {"No size fields", "Major axis only", "Major and minor axes"}));
        Item("Size units",
             Choice(m_doc.m_nSizeUnits, {"degrees", "minutes of arc", "seconds of arc"}));
        Item("Size gives", Choice(m_doc.m_nSizeMeaning, {"radius", "diameter"}));
        Item("Major axis", Field(m_doc.m_nMajorAxisField));
        Item("Minor axis", Field(m_doc.m_nMinorAxisField));
        Item("Position angle", std::string(m_doc.m_bPositionAngle != 0 ? "yes" : "no") + ", " +
                                   Field(m_doc.m_nPositionAngleField));

        Group("Magnitudes");
        Item("Magnitude count", std::to_string(m_doc.m_nMagnitudeCount));
        for (std::size_t i = 0; i < 3; ++i) {
            Item("Magnitude " + std::to_string(i + 1), Field(m_doc.m_anMagnitudeField[i]));
        }

        Group("Object type and colour");
        Item("Type mode", Choice(m_doc.m_nTypeMode, {"All objects in catalog have the same type",
                                                     "Object type varies according to list "
                                                     "below"}));
        Item("Default type", Type(m_doc.m_nDefaultType));
        Item("Default symbol", Symbol(m_doc.m_nDefaultSymbol));
        Item("Colour mode",
             Choice(m_doc.m_nColourMode, {"Use standard map colours", "Define custom colour"}));
        Item("Screen colour", Hex(m_doc.m_crScreenColour));
        Item("Printer colour", Hex(m_doc.m_crPrinterColour));

        PrintUserSymbols();
        PrintTypeRules();
    }

private:
    void Group(const std::string& name) { m_out << name << '\n'; }
    void Item(const std::string& name, const std::string& value) {
        std::string line = "  " + name + ":";
        if (!value.empty())
            line.resize(std::max<std::size_t>(line.size() + 1, 20), ' ');
        m_out << line << value << '\n';
    }

    // A field selection: index and name, or a mark when it names no field.
    std::string Field(int index) const {
        if (index == kNoField)
            return "(none)";
        if (index < 0 || static_cast<std::size_t>(index) >= m_doc.m_aFields.size()) {
            return "(no field " + std::to_string(index) + ")";
        }
        return std::to_string(index) + " " +
               Quoted(m_doc.m_aFields[static_cast<std::size_t>(index)].m_strName);
    }
    std::string Type(int code) const {
        const std::string name = ObjectTypeName(code);
        return (name.empty() ? "(no type)" : Quoted(name)) + " (" + std::to_string(code) + ")";
    }
    std::string Symbol(int code) const {
        const bool known = code < 0 ? -1LL - code < static_cast<long long>(m_astrSymbolNames.size())
                                    : code < kStandardSymbolCount;
        const std::string name = SymbolName(code, m_astrSymbolNames);
        return (known ? Quoted(name) : "(no symbol)") + " (" + std::to_string(code) + ")";
    }

    void PrintFields() {
        m_out << "Fields (" << m_doc.m_aFields.size() << ")\n";
        if (m_doc.m_aFields.empty())
            return;
        std::size_t nameWidth = 4;
        std::size_t unitWidth = 4;
        std::vector<std::pair<std::string, std::string>> texts;
        for (const FieldDefinition& field : m_doc.m_aFields) {
            texts.emplace_back(Quoted(field.m_strName), Quoted(field.m_strUnit));
            nameWidth = std::max(nameWidth, texts.back().first.size());
            unitWidth = std::max(unitWidth, texts.back().second.size());
        }
        const auto pad = [](std::string s, std::size_t width) {
            s.resize(std::max(width, s.size()), ' ');
            return s;
        };
        const auto right = [](const std::string& s, std::size_t width) {
            return std::string(width > s.size() ? width - s.size() : 0, ' ') + s;
        };
        m_out << right("#", 5) << "  " << pad("Name", nameWidth) << "  " << pad("Unit", unitWidth)
              << right("Start", 7) << right("End", 7) << right("Width", 7) << '\n';
        for (std::size_t i = 0; i < texts.size(); ++i) {
            const FieldDefinition& field = m_doc.m_aFields[i];
            const long long width = 1LL + field.m_nEndCol - field.m_nStartCol;
            m_out << right(std::to_string(i), 5) << "  " << pad(texts[i].first, nameWidth) << "  "
                  << pad(texts[i].second, unitWidth) << right(std::to_string(field.m_nStartCol), 7)
                  << right(std::to_string(field.m_nEndCol), 7) << right(std::to_string(width), 7)
                  << '\n';
        }
    }

    void PrintUserSymbols() {
        m_out << "User symbols (" << m_doc.m_aUserSymbols.size() << ")\n";
        for (std::size_t i = 0; i < m_doc.m_aUserSymbols.size(); ++i) {
            const UserSymbol& symbol = m_doc.m_aUserSymbols[i];
            m_out << "  " << -1 - static_cast<long long>(i) << "  " << Quoted(symbol.m_strName)
                  << '\n';
            PrintLines(m_out, symbol.m_strInstructions, "      ");
        }
    }

    void PrintTypeRules() {
        m_out << "Type rules (" << m_doc.m_aTypeRules.size() << ")\n";
        for (std::size_t i = 0; i < m_doc.m_aTypeRules.size(); ++i) {
            const TypeRule& rule = m_doc.m_aTypeRules[i];
            m_out << "  " << i + 1 << ". field " << Field(rule.m_nField) << " begins with "
                  << Quoted(rule.m_strValue) << ": type " << Type(rule.m_nType) << ", symbol "
                  << Symbol(rule.m_nSymbol) << '\n';
        }
    }

    std::ostream& m_out;
    const CCatforgeDoc& m_doc;
    std::vector<std::string> m_astrSymbolNames;
};

struct InfoOptions {
    std::string path;
    bool json = false;
    int entries = 0;
};

struct CreateOptions {
    std::string jsonPath;
    std::string outPath;
};

int RunInfo(CliContext& context, const InfoOptions& options) {
    if (FileMagic(options.path) == std::string_view(kCatalogMagic, 8)) {
        return RunCatalogInfo(context, options.path, options.entries);
    }
    CCliInteraction ui(context.err);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    if (!doc.OpenDocument(options.path))
        return kExitRefused;
    if (options.json) {
        context.out << DefinitionToJson(doc).dump(2) << '\n';
    } else {
        context.out << "Definition " << Quoted(options.path) << '\n';
        CDefinitionPrinter(context.out, doc).Print();
    }
    return kExitOk;
}

int RunCreate(CliContext& context, const CreateOptions& options) {
    CCliInteraction ui(context.err);
    CCatforgeDoc doc;
    doc.SetInteraction(&ui);
    if (SameFile(options.outPath, options.jsonPath)) {
        context.err << "error: \"" << options.outPath
                    << "\" is the JSON being read; the definition needs another name.\n";
        return kExitRefused;
    }
    if (!options.jsonPath.empty()) {
        std::string text;
        std::string error;
        if (!ReadWholeFile(options.jsonPath, text, &error, kMaxJsonSize, true)) {
            context.err << "error: " << error << '\n';
            return kExitRefused;
        }
        DefinitionJson json;
        try {
            json = DefinitionJson::parse(text);
        } catch (const DefinitionJson::parse_error& e) {
            context.err << "error: " << options.jsonPath << ": not valid JSON: " << e.what()
                        << '\n';
            return kExitRefused;
        }
        if (!DefinitionFromJson(json, doc, error)) {
            context.err << "error: " << options.jsonPath << ": " << error << '\n';
            return kExitRefused;
        }
    }
    return doc.OnSaveDocument(options.outPath) ? kExitOk : kExitRefused;
}

}  // namespace

void AddDefinitionCommands(CLI::App& app, CliContext& context) {
    auto info = std::make_shared<InfoOptions>();
    auto* infoCommand = app.add_subcommand(
        "info", "Print a definition (.zdd), or a compiled catalogue (.zdc), found by its magic");
    infoCommand->add_option("FILE", info->path, "definition or catalogue file")
        ->required()
        ->check(kFileName);
    infoCommand->add_flag("--json", info->json,
                          "print the definition as JSON (the input of create --from-json)");
    infoCommand->add_option("--entries", info->entries, "catalogues: how many entries to print")
        ->check(CLI::Range(0, std::numeric_limits<int>::max()));
    infoCommand->callback([&context, info] { context.status = RunInfo(context, *info); });

    auto create = std::make_shared<CreateOptions>();
    auto* createCommand = app.add_subcommand(
        "create", "Write a definition: from JSON as printed by info --json, or a new one");
    createCommand
        ->add_option("--from-json", create->jsonPath,
                     "JSON definition; members left out take their defaults")
        ->check(kFileName);
    createCommand->add_option("OUT", create->outPath, "definition file to write")
        ->required()
        ->check(kFileName);
    createCommand->callback([&context, create] { context.status = RunCreate(context, *create); });
}
