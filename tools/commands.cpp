// Argument handling and the work of each command.
#include "tools/commands.h"

#include <algorithm>
#include <cstdio>
#include <iostream>
#include <string_view>
#include <utility>

#include "core/cp1254.h"
#include "core/dictionary_load.h"
#include "core/entry_text.h"
#include "core/scramble.h"
#include "core/word_table.h"
#include "tools/dictd.h"
#include "tools/file_io.h"
#include "tools/import.h"
#include "tools/rate.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

using Args = std::vector<std::string>;

// Splits off the leading "--flag" arguments a command accepts; anything else starting with
// "--" is an error. "-" alone is an operand (stdin/stdout).
struct ParsedArgs {
    std::vector<std::string> flags;
    std::vector<std::string> operands;
};

ParsedArgs ParseArgs(const Args& args, std::initializer_list<std::string_view> knownFlags) {
    ParsedArgs parsed;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        const bool looksLikeFlag = arg.size() > 1 && arg[0] == '-';
        if (!looksLikeFlag) {
            parsed.operands.push_back(arg);
            continue;
        }
        bool known = false;
        for (std::string_view flag : knownFlags) known = known || arg == flag;
        if (!known) throw ToolError(args[0] + ": unknown option " + arg + " (see kavrel-tool --help)");
        parsed.flags.push_back(arg);
    }
    return parsed;
}

bool HasFlag(const ParsedArgs& parsed, std::string_view flag) {
    for (const std::string& f : parsed.flags) {
        if (f == flag) return true;
    }
    return false;
}

void ExpectOperands(const ParsedArgs& parsed, size_t count, const std::string& command, std::string_view usage) {
    if (parsed.operands.size() != count) {
        throw ToolError(command + ": expected " + std::string(usage) + " (see kavrel-tool --help)");
    }
}

std::string CodePointName(char32_t cp) {
    char buffer[16];
    std::snprintf(buffer, sizeof buffer, "U+%04X", static_cast<unsigned>(cp));
    return buffer;
}

// 1-based line of a byte offset.
size_t LineOfOffset(std::string_view text, size_t offset) {
    size_t line = 1;
    for (size_t i = 0; i < offset && i < text.size(); ++i) line += text[i] == '\n';
    return line;
}

// UTF-8 to 1254 for pack: every character must be held by 1254 as it is.
std::string StrictUtf8To1254(const std::string& utf8, const std::string& name) {
    Utf8Conversion conversion = Utf8To1254(utf8);
    if (conversion.ok) return std::move(conversion.text);
    const std::string place = name + ", line " + std::to_string(LineOfOffset(utf8, conversion.errorOffset)) +
                              ", byte offset " + std::to_string(conversion.errorOffset);
    if (conversion.badCodePoint == 0) throw ToolError(place + ": malformed UTF-8");
    std::string character;
    AppendUtf8(character, conversion.badCodePoint);
    throw ToolError(place + ": character " + CodePointName(conversion.badCodePoint) + " \"" + character +
                    "\" cannot be written in Windows-1254");
}

std::string InputName(const std::string& path) { return path == kStdStream ? "standard input" : path; }

// The plain text of a data file, up to its first zero byte as the program reads it.
std::string ReadDataFilePlain(const std::string& path, std::istream& in) {
    std::string plain = ReadInput(path, in);
    UnscrambleText(plain);
    plain.resize(LengthBeforeZero(plain));
    return plain;
}

// The program stops reading a dictionary at its first zero byte, so a packed zero byte
// would make every entry after it unreachable.
void RefuseZeroByte(std::string_view text, const std::string& name) {
    const size_t zero = text.find('\0');
    if (zero == std::string_view::npos) return;
    throw ToolError(name + ", line " + std::to_string(LineOfOffset(text, zero)) + ", byte offset " +
                    std::to_string(zero) + ": a zero byte, where the program would stop reading the dictionary");
}

int RunPack(const Args& args, std::istream& in, std::ostream& out) {
    const ParsedArgs parsed = ParseArgs(args, {"--from-utf8"});
    ExpectOperands(parsed, 2, "pack", "pack [--from-utf8] IN OUT");
    std::string text = ReadInput(parsed.operands[0], in);
    RefuseZeroByte(text, InputName(parsed.operands[0]));
    if (HasFlag(parsed, "--from-utf8")) text = StrictUtf8To1254(text, InputName(parsed.operands[0]));
    ScrambleText(text);
    WriteOutput(parsed.operands[1], text, out);
    return kExitOk;
}

int RunUnpack(const Args& args, std::istream& in, std::ostream& out) {
    const ParsedArgs parsed = ParseArgs(args, {"--to-utf8"});
    ExpectOperands(parsed, 2, "unpack", "unpack [--to-utf8] IN OUT");
    std::string text = ReadInput(parsed.operands[0], in);
    UnscrambleText(text);
    if (HasFlag(parsed, "--to-utf8")) text = Utf8From1254(text);
    WriteOutput(parsed.operands[1], text, out);
    return kExitOk;
}

