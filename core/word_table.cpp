// Open addressing with linear probing over a power-of-two array of slots, at most 70 % full.
#include "core/word_table.h"

#include <cstring>
#include <stdexcept>

#include "core/cp1254.h"
#include "core/entry_text.h"

namespace kavrel {
namespace {

constexpr size_t kMinimumSlots = 16;

size_t SlotsFor(size_t entries) {
    size_t slots = kMinimumSlots;
    while (slots * 7 / 10 < entries) slots *= 2;
    return slots;
}

bool KeysEqual(std::string_view stored, std::string_view key) {
    if (stored.size() != key.size()) return false;
    for (size_t i = 0; i < key.size(); ++i) {
        if (LowerChar1254(stored[i]) != LowerChar1254(key[i])) return false;
    }
    return true;
}

}  // namespace

uint32_t WordTable::HashKey(std::string_view key) {
    uint64_t h = 0xcbf29ce484222325ull;  // FNV-1a over the lower-cased bytes
    for (char c : key) {
        h ^= static_cast<unsigned char>(LowerChar1254(c));
        h *= 0x100000001b3ull;
    }
    return static_cast<uint32_t>(h ^ (h >> 32));
}

void WordTable::RemoveAll() {
    std::string().swap(text_);
    std::vector<Slot>().swap(slots_);
    count_ = 0;
}

std::string_view WordTable::KeyOf(const Slot& slot) const {
    return KeyOfLine(std::string_view(text_.data() + slot.offset, slot.length));
}

const WordTable::Slot* WordTable::Probe(std::string_view key, uint32_t hash) const {
    const size_t mask = slots_.size() - 1;
    for (size_t i = hash & mask;; i = (i + 1) & mask) {
        const Slot& slot = slots_[i];
        if (slot.offset == kEmpty) return &slot;
        if (slot.hash == hash && KeysEqual(KeyOf(slot), key)) return &slot;
    }
}

WordTable::Slot* WordTable::Probe(std::string_view key, uint32_t hash) {
    return const_cast<Slot*>(static_cast<const WordTable*>(this)->Probe(key, hash));
}

std::optional<std::string_view> WordTable::Find(std::string_view key) const {
    if (count_ == 0) return std::nullopt;
    const Slot* slot = Probe(key, HashKey(key));
    if (slot->offset == kEmpty) return std::nullopt;
    return std::string_view(text_.data() + slot->offset, slot->length);
}

void WordTable::Grow(size_t minimumSlots) {
    std::vector<Slot> old(minimumSlots, Slot{kEmpty, 0, 0});
    old.swap(slots_);
    const size_t mask = slots_.size() - 1;
    for (const Slot& slot : old) {
        if (slot.offset == kEmpty) continue;
        size_t i = slot.hash & mask;
        while (slots_[i].offset != kEmpty) i = (i + 1) & mask;
        slots_[i] = slot;
    }
}

void WordTable::File(uint32_t offset, uint32_t length) {
    if ((count_ + 1) > slots_.size() * 7 / 10) Grow(SlotsFor(count_ + 1));
    const std::string_view line(text_.data() + offset, length);
    const std::string_view key = KeyOfLine(line);
    const uint32_t hash = HashKey(key);
    Slot* slot = Probe(key, hash);
    if (slot->offset == kEmpty) ++count_;
    *slot = Slot{offset, length, hash};
}

void WordTable::SetLine(std::string_view line) {
    const bool inOwnText = line.data() >= text_.data() && line.data() < text_.data() + text_.size();
    if (inOwnText) {  // appending could move the bytes the view points at
        SetLine(std::string(line));
        return;
    }
    if (text_.size() + line.size() >= kEmpty) throw std::length_error("dictionary text too large");
    const auto offset = static_cast<uint32_t>(text_.size());
    text_.append(line);
    File(offset, static_cast<uint32_t>(line.size()));
}

void WordTable::AdoptText(std::string text, size_t expectedLines) {
    if (text.size() >= kEmpty) throw std::length_error("dictionary text too large");
    RemoveAll();
    text_ = std::move(text);
    Grow(SlotsFor(expectedLines));
}

void WordTable::FileLineOfText(size_t offset, size_t length) {
    File(static_cast<uint32_t>(offset), static_cast<uint32_t>(length));
}

}  // namespace kavrel
