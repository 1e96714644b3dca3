// Building a table from its lines, whose text is kept in the order of their slots. The lines
// are taken in buckets of 4096 homes: first each line is copied, in reading order, to its
// bucket's part of the new text (a few hundred places, each written in order); then each
// bucket's lines, a few thousand that fit in the caches, are sorted by home and written
// back in slot order, each in the first free slot from its home. No line is read or
// written at random across the whole text.
#include <algorithm>
#include <cstring>
#include <stdexcept>

#include "core/entry_text.h"
#include "core/word_table.h"

namespace kavrel {
namespace {

// Zeros after the last line: a lookup compares sixteen bytes and the byte after them at a
// line's start, whatever the line's length.
constexpr size_t kTextPadding = 64;

// Sorts lines by bucket(keyHash), which takes fewer than 2^bits values, keeping their order
// among equal buckets: passes of eleven bits.
template <class Bucket>
void SortBy(std::vector<WordTable::SourceLine>& lines, Bucket bucket, int bits) {
    std::vector<WordTable::SourceLine> sorted(lines.size());
    for (int shift = 0; shift < bits; shift += 11) {
        size_t starts[2049] = {};
        for (const auto& line : lines) ++starts[((bucket(line.keyHash) >> shift) & 2047) + 1];
        for (size_t i = 0; i < 2048; ++i) starts[i + 1] += starts[i];
        for (const auto& line : lines) sorted[starts[(bucket(line.keyHash) >> shift) & 2047]++] = line;
        lines.swap(sorted);
    }
}

int BitsFor(size_t count) {
    int bits = 1;
    while (bits < 32 && (uint64_t{1} << bits) < count) ++bits;
    return bits;
}

std::string_view View(std::string_view text, const WordTable::SourceLine& line) {
    return text.substr(line.offset, line.length);
}

constexpr uint32_t kReplaced = UINT32_MAX;  // a length no line of a table has

// In a run of lines sorted so that lines of one key lie together in their first order, marks
// (length = kReplaced) every line that a later one of its key replaces.
void MarkReplaced(std::string_view text, WordTable::SourceLine* first, WordTable::SourceLine* last) {
    for (WordTable::SourceLine* kept = last; kept-- != first + 1;) {
        if (kept->length == kReplaced) continue;
        for (WordTable::SourceLine* earlier = first; earlier != kept; ++earlier) {
            // Only a line of the same hash is read: the lines lie far apart in memory.
            if (earlier->length != kReplaced && earlier->keyHash == kept->keyHash &&
                WordTable::LineHasKey(View(text, *earlier), KeyOfLine(View(text, *kept)))) {
                earlier->length = kReplaced;
            }
        }
    }
}

// Marks the replaced lines of lines sorted by bucket, lines of one key lying in one bucket.
template <class Bucket>
void MarkReplacedInBuckets(std::string_view text, std::vector<WordTable::SourceLine>& lines, Bucket bucket) {
    for (size_t start = 0; start < lines.size();) {
        size_t end = start + 1;
        while (end < lines.size() && bucket(lines[end].keyHash) == bucket(lines[start].keyHash)) ++end;
        if (end - start > 1) MarkReplaced(text, &lines[start], &lines[end - 1] + 1);
        start = end;
    }
}

}  // namespace

// Lines of one key have one hash, so after a sort by the hash's high bits they lie in one run.
void WordTable::DropReplaced(std::string_view text, std::vector<SourceLine>& lines) const {
    const int bits = BitsFor(lines.size());
    const auto high = [bits](uint32_t hash) { return hash >> (32 - bits); };
    SortBy(lines, high, bits);
    MarkReplacedInBuckets(text, lines, high);
    std::erase_if(lines, [](const SourceLine& line) { return line.length == kReplaced; });
}


namespace {

constexpr int kBucketShift = 12;  // homes per bucket: 4096
constexpr size_t kBucketHomes = size_t{1} << kBucketShift;

}  // namespace

// One build: the new table, its text as far as it is written, and the buckets.
class TableBuilder {
public:
    TableBuilder(const WordTable& old, size_t homes) : built_(old.hash_.key(), old.hash_.kind()) {
        built_.homes_ = homes;
        bucketCount_ = (homes >> kBucketShift) + 1;
        // Whole groups, and a tail of two at least: a lookup scans thirty-two tags.
        const size_t slots = (homes + 3 * WordTable::kGroup - 1) / WordTable::kGroup * WordTable::kGroup;
        built_.tags_.assign(slots, 0);
        built_.lengths_.assign(slots, 0);
    }