// import takes its sources in order, "--reverse" (or "-r") and "--unordered" marking the one
// that follows them; the ranking options take a value each and may stand anywhere.
struct ImportArgs {
    std::vector<ImportSource> sources;
    std::string output;
    std::string language;
    std::vector<std::string> headwordDatabases;
    std::vector<std::string> senseCountFiles;
    // Pivot sources: each with the Turkish -> pivot data file whose language it extends.
    std::vector<std::pair<std::string, ImportSource>> pivots;
    std::vector<std::string> witnessOnlyFiles;  // pivot files that order and confirm, no more
};

// The value of the option at args[i], which must follow it.
const std::string& OptionValue(const Args& args, size_t& i) {
    if (i + 1 >= args.size()) throw ToolError("import: " + args[i] + " needs a value (see kavrel-tool --help)");
    return args[++i];
}

ImportArgs ParseImportArgs(const Args& args) {
    ImportArgs parsed;
    std::vector<ImportSource> operands;  // the sources and the output, with their flags
    ImportSource next;
    for (size_t i = 1; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--reverse" || arg == "-r" || arg == "--unordered") {
            bool& flag = arg == "--unordered" ? next.unordered : next.reverse;
            if (flag) throw ToolError("import: " + arg + " given twice for one source");
            flag = true;
        } else if (arg == "--language") {
            parsed.language = OptionValue(args, i);
        } else if (arg == "--headwords-of") {
            parsed.headwordDatabases.push_back(OptionValue(args, i));
        } else if (arg == "--sense-counts") {
            parsed.senseCountFiles.push_back(OptionValue(args, i));
        } else if (arg == "--witness-only") {
            parsed.witnessOnlyFiles.push_back(OptionValue(args, i));
        } else if (arg == "--pivot" || arg == "--pivot-reversed") {
            std::string file = OptionValue(args, i);
            parsed.pivots.push_back({std::move(file), {OptionValue(args, i), arg == "--pivot-reversed"}});
        } else if (arg.size() > 1 && arg[0] == '-') {
            throw ToolError("import: unknown option " + arg + " (see kavrel-tool --help)");
        } else {
            next.path = arg;
            operands.push_back(std::exchange(next, {}));
        }
    }
    const auto flagged = [](const ImportSource& source) { return source.reverse || source.unordered; };
    if (operands.size() < 2 || flagged(next) || flagged(operands.back())) {
        throw ToolError("import: expected import [--reverse|--unordered] SOURCE [[...] SOURCE...] OUT (see kavrel-tool --help)");
    }
    for (const ImportSource& source : operands) {
        if (source.reverse && source.unordered) {
            throw ToolError("import: --unordered is for a source that is not reversed (" + source.path + ")");
        }
    }
    parsed.output = operands.back().path;
    operands.pop_back();
    parsed.sources = std::move(operands);
    return parsed;
}

CaseRule CaseRuleOfLanguage(const std::string& language) {
    if (language.empty() || language == "deu") return CaseRule::kNouns;
    if (language == "eng" || language == "tur") return CaseRule::kProperWords;
    if (language == "fra" || language == "ita") return CaseRule::kNamesOnly;
    throw ToolError("import: unknown --language " + language + " (deu, eng, fra, ita or tur)");
}

TurkishSide TurkishSideOfLanguage(const std::string& language) {
    if (language.empty()) return TurkishSide::kNone;
    return language == "tur" ? TurkishSide::kTranslations : TurkishSide::kHeadwords;
}

// The evidence of how common the translations' words are, as the options name it.
void ReadCommonness(const ImportArgs& parsed, Commonness& commonness) {
    for (const std::string& database : parsed.headwordDatabases) {
        const auto paths = FindDictdFiles(database);
        if (!paths) throw ToolError("import: " + database + " is no dictd database (no .index file)");
        commonness.AddDictionaryHeadwords(ReadWholeFile(paths->index), paths->index);
    }
    for (const std::string& file : parsed.senseCountFiles) commonness.AddSenseCounts(ReadWholeFile(file));
}

// The pivot languages as the options name them: one per Turkish -> pivot data file, in the
// order first named, each with all its sources.
void ReadPivots(const ImportArgs& parsed, Triangulation& triangulation, std::ostream& log) {
    std::vector<std::string> files;
    for (const auto& [file, source] : parsed.pivots) {
        auto known = std::find(files.begin(), files.end(), file);
        if (known == files.end()) {
            std::string plain = ReadWholeFile(file);
            UnscrambleText(plain);
            plain.resize(LengthBeforeZero(plain));
            const auto& witnesses = parsed.witnessOnlyFiles;
            triangulation.AddPivotLanguage(plain, std::find(witnesses.begin(), witnesses.end(), file) == witnesses.end());
            known = files.insert(files.end(), file);
        }
        AddPivotSource(source, static_cast<size_t>(known - files.begin()), triangulation, log);
    }
    for (const std::string& file : parsed.witnessOnlyFiles) {
        if (std::find(files.begin(), files.end(), file) == files.end()) {
            throw ToolError("import: --witness-only " + file + " names no --pivot file");
        }
    }
}

