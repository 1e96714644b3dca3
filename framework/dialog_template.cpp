// An extended template starts with a fixed header (version 1, signature 0xFFFF), then the
// menu, the window class and the caption, each a string or an ordinal, then, with
// DS_SETFONT or DS_SHELLFONT, the point size, weight, italic flag and character set.
#include "framework/dialog_template.h"

#include <cstring>

namespace kavrel::win {
namespace {

constexpr size_t kHeaderBytes = 26;
constexpr size_t kStyleOffset = 12;

// Reads a template front to back, never past its end.
class TemplateReader {
public:
    TemplateReader(const BYTE* data, size_t size) : data_(data), size_(size) {}

    bool Word(WORD& value) {
        if (size_ - at_ < sizeof value) return false;
        std::memcpy(&value, data_ + at_, sizeof value);
        at_ += sizeof value;
        return true;
    }
    bool Skip(size_t bytes) {
        if (size_ - at_ < bytes) return false;
        at_ += bytes;
        return true;
    }
    // A zero-terminated UTF-16 string.
    bool SkipString() {
        for (WORD unit = 1; unit != 0;) {
            if (!Word(unit)) return false;
        }
        return true;
    }
    // 0 for nothing, 0xFFFF and an ordinal, or a string.
    bool SkipStringOrOrdinal() {
        WORD first = 0;
        if (!Word(first)) return false;
        if (first == 0) return true;
        if (first == 0xFFFF) return Skip(sizeof(WORD));
        return SkipString();
    }

private:
    const BYTE* data_;
    size_t size_;
    size_t at_ = 0;
};

}  // namespace

std::optional<BYTE> TemplateFontCharset(HINSTANCE instance, int templateId) {
    const HRSRC resource = FindResourceW(instance, MAKEINTRESOURCEW(templateId), RT_DIALOG);
    if (resource == nullptr) return std::nullopt;
    const auto* data = static_cast<const BYTE*>(LockResource(LoadResource(instance, resource)));
    const DWORD size = SizeofResource(instance, resource);
    if (data == nullptr || size < kHeaderBytes) return std::nullopt;
    WORD version = 0, signature = 0;
    DWORD style = 0;
    std::memcpy(&version, data, sizeof version);
    std::memcpy(&signature, data + 2, sizeof signature);
    std::memcpy(&style, data + kStyleOffset, sizeof style);
    if (version != 1 || signature != 0xFFFF || (style & (DS_SETFONT | DS_SHELLFONT)) == 0) return std::nullopt;
    TemplateReader reader(data, size);
    WORD pointSize = 0, weight = 0, italicAndCharset = 0;
    if (!reader.Skip(kHeaderBytes) || !reader.SkipStringOrOrdinal() || !reader.SkipStringOrOrdinal() ||
        !reader.SkipString() || !reader.Word(pointSize) || !reader.Word(weight) || !reader.Word(italicAndCharset)) {
        return std::nullopt;
    }
    return static_cast<BYTE>(italicAndCharset >> 8);  // italic in the low byte, charset in the high
}

}  // namespace kavrel::win