    // Where each bucket's lines and bytes start in the bucketed records and text, and the
    // text allocated to hold them.
    void CountBuckets(const std::vector<WordTable::SourceLine>& lines) {
        firstLine_.assign(bucketCount_ + 1, 0);
        firstByte_.assign(bucketCount_ + 1, 0);
        for (const WordTable::SourceLine& line : lines) {
            const size_t b = BucketOf(line.keyHash);
            ++firstLine_[b + 1];
            firstByte_[b + 1] += uint64_t{line.length} + 1;
        }
        for (size_t b = 0; b < bucketCount_; ++b) {
            firstLine_[b + 1] += firstLine_[b];
            firstByte_[b + 1] += firstByte_[b];
        }
        const uint64_t textBytes = firstByte_[bucketCount_] + kTextPadding;
        if (textBytes > WordTable::kMaximumTextBytes) throw std::length_error("dictionary text too large");
        built_.text_ = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(textBytes));
        built_.textAllocated_ = static_cast<size_t>(textBytes);
        start_ = out_ = built_.text_.get();
    }

    // Copies each line, in reading order, to its bucket's part of the text, each followed by
    // a line feed; the records, bucket by bucket, then point into the new text.
    void CopyToBuckets(std::string_view text, const std::vector<WordTable::SourceLine>& lines) {
        bucketed_.resize(lines.size());
        std::vector<size_t> nextLine(firstLine_.begin(), firstLine_.end() - 1);
        std::vector<uint64_t> nextByte(firstByte_.begin(), firstByte_.end() - 1);
        for (const WordTable::SourceLine& line : lines) {
            const size_t b = BucketOf(line.keyHash);
            char* const to = start_ + nextByte[b];
            // One copy of fixed size where it may run past the line: the bytes after it in
            // the bucket are written later, and the source has them.
            if (line.length < kTextPadding && nextByte[b] + kTextPadding <= firstByte_[b + 1] &&
                size_t{line.offset} + kTextPadding <= text.size()) {
                std::memcpy(to, text.data() + line.offset, kTextPadding);
            } else {
                std::memcpy(to, text.data() + line.offset, line.length);
            }
            to[line.length] = '\n';
            bucketed_[nextLine[b]++] = {static_cast<uint32_t>(nextByte[b]), line.length, line.keyHash};
            nextByte[b] += uint64_t{line.length} + 1;
        }
    }

    // Writes every bucket's lines back in slot order, and finishes the table.
    WordTable Finish() {
        for (size_t b = 0; b < bucketCount_; ++b) {
            SortBucketByHome(b);
            const std::string_view bucketText(start_, static_cast<size_t>(firstByte_[b + 1]));
            MarkReplacedInBuckets(bucketText, sorted_, [this](uint32_t hash) { return built_.Home(hash); });
            PlaceBucket(b);
        }
        while (built_.groupStarts_.size() <= built_.tags_.size() / WordTable::kGroup) RecordGroupStart();
        std::memset(out_, 0, kTextPadding);
        built_.textBytes_ = static_cast<size_t>(out_ - start_) + kTextPadding;
        built_.growAt_ = static_cast<size_t>(uint64_t{built_.homes_} * 3 / 4);  // grows past three quarters full
        return std::move(built_);
    }

private:
    size_t BucketOf(uint32_t hash) const { return built_.Home(hash) >> kBucketShift; }

