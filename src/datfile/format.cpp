#include "datfile/format.h"

namespace plv::dat {

std::optional<Layout> layoutFromCode(int code) {
    if (code >= 3 && code <= 7) {
        return static_cast<Layout>(code);
    }
    return std::nullopt;
}

int versionCode(Layout layout) {
    return static_cast<int>(layout);
}

std::string versionName(Layout layout) {
    switch (layout) {
    case Layout::V60:
        return "6.0";
    case Layout::V61:
        return "6.1";
    case Layout::V7:
        return "7.x";
    case Layout::V89:
        return "8/9";
    case Layout::V1011:
        return "10/11";
    }
    return "10/11";
}

std::string formatVersionString(Layout layout) {
    switch (layout) {
    case Layout::V60:
        return "6.0";
    case Layout::V61:
        return "6.1";
    case Layout::V7:
        return "7.0";
    case Layout::V89:
        return "8.0";
    case Layout::V1011:
        return "10.0";
    }
    return "10.0";
}

std::optional<Layout> layoutFromVersionName(const std::string& name) {
    for (int code = 3; code <= 7; ++code) {
        if (versionName(static_cast<Layout>(code)) == name) {
            return static_cast<Layout>(code);
        }
    }
    return std::nullopt;
}

std::optional<Layout> layoutFromFormatVersion(const std::string& formatVersion) {
    for (int code = 3; code <= 7; ++code) {
        if (formatVersionString(static_cast<Layout>(code)) == formatVersion) {
            return static_cast<Layout>(code);
        }
    }
    return std::nullopt;
}

std::string languageName(int languageByte) {
    switch (languageByte) {
    case 9:
        return "English";
    case 7:
        return "German";
    case 10:
        return "Spanish";
    case 12:
        return "French";
    case 19:
        return "Dutch";
    default:
        return "Unknown";
    }
}

bool beginsAsCommandFile(std::string_view bytes) {
    return bytes.size() >= kHeaderSize && bytes.substr(0, 4) == "LHSP" &&
           layoutFromCode(static_cast<std::uint8_t>(bytes[kVersionCodeOffset])).has_value();
}

std::string headerTemplate(Layout layout, int languageByte, std::uint32_t commandCount) {
    std::string h = {'L', 'H', 'S', 'P', 4, 2, static_cast<char>(135), 0, 0, 0, 0, 0, 0, 0, 0,
                     9,   4,   0,   0,   0, 0};
    h[kVersionCodeOffset] = static_cast<char>(versionCode(layout));
    h[kLanguageOffset] = static_cast<char>(languageByte);
    writeLongAt(h, kCommandCountOffset, commandCount);
    return h;
}

std::size_t ByteReader::remaining() const {
    auto index = pos_ - 1;
    if (index < 0 || static_cast<std::size_t>(index) >= image_.size()) {
        return 0;
    }
    return image_.size() - static_cast<std::size_t>(index);
}

void ByteReader::need(std::size_t n) const {
    if (pos_ < 1 || n > remaining()) {
        throw FormatError("a field runs past the end of the file", pos_);
    }
}

std::uint8_t ByteReader::byte() {
    need(1);
    return static_cast<std::uint8_t>(image_[static_cast<std::size_t>(pos_++ - 1)]);
}

std::uint32_t ByteReader::longValue() {
    need(4);
    auto v = readLongAt(image_, static_cast<std::size_t>(pos_ - 1));
    pos_ += 4;
    return v;
}

std::uint16_t ByteReader::wordAt(std::int64_t position) const {
    if (position < 1 || static_cast<std::size_t>(position - 1) + 2 > image_.size()) {
        throw FormatError("a field runs past the end of the file", position);
    }
    auto i = static_cast<std::size_t>(position - 1);
    return static_cast<std::uint16_t>(static_cast<std::uint8_t>(image_[i]) |
                                      (static_cast<std::uint8_t>(image_[i + 1]) << 8));
}

std::uint32_t ByteReader::length() {
    std::int64_t start = pos_;
    std::uint8_t b = byte();
    if (b < 255) {
        return b;
    }
    std::uint16_t w = wordAt(pos_);
    pos_ += 2;
    if (w < 65535) {
        return w;
    }
    std::uint32_t n = longValue();
    if (n >= 0x80000000U) {
        throw FormatError("a string length is beyond what the format supports", start);
    }
    return n;
}

std::string ByteReader::countedString() {
    std::int64_t start = pos_;
    std::uint32_t n = length();
    if (n > remaining()) {
        throw FormatError("a string runs past the end of the file", start);
    }
    return bytes(n);
}

std::string ByteReader::bytes(std::size_t n) {
    return std::string(view(n));
}

std::string_view ByteReader::view(std::size_t n) {
    need(n);
    std::string_view out = image_.substr(static_cast<std::size_t>(pos_ - 1), n);
    pos_ += static_cast<std::int64_t>(n);
    return out;
}

void ByteReader::skip(std::size_t n) {
    need(n);
    pos_ += static_cast<std::int64_t>(n);
}

void ByteReader::checkCount(std::uint64_t count, std::size_t minItemSize) const {
    if (count * minItemSize > remaining()) {
        throw FormatError("a count is larger than the rest of the file can hold", pos_);
    }
}

void ByteWriter::PutCount(std::uint32_t n) {
    if (!writeSwitch) {
        return;
    }
    if (n < 255) {
        data_ += static_cast<char>(n);
    } else if (n < 65534) {
        data_ += static_cast<char>(0xFF);
        data_ += static_cast<char>(n & 0xFF);
        data_ += static_cast<char>(n >> 8);
    } else {
        data_.append(3, static_cast<char>(0xFF));
        PutLong(n);
    }
}

void ByteWriter::PutCountedString(std::string_view s) {
    if (!writeSwitch) {
        return;
    }
    PutCount(static_cast<std::uint32_t>(s.size()));
    data_.append(s);
}

void ByteWriter::PutLong(std::uint32_t n) {
    if (!writeSwitch) {
        return;
    }
    for (int k = 0; k < 4; ++k) {
        data_ += static_cast<char>((n >> (8 * k)) & 0xFF);
    }
}

void ByteWriter::PutByte(std::uint8_t b) {
    if (writeSwitch) {
        data_ += static_cast<char>(b);
    }
}

void ByteWriter::PutBytes(std::string_view bytes) {
    if (writeSwitch) {
        data_.append(bytes);
    }
}

std::uint32_t readLongAt(std::string_view data, std::size_t offset) {
    std::uint32_t v = 0;
    for (int k = 3; k >= 0; --k) {
        v = (v << 8) | static_cast<std::uint8_t>(data[offset + static_cast<std::size_t>(k)]);
    }
    return v;
}

void writeLongAt(std::string& data, std::size_t offset, std::uint32_t value) {
    for (int k = 0; k < 4; ++k) {
        data[offset + static_cast<std::size_t>(k)] = static_cast<char>((value >> (8 * k)) & 0xFF);
    }
}

std::size_t countPrefixSize(std::size_t n) {
    return n < 255 ? 1 : n < 65534 ? 3 : 7;
}

} // namespace plv::dat
