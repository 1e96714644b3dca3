// Building a table from its lines: sorted by hash, which is the order of their home slots,
// then placed and copied into the text one after another, so that nothing is written at
// random and each slot's line follows the line of the slot before.
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
// The text's offsets are 32-bit, and a text of 2 GB or more is refused, as a load's always was.
constexpr size_t kMaximumText = size_t{0x7FFFFFFF};

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

// The lines are placed in buckets of kBucketHomes homes: first each line is copied, in
// reading order, to its bucket's part of the new text (a few hundred places written in
// turn, each in order); then each bucket's lines, a few thousand that fit in the caches,
// are sorted by home and written back in slot order, each in the first free slot from its
// home. No line is read or written at random across the whole text.
namespace {

constexpr int kBucketShift = 12;  // homes per bucket: 4096

struct Buckets {
    std::vector<size_t> firstLine;  // per bucket, and one past the last
    std::vector<uint64_t> firstByte;
};

}  // namespace

void WordTable::Build(std::string_view text, std::vector<SourceLine>& lines, size_t minimumEntries) {
    const size_t lineCount = lines.size();
    const size_t homes = SlotsFor(std::max(lineCount, minimumEntries));
    WordTable built(hashKey_);
    built.homes_ = homes;
    const auto bucketOf = [&built](uint32_t hash) { return built.Home(hash) >> kBucketShift; };
    const size_t bucketCount = (homes >> kBucketShift) + 1;

    // Where each bucket's lines and bytes start.
    Buckets buckets{std::vector<size_t>(bucketCount + 1, 0), std::vector<uint64_t>(bucketCount + 1, 0)};
    for (const SourceLine& line : lines) {
        const size_t b = bucketOf(line.keyHash);
        ++buckets.firstLine[b + 1];
        buckets.firstByte[b + 1] += uint64_t{line.length} + 1;
    }
    for (size_t b = 0; b < bucketCount; ++b) {
        buckets.firstLine[b + 1] += buckets.firstLine[b];
        buckets.firstByte[b + 1] += buckets.firstByte[b];
    }
    const uint64_t textBytes = buckets.firstByte[bucketCount] + kTextPadding;
    if (textBytes > kMaximumText) throw std::length_error("dictionary text too large");
    built.text_ = std::make_unique_for_overwrite<char[]>(static_cast<size_t>(textBytes));
    built.textAllocated_ = static_cast<size_t>(textBytes);
    char* const start = built.text_.get();

    // Each line to its bucket, the records beside it pointing into the new text.
    std::vector<SourceLine> parted(lines.size());
    {
        std::vector<size_t> nextLine(buckets.firstLine.begin(), buckets.firstLine.end() - 1);
        std::vector<uint64_t> nextByte(buckets.firstByte.begin(), buckets.firstByte.end() - 1);
        for (size_t i = 0; i < lines.size(); ++i) {
            const SourceLine& line = lines[i];
            const size_t b = bucketOf(line.keyHash);
            char* const to = start + nextByte[b];
            std::memcpy(to, text.data() + line.offset, line.length);
            to[line.length] = '\n';
            parted[nextLine[b]++] = {static_cast<uint32_t>(nextByte[b]), line.length, line.keyHash};
            nextByte[b] += uint64_t{line.length} + 1;
        }
    }
    std::vector<SourceLine>().swap(lines);

    const size_t slots = (homes + 3 * kGroup - 1) / kGroup * kGroup;  // whole groups, and a tail of two at least (a lookup scans thirty-two tags)
    built.tags_.assign(slots, 0);
    built.lengths_.assign(slots, 0);
    std::vector<SourceLine> sorted;
    std::vector<char> copy;
    char* out = start;
    size_t next = 0;  // the first slot not yet taken
    for (size_t b = 0; b < bucketCount; ++b) {
        // The bucket's lines by home, in their first order among one home (a sort by counting).
        const size_t first = buckets.firstLine[b], last = buckets.firstLine[b + 1];
        const size_t baseHome = b << kBucketShift;
        uint32_t counts[(size_t{1} << kBucketShift) + 1] = {};
        for (size_t i = first; i < last; ++i) ++counts[built.Home(parted[i].keyHash) - baseHome + 1];
        for (size_t h = 0; h < (size_t{1} << kBucketShift); ++h) counts[h + 1] += counts[h];
        sorted.resize(last - first);
        for (size_t i = first; i < last; ++i) sorted[counts[built.Home(parted[i].keyHash) - baseHome]++] = parted[i];
        const std::string_view bucketText(start, static_cast<size_t>(buckets.firstByte[b + 1]));
        MarkReplacedInBuckets(bucketText, sorted, [&built](uint32_t hash) { return built.Home(hash); });

        // The bucket's bytes set aside, then written back from out on in slot order; out
        // never passes the bucket's end, as the lines are the same or fewer.
        const size_t from = static_cast<size_t>(buckets.firstByte[b]);
        const size_t to = static_cast<size_t>(buckets.firstByte[b + 1]);
        copy.resize(to - from + kTextPadding);
        std::memcpy(copy.data(), start + from, to - from);
        for (const SourceLine& line : sorted) {
            if (line.length == kReplaced) continue;
            const size_t slot = std::max(next, built.Home(line.keyHash));
            if (slot + kGroup >= built.tags_.size()) {  // the tail runs out: a longer tail
                built.tags_.resize(built.tags_.size() + kGroup, 0);
                built.lengths_.resize(built.lengths_.size() + kGroup, 0);
            }
            while (built.groupStarts_.size() <= slot / kGroup) built.groupStarts_.push_back(static_cast<uint32_t>(out - start));
            const char* const lineBytes = copy.data() + (line.offset - from);
            if (line.length < kTextPadding && static_cast<size_t>(out - start) + kTextPadding <= to) {
                std::memcpy(out, lineBytes, kTextPadding);  // one fixed-size copy; the bytes after the line are set aside already
            } else {
                std::memcpy(out, lineBytes, line.length);
            }
            out += line.length;
            *out++ = '\n';
            built.tags_[slot] = Tag(line.keyHash);
            if (size_t{line.length} + 1 >= kLongLine) {
                built.lengths_[slot] = kLongLine;
                built.longLengths_[static_cast<uint32_t>(slot)] = line.length;
            } else {
                built.lengths_[slot] = static_cast<uint8_t>(line.length + 1);
            }
            next = slot + 1;
            ++built.count_;
        }
    }
    while (built.groupStarts_.size() <= built.tags_.size() / kGroup) built.groupStarts_.push_back(static_cast<uint32_t>(out - start));
    std::memset(out, 0, kTextPadding);
    built.textBytes_ = static_cast<size_t>(out - start) + kTextPadding;
    built.growAt_ = static_cast<size_t>(uint64_t{homes} * 3 / 4);  // grows past three quarters full
    *this = std::move(built);
    // The slots and the text were sized for every line, before the lines that later ones
    // replace were dropped: a table of far fewer keys is built again at its own size, so a
    // file that repeats a few keys costs no more than its text.
    if (count_ < lineCount / 2 && SlotsFor(std::max(count_, minimumEntries)) < homes) Rebuild(nullptr, minimumEntries);
}

}  // namespace kavrel
