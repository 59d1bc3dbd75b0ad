#pragma once

#include <cstdint>
#include <optional>
#include <stdexcept>
#include <string>
#include <string_view>

// The byte layout of Dragon command files (mycmds.dat and other .dat files).
// Strings here are raw file bytes (Windows-1252); positions are 1-based.
namespace plv::dat {

inline constexpr std::size_t kHeaderSize = 21;
inline constexpr std::int64_t kFirstRecordPosition = 22;
inline constexpr std::int64_t kCommandCountPosition = 18;
inline constexpr std::size_t kVersionCodeOffset = 4;
inline constexpr std::size_t kLanguageOffset = 15;
inline constexpr std::size_t kCommandCountOffset = 17;

// The five record layouts, by header version code.
enum class Layout { V60 = 3, V61 = 4, V7 = 5, V89 = 6, V1011 = 7 };

std::optional<Layout> layoutFromCode(int versionCode);
int versionCode(Layout layout);
// "6.0", "6.1", "7.x", "8/9", "10/11"
std::string versionName(Layout layout);
// "6.0", "6.1", "7.0", "8.0", "10.0"
std::string formatVersionString(Layout layout);
std::optional<Layout> layoutFromVersionName(const std::string& name);
std::optional<Layout> layoutFromFormatVersion(const std::string& formatVersion);
std::string languageName(int languageByte);

// Layout features.
inline bool hasVersionBlock(Layout l) {
    return l >= Layout::V7;
}
inline bool hasStateList(Layout l) {
    return l >= Layout::V89;
}
inline bool hasProtectionByte(Layout l) {
    return l == Layout::V1011;
}
inline bool hasVersionTail(Layout l) {
    return l >= Layout::V7;
}

// Type bytes of command bodies.
enum TypeByte : std::uint8_t {
    kTypeText = 1,
    kTypeRecorder = 2,
    kTypeStepByStep = 3,
    kTypeAdvanced = 4,
    kTypeScript = 16,
    kTypeKeys = 17,
};

// Whether the bytes begin as a command file does: its signature and a version it knows.
bool beginsAsCommandFile(std::string_view bytes);

// The header template that whole-file writers start from.
std::string headerTemplate(Layout layout, int languageByte, std::uint32_t commandCount);

// A read that would leave the file, or a value beyond what the format supports.
class FormatError : public std::runtime_error {
  public:
    FormatError(const std::string& what, std::int64_t position)
        : std::runtime_error(what), position_(position) {}
    std::int64_t position() const { return position_; }

  private:
    std::int64_t position_;
};

// Bounds-checked reading of a file image. Every read checks that it stays inside the
// image and throws FormatError otherwise.
class ByteReader {
  public:
    explicit ByteReader(std::string_view image, std::int64_t position = kFirstRecordPosition)
        : image_(image), pos_(position) {}

    std::int64_t position() const { return pos_; }
    void seek(std::int64_t position) { pos_ = position; }
    std::size_t remaining() const;
    bool atEnd() const { return remaining() == 0; }
    std::string_view image() const { return image_; }

    std::uint8_t byte();
    std::uint32_t longValue();
    std::uint16_t wordAt(std::int64_t position) const;
    std::uint32_t length();
    std::string countedString();
    std::string bytes(std::size_t n);
    // The next n bytes as they stand in the image, without a copy.
    std::string_view view(std::size_t n);
    void skip(std::size_t n);
    // A count of items each at least `minItemSize` bytes long: refused when the file
    // cannot hold that many, so a damaged count never drives a long loop.
    void checkCount(std::uint64_t count, std::size_t minItemSize) const;

  private:
    void need(std::size_t n) const;
    std::string_view image_;
    std::int64_t pos_;
};

// The writer primitives. While the write switch is off they write nothing, so one record
// walk serves both for stepping over a record and for emitting it.
class ByteWriter {
  public:
    bool writeSwitch = true;

    // 1, 3 or 7 bytes: n < 255; 255 <= n < 65534; n >= 65534.
    void PutCount(std::uint32_t n);
    void PutCountedString(std::string_view s);
    void PutLong(std::uint32_t n);
    void PutByte(std::uint8_t b);
    void PutBytes(std::string_view bytes);

    const std::string& data() const { return data_; }
    std::string take() { return std::move(data_); }
    std::size_t size() const { return data_.size(); }
    void clear() { data_.clear(); }

  private:
    std::string data_;
};

// Little-endian helpers on byte strings (0-based offsets).
std::uint32_t readLongAt(std::string_view data, std::size_t offset);
void writeLongAt(std::string& data, std::size_t offset, std::uint32_t value);
// The size of the length prefix that PutCount writes for n.
std::size_t countPrefixSize(std::size_t n);

} // namespace plv::dat