void ReportImport(const Importer& importer, const std::string& output, std::ostream& err) {
    const ImportCounts& c = importer.Counts();
    err << "kavrel-tool: " << output << ": " << importer.EntryCount() << " entries written from " << c.read
        << " read; " << c.merged << " merged into an earlier headword; skipped " << c.withoutTranslation
        << " without translation and " << c.withoutHeadword << " without headword; "
        << c.conversion.transliterated << " characters transliterated, " << c.conversion.dropped << " dropped\n";
}

int RunImport(const Args& args, std::ostream& out, std::ostream& err) {
    const ImportArgs parsed = ParseImportArgs(args);
    Importer importer(err);
    importer.SetCaseRule(CaseRuleOfLanguage(parsed.language));
    importer.SetTurkishSide(TurkishSideOfLanguage(parsed.language));
    Commonness commonness;
    ReadCommonness(parsed, commonness);
    importer.SetCommonness(&commonness);
    Triangulation triangulation;
    ReadPivots(parsed, triangulation, err);
    importer.SetTriangulation(&triangulation);
    for (const ImportSource& source : parsed.sources) importer.AddSource(source);
    if (importer.EntryCount() == 0) {
        throw ToolError("import: the sources hold no entry; " + parsed.output + " is left as it was");
    }
    importer.AddTriangulatedHeadwords();
    std::string data = importer.PlainText();
    ScrambleText(data);
    WriteOutput(parsed.output, data, out);
    ReportImport(importer, parsed.output, err);
    return kExitOk;
}

int RunExport(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    const ParsedArgs parsed = ParseArgs(args, {});
    ExpectOperands(parsed, 2, "export", "export FILE OUT");
    const std::string plain = ReadDataFilePlain(parsed.operands[0], in);
    std::string utf8;
    size_t lines = 0;
    ForEachLine(plain, [&](std::string_view line) {
        utf8 += Utf8From1254(line);
        utf8 += '\n';
        ++lines;
    });
    WriteOutput(parsed.operands[1], utf8, out);
    err << "kavrel-tool: " << parsed.operands[1] << ": " << lines << " lines exported\n";
    return kExitOk;
}

int RunLookup(const Args& args, std::istream& in, std::ostream& out) {
    const ParsedArgs parsed = ParseArgs(args, {});
    ExpectOperands(parsed, 2, "lookup", "lookup FILE WORD");
    const std::string word = StrictUtf8To1254(parsed.operands[1], "the word");
    WordTable table;
    LoadDictionaryText(ReadDataFilePlain(parsed.operands[0], in), table, nullptr);
    const auto line = table.Find(word);
    if (!line) return kExitNotFound;
    const EntryParts parts = SplitEntry(*line);
    std::string text = Utf8From1254(parts.headword) + "\n";
    for (const std::string& row : SplitTranslations(parts.translations)) text += Utf8From1254(row) + "\n";
    out << text << std::flush;
    return kExitOk;
}

int RunCommand(const Args& args, std::istream& in, std::ostream& out, std::ostream& err) {
    const std::string& command = args[0];
    if (command == "pack") return RunPack(args, in, out);
    if (command == "unpack") return RunUnpack(args, in, out);
    if (command == "import") return RunImport(args, out, err);
    if (command == "export") return RunExport(args, in, out, err);
    if (command == "lookup") return RunLookup(args, in, out);
    if (command == "rate") return RunRate(args, out);
    throw ToolError("unknown command \"" + command + "\" (see kavrel-tool --help)");
}

}  // namespace

int RunTool(const std::vector<std::string>& args, std::istream& in, std::ostream& out, std::ostream& err) {
    if (args.empty()) {
        err << UsageText();
        return kExitFailure;
    }
    if (args[0] == "--help" || args[0] == "-h" || args[0] == "help") {
        out << UsageText();
        return kExitOk;
    }
    try {
        return RunCommand(args, in, out, err);
    } catch (const ToolError& error) {
        err << "kavrel-tool: " << error.what() << '\n';
        return kExitFailure;
    } catch (const std::bad_alloc&) {
        err << "kavrel-tool: out of memory\n";
        return kExitFailure;
    } catch (const std::exception& error) {
        // Not meant to happen; still an error exit with a message rather than an abort.
        err << "kavrel-tool: " << args[0] << " failed: " << error.what() << '\n';
        return kExitFailure;
    }
}

}  // namespace kavrel::tool
