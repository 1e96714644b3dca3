// The import: dictd databases and plain "headword<TAB>translations" files, each read as is
// or reversed, merged into one dictionary and written as a data file, with a report of
// what happened on the log stream.
#pragma once

#include <functional>
#include <iosfwd>
#include <string_view>
#include <string>
#include <vector>

#include "tools/convert.h"
#include "tools/dictionary_builder.h"
#include "tools/source_entry.h"
#include "tools/triangulation.h"

namespace kavrel::tool {

struct ImportSource {
    std::string path;
    bool reverse = false;  // translations become headwords, the headword their translation
    // Its senses and their translations follow no order of importance (Ergane sorts both by
    // the words of the language it was made through): each article is one sense, ordered by
    // witnesses and commonness. Only for a source that is not reversed.
    bool unordered = false;
};

// The entries of a source, UTF-8: a dictd database when path names one (NAME, NAME.index
// or NAME.dict[.dz] with NAME.index beside it), else a plain UTF-8 text of lines. Throws
// ToolError naming the file and place of anything broken.
std::vector<SourceEntry> ReadSourceEntries(const std::string& path, std::ostream& log);

// The same, only the entries whose headword (UTF-8) passes wanted: a dictd database then
// parses only the articles of the index words that pass, so a large one costs little.
using HeadwordFilter = std::function<bool(std::string_view headword)>;
std::vector<SourceEntry> ReadSourceEntries(const std::string& path, std::ostream& log, const HeadwordFilter& wanted);

// Adds the pairs of a pivot -> target source to a pivot language of the triangulation; a
// reversed source is a target -> pivot one.
void AddPivotSource(const ImportSource& source, size_t language, Triangulation& triangulation, std::ostream& log);

// The entries of a dictd article text / a plain text; fileName only names errors.
std::vector<SourceEntry> ReadPlainEntries(std::string_view text, const std::string& fileName);


struct ImportCounts {
    size_t read = 0;                // source entries
    size_t added = 0;               // new headwords
    size_t merged = 0;              // joined a headword already there
    size_t withoutTranslation = 0;  // skipped
    size_t withoutHeadword = 0;     // skipped
    ConversionCounts conversion;
};

// Which side of the data file is Turkish, whose text is mended as the sources need it.
enum class TurkishSide { kNone, kHeadwords, kTranslations };

// A capital I after a lower-case letter inside a word that starts in lower case is a scanned
// l ("\xF6I\xFCm" written for "\xF6l\xFCm"): Turkish writes capitals only at a word's start.
// The 1254 text is mended in place.
void MendScannedCapitalI(std::string& text);

class Importer {
public:
    explicit Importer(std::ostream& log) : log_(log) {}

    // How reversed translations are ranked: see DictionaryBuilder.
    void SetCaseRule(CaseRule rule) { builder_.SetCaseRule(rule); }
    void SetCommonness(const Commonness* commonness) { builder_.SetCommonness(commonness); }
    void SetTurkishSide(TurkishSide side) { turkishSide_ = side; }
    void SetTriangulation(const Triangulation* triangulation) { builder_.SetTriangulation(triangulation); }

    // Reads one source and adds its entries; reports its counts on the log.
    void AddSource(const ImportSource& source);
    // Adds entries already read (UTF-8).
    void AddEntries(const std::vector<SourceEntry>& entries, bool reverse);
    // After the sources: adds the headwords only pivot languages give; reports the count.
    void AddTriangulatedHeadwords();

    const ImportCounts& Counts() const { return counts_; }
    size_t EntryCount() const { return builder_.EntryCount(); }
    std::string PlainText() const { return builder_.PlainText(); }

private:
    std::ostream& log_;
    DictionaryBuilder builder_;
    ImportCounts counts_;
    TurkishSide turkishSide_ = TurkishSide::kNone;
};

}  // namespace kavrel::tool
