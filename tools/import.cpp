// Reading import sources and feeding them, converted to 1254, into the dictionary builder.
#include "tools/import.h"

#include <ostream>
#include <set>
#include <utility>

#include "tools/dictd.h"
#include "tools/file_io.h"
#include "tools/progress.h"
#include "tools/tool_error.h"

namespace kavrel::tool {

namespace {

std::vector<SourceEntry> ReadDictdEntries(const DictdPaths& paths, std::ostream& log, const HeadwordFilter& wanted) {
    const DictdDatabase database = LoadDictdDatabase(paths);
    std::vector<SourceEntry> entries;
    // dictfmt files one article under several index words; read each article once.
    std::set<std::pair<uint64_t, uint64_t>> seen;
    Progress progress(log, "reading " + paths.dict);
    for (size_t i = 0; i < database.index.size(); ++i) {
        const DictdIndexLine& line = database.index[i];
        progress.Update(i, database.index.size());
        if (IsDictdMetaWord(line.word) || (wanted && !wanted(line.word))) continue;
        if (!seen.emplace(line.offset, line.length).second) continue;
        const std::string_view article = std::string_view(database.dict).substr(line.offset, line.length);
        if (const auto bad = FindMalformedUtf8(article)) {
            throw ToolError(database.indexPath + ", line " + std::to_string(line.lineNumber) + ": the entry in " +
                            database.dictPath + " is not valid UTF-8 (byte offset " +
                            std::to_string(line.offset + *bad) + ")");
        }
        entries.push_back(ParseDictdArticle(article));
    }
    return entries;
}

std::string_view WithoutByteOrderMark(std::string_view text) {
    return text.substr(0, 3) == "\xEF\xBB\xBF" ? text.substr(3) : text;
}

void AddToCounts(DictionaryBuilder::AddResult result, ImportCounts& counts) {
    switch (result) {
        case DictionaryBuilder::AddResult::kAdded: ++counts.added; break;
        case DictionaryBuilder::AddResult::kMerged: ++counts.merged; break;
        case DictionaryBuilder::AddResult::kNoHeadword: ++counts.withoutHeadword; break;
        case DictionaryBuilder::AddResult::kNoTranslation: ++counts.withoutTranslation; break;
    }
}

bool IsLowerCaseLetter1254(char c) {
    const auto byte = static_cast<unsigned char>(c);
    return (c >= 'a' && c <= 'z') || byte == 0x9A || byte == 0x9C || (byte >= 0xDF && byte != 0xF7);
}

}  // namespace

void MendScannedCapitalI(std::string& text) {
    bool inWord = false;
    bool lowerCaseWord = false;  // names such as "McIntosh" keep their capitals
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        const bool lower = IsLowerCaseLetter1254(c);
        if (!lower && !StartsWithCapital1254(std::string_view(&c, 1))) {
            inWord = false;
            continue;
        }
        if (!inWord) lowerCaseWord = lower;
        if (inWord && lowerCaseWord && c == 'I' && IsLowerCaseLetter1254(text[i - 1])) text[i] = 'l';
        inWord = true;
    }
}

std::vector<SourceEntry> ReadPlainEntries(std::string_view text, const std::string& fileName) {
    text = WithoutByteOrderMark(text);
    std::vector<SourceEntry> entries;
    size_t lineNumber = 0;
    for (size_t from = 0; from < text.size();) {
        ++lineNumber;
        size_t end = text.find('\n', from);
        if (end == std::string_view::npos) end = text.size();
        std::string_view line = text.substr(from, end - from);
        if (const auto bad = FindMalformedUtf8(line)) {
            throw ToolError(fileName + ", line " + std::to_string(lineNumber) + ": malformed UTF-8 at byte offset " +
                            std::to_string(from + *bad));
        }
        // Exported files end lines with LF; a stray CR (CR LF files, LF CR data) is no text.
        while (!line.empty() && line.back() == '\r') line.remove_suffix(1);
        while (!line.empty() && line.front() == '\r') line.remove_prefix(1);
        if (!line.empty()) entries.push_back(ParsePlainLine(line));
        from = end + 1;
    }
    return entries;
}