    // The bucket's records by home into sorted_, in their first order among one home (a
    // sort by counting).
    void SortBucketByHome(size_t b) {
        const size_t first = firstLine_[b], last = firstLine_[b + 1];
        const size_t baseHome = b << kBucketShift;
        uint32_t starts[kBucketHomes + 1] = {};
        for (size_t i = first; i < last; ++i) ++starts[built_.Home(bucketed_[i].keyHash) - baseHome + 1];
        for (size_t h = 0; h < kBucketHomes; ++h) starts[h + 1] += starts[h];
        sorted_.resize(last - first);
        for (size_t i = first; i < last; ++i) sorted_[starts[built_.Home(bucketed_[i].keyHash) - baseHome]++] = bucketed_[i];
    }

    // The bucket's bytes are set aside, then its kept lines written back from out_ on in
    // slot order: out_ never passes the bucket's end, as the lines are the same or fewer.
    void PlaceBucket(size_t b) {
        const size_t from = static_cast<size_t>(firstByte_[b]);
        const size_t to = static_cast<size_t>(firstByte_[b + 1]);
        setAside_.resize(to - from + kTextPadding);
        std::memcpy(setAside_.data(), start_ + from, to - from);
        for (const WordTable::SourceLine& line : sorted_) {
            if (line.length == kReplaced) continue;
            const bool roomAfter = static_cast<size_t>(out_ - start_) + kTextPadding <= to;
            Place(line, setAside_.data() + (line.offset - from), roomAfter);
        }
    }

    // Files the line in the first free slot from its home and copies it to out_.
    // roomAfter: the kTextPadding bytes at out_ may be overwritten.
    void Place(const WordTable::SourceLine& line, const char* bytes, bool roomAfter) {
        const size_t slot = std::max(nextSlot_, built_.Home(line.keyHash));
        if (slot + WordTable::kGroup >= built_.tags_.size()) {  // the tail runs out: a longer tail
            built_.tags_.resize(built_.tags_.size() + WordTable::kGroup, 0);
            built_.lengths_.resize(built_.lengths_.size() + WordTable::kGroup, 0);
        }
        while (built_.groupStarts_.size() <= slot / WordTable::kGroup) RecordGroupStart();
        // One copy of fixed size where it may run past the line: the bytes after it are
        // set aside already or written next.
        if (line.length < kTextPadding && roomAfter) {
            std::memcpy(out_, bytes, kTextPadding);
        } else {
            std::memcpy(out_, bytes, line.length);
        }
        out_ += line.length;
        *out_++ = '\n';
        built_.tags_[slot] = WordTable::Tag(line.keyHash);
        if (size_t{line.length} + 1 >= WordTable::kLongLine) {
            built_.lengths_[slot] = WordTable::kLongLine;
            built_.longLengths_[static_cast<uint32_t>(slot)] = line.length;
        } else {
            built_.lengths_[slot] = static_cast<uint8_t>(line.length + 1);
        }
        nextSlot_ = slot + 1;
        ++built_.count_;
    }

    void RecordGroupStart() { built_.groupStarts_.push_back(static_cast<uint32_t>(out_ - start_)); }

    WordTable built_;
    size_t bucketCount_ = 0;
    std::vector<size_t> firstLine_;    // per bucket, and one past the last
    std::vector<uint64_t> firstByte_;  // likewise
    std::vector<WordTable::SourceLine> bucketed_;
    std::vector<WordTable::SourceLine> sorted_;  // the lines of one bucket
    std::vector<char> setAside_;                 // the text of one bucket
    char* start_ = nullptr;
    char* out_ = nullptr;
    size_t nextSlot_ = 0;  // the first slot not yet taken
};

void WordTable::Build(std::string_view text, std::vector<SourceLine>& lines, size_t minimumEntries) {
    const size_t lineCount = lines.size();
    const size_t homes = SlotsFor(std::max(lineCount, minimumEntries));
    TableBuilder builder(*this, homes);
    builder.CountBuckets(lines);
    builder.CopyToBuckets(text, lines);
    std::vector<SourceLine>().swap(lines);  // the records are held bucket by bucket now
    *this = builder.Finish();
    // The slots and the text were sized for every line, before the lines that later ones
    // replace were dropped: a table of far fewer keys is built again at its own size, so a
    // file that repeats a few keys costs no more than its text.
    if (count_ < lineCount / 2 && SlotsFor(std::max(count_, minimumEntries)) < homes) Rebuild(nullptr, minimumEntries);
}

}  // namespace kavrel
