// Generation of the synthetic dictionaries. Everything derives from the line index or from a
// fixed-seed mt19937 (whose raw output is the same everywhere), so the files never change.
#include "tools/bench/bench_data.h"

#include <fcntl.h>
#include <unistd.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <fstream>
#include <random>
#include <stdexcept>
#include <string_view>

#include "core/entry_text.h"
#include "core/scramble.h"

namespace kavrel::bench {
namespace {

// 20 consonants x 8 vowels: every syllable is exactly two bytes, so a headword made of
// syllable digits is unique for its number and its syllable count.
constexpr std::string_view kConsonants = "bc\xE7" "dfg\xF0" "hklmnprs\xFE" "tvyz";
constexpr std::string_view kVowels = "ae\xFDio\xF6u\xFC";
constexpr size_t kSyllables = 20 * 8;

constexpr std::array<std::string_view, 48> kGlosses = {
    "house", "home", "water", "river", "to go", "to come", "bread", "tea", "small", "large",
    "quickly", "slowly", "mountain", "sea", "friend", "book", "to read", "to write", "door",
    "window", "street", "city", "village", "tree", "bird", "green", "red", "old", "new",
    "to see", "to give", "hand", "eye", "heart", "road", "morning", "night", "day", "work",
    "school", "market", "price", "warm", "cold", "light", "stone", "salt", "milk"};

// Upper case of the letters above as code page 1254 writes them; 0xFD (dotless i) gives
// plain 'I', which lower-cases to 'i', as a real file's capitals would.
char UpperLetter(char c) {
    switch (static_cast<unsigned char>(c)) {
        case 0xE7: return '\xC7';
        case 0xF0: return '\xD0';
        case 0xFE: return '\xDE';
        case 0xF6: return '\xD6';
        case 0xFC: return '\xDC';
        case 0xFD: return 'I';
        case 'i': return '\xDD';
        default: return (c >= 'a' && c <= 'z') ? static_cast<char>(c - 0x20) : c;
    }
}

void AppendSyllables(std::string& out, uint64_t number, int count) {
    for (int i = 0; i < count; ++i) {
        const auto digit = static_cast<size_t>(number % kSyllables);
        number /= kSyllables;
        out += kConsonants[digit / 8];
        out += kVowels[digit % 8];
    }
}

// Headword of entry i: 3 or 4 syllables from a bijective scramble of i, sometimes followed
// by a second word; one in eight capitalised.
std::string Headword(uint64_t i) {
    const uint64_t mixed = i * 2654435761u;  // odd and prime to 5: a bijection mod 160^n
    const int syllables = 3 + static_cast<int>((mixed >> 7) & 1);
    uint64_t modulus = 1;
    for (int s = 0; s < syllables; ++s) modulus *= kSyllables;
    std::string word;
    AppendSyllables(word, mixed % modulus, syllables);
    if (i % 10 == 3) {
        word += ' ';
        AppendSyllables(word, (mixed >> 20) % kSyllables, 1);
    }
    if (i % 8 == 5) word[0] = UpperLetter(word[0]);
    return word;
}

std::string Translations(std::mt19937& random) {
    std::string text;
    const int count = 2 + static_cast<int>(random() % 2);
    for (int t = 0; t < count; ++t) {
        if (t > 0) text += ", ";
        text += kGlosses[random() % kGlosses.size()];
        if (random() % 2 == 0) {
            text += ' ';
            text += kGlosses[random() % kGlosses.size()];
        }
    }
    return text;
}

// Capitals that lower-case back to the same key: 'i' gives 'I' and the dotless i stays, so
// the result differs from word only in case as the table sees it.
std::string SameKeyUpper(std::string word) {
    for (char& c : word) {
        if (c == 'i') c = 'I';
        else if (c != '\xFD') c = UpperLetter(c);
    }
    return word;
}

}  // namespace

std::string MakeDictionaryText(size_t entries) {
    std::mt19937 random(1254);
    std::string text;
    text.reserve(entries * 36);
    for (size_t i = 0; i < entries; ++i) {
        // Every 64th line repeats the headword of five lines back in capitals.
        const std::string headword = (i % 64 == 63) ? SameKeyUpper(Headword(i - 5)) : Headword(i);
        text.append(headword).append("|").append(Translations(random)).append(kLineEnd);
    }
    return text;
}

std::string EnsureDataFile(const std::string& dir, size_t entries) {
    const std::string path = dir + "/synthetic-" + std::to_string(entries) + "-v1.dat";
    if (std::filesystem::exists(path)) return path;
    std::filesystem::create_directories(dir);
    std::string data = MakeDictionaryText(entries);
    ScrambleText(data);
    const std::string partial = path + ".part";
    {
        std::ofstream out(partial, std::ios::binary);
        out.write(data.data(), static_cast<std::streamsize>(data.size()));
        if (!out) throw std::runtime_error("cannot write " + partial);
    }
    std::filesystem::rename(partial, path);  // a killed run leaves no half-written file
    return path;
}

std::string ReadWholeFile(const std::string& path) {
    std::FILE* file = std::fopen(path.c_str(), "rb");
    if (file == nullptr) throw std::runtime_error("cannot open " + path);
    std::fseek(file, 0, SEEK_END);
    const long size = std::ftell(file);
    std::fseek(file, 0, SEEK_SET);
    std::string data(static_cast<size_t>(size), '\0');
    const size_t read = std::fread(data.data(), 1, data.size(), file);
    std::fclose(file);
    if (read != data.size()) throw std::runtime_error("short read of " + path);
    return data;
}

void ReplaceFileContents(const std::string& path, std::string_view bytes) {
    const std::string temporary = path + ".save.tmp";
    const int fd = ::open(temporary.c_str(), O_WRONLY | O_CREAT | O_TRUNC, 0644);
    if (fd < 0) throw std::runtime_error("cannot create " + temporary);
    const char* data = bytes.data();
    size_t left = bytes.size();
    while (left > 0) {
        const ssize_t written = ::write(fd, data, left);
        if (written <= 0) break;
        data += written;
        left -= static_cast<size_t>(written);
    }
    const bool flushed = left == 0 && ::fsync(fd) == 0;
    ::close(fd);
    if (!flushed || std::rename(temporary.c_str(), path.c_str()) != 0) {
        std::remove(temporary.c_str());
        throw std::runtime_error("cannot replace " + path);
    }
}

std::vector<std::string> MakeQueries(const std::string& plain, size_t count) {
    std::vector<std::string_view> headwords;
    ForEachLine(plain, [&](std::string_view line) { headwords.push_back(KeyOfLine(line)); });
    std::mt19937 random(4817);
    std::vector<std::string> queries;
    queries.reserve(count);
    for (size_t q = 0; q < count; ++q) {
        std::string word(headwords[random() % headwords.size()]);
        switch (random() % 4) {
            case 0: word = SameKeyUpper(word); break;  // a hit in another case
            case 1: break;                         // a hit as written
            case 2: word += 'q'; break;            // no headword holds a 'q': a miss
            default: word = "x" + word; break;   // nor an 'x': a miss
        }
        queries.push_back(std::move(word));
    }
    return queries;
}

}  // namespace kavrel::bench