std::vector<SourceEntry> ReadSourceEntries(const std::string& path, std::ostream& log) {
    return ReadSourceEntries(path, log, nullptr);
}

std::vector<SourceEntry> ReadSourceEntries(const std::string& path, std::ostream& log, const HeadwordFilter& wanted) {
    if (const auto dictd = FindDictdFiles(path)) return ReadDictdEntries(*dictd, log, wanted);
    std::vector<SourceEntry> entries = ReadPlainEntries(ReadWholeFile(path), path);
    if (wanted) std::erase_if(entries, [&](const SourceEntry& entry) { return !wanted(entry.headword); });
    return entries;
}

void AddPivotSource(const ImportSource& source, size_t language, Triangulation& triangulation, std::ostream& log) {
    ConversionCounts ignored;
    const auto to1254 = [&](std::string_view utf8) { return ConvertUtf8To1254Lenient(utf8, ignored); };
    HeadwordFilter wanted;
    if (!source.reverse) wanted = [&](std::string_view word) { return triangulation.Wants(language, to1254(word)); };
    const std::vector<SourceEntry> entries = ReadSourceEntries(source.path, log, wanted);
    for (const SourceEntry& entry : entries) {
        const std::string headword = to1254(entry.headword);
        for (const std::string& translation : entry.translations) {
            if (source.reverse) {
                triangulation.AddPivotPair(language, to1254(translation), headword);
            } else {
                triangulation.AddPivotPair(language, headword, to1254(translation));
            }
        }
    }
    log << "kavrel-tool: " << source.path << ": " << entries.size() << " entries read for pivot language "
        << language + 1 << (source.reverse ? " (reversed)" : "") << "\n";
}

void Importer::AddSource(const ImportSource& source) {
    std::vector<SourceEntry> entries = ReadSourceEntries(source.path, log_);
    if (source.unordered) {
        for (SourceEntry& entry : entries) entry.senses.assign(entry.translations.size(), 1);
    }
    const ImportCounts before = counts_;
    AddEntries(entries, source.reverse);
    log_ << "kavrel-tool: " << source.path << ": " << entries.size() << " entries read"
         << (source.reverse ? " (reversed)" : "") << ", " << counts_.added - before.added << " new headwords, "
         << counts_.merged - before.merged << " merged\n";
}

void Importer::AddTriangulatedHeadwords() {
    const size_t added = builder_.AddTriangulatedHeadwords();
    counts_.added += added;
    if (added > 0) log_ << "kavrel-tool: " << added << " new headwords found through pivot languages\n";
}

void Importer::AddEntries(const std::vector<SourceEntry>& entries, bool reverse) {
    counts_.read += entries.size();
    // The source's headwords are the file's translations when it is reversed.
    const TurkishSide sourceHeadwords = reverse ? TurkishSide::kTranslations : TurkishSide::kHeadwords;
    const bool mendHeadword = turkishSide_ == sourceHeadwords;
    const bool mendTranslations = turkishSide_ != TurkishSide::kNone && !mendHeadword;
    for (const SourceEntry& entry : entries) {
        std::string headword = ConvertUtf8To1254Lenient(entry.headword, counts_.conversion);
        if (mendHeadword) MendScannedCapitalI(headword);
        std::vector<std::string> translations;
        for (const std::string& translation : entry.translations) {
            translations.push_back(ConvertUtf8To1254Lenient(translation, counts_.conversion));
            if (mendTranslations) MendScannedCapitalI(translations.back());
        }
        if (!reverse) {
            AddToCounts(builder_.Add(headword, translations, entry.senses), counts_);
            continue;
        }
        if (translations.empty()) ++counts_.withoutTranslation;
        for (size_t i = 0; i < translations.size(); ++i) {
            const size_t sense = i < entry.senses.size() ? entry.senses[i] : i + 1;
            const bool rare = i < entry.rare.size() && entry.rare[i];
            AddToCounts(builder_.AddReversed(translations[i], headword, sense, i + 1, rare), counts_);
        }
    }
}


}  // namespace kavrel::tool
