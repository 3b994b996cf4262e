#include "core/export/workbook_check.h"

#include <expat.h>
#include <zlib.h>

#include <cerrno>
#include <cstdint>
#include <cstring>
#include <fstream>
#include <memory>
#include <string_view>
#include <vector>

#include "core/export/export_texts.h"
#include "core/export/table_export.h"

namespace fetaldose::exporting {

namespace {

[[noreturn]] void damaged(const std::string& what) {
    throw ExportError(std::string(kWorkbookIncomplete) + what);
}

std::uint64_t little(std::string_view bytes, std::size_t at, int width) {
    if (at + static_cast<std::size_t>(width) > bytes.size())
        damaged("the zip directory is cut off");
    std::uint64_t value = 0;
    for (int i = width - 1; i >= 0; --i)
        value = (value << 8) | static_cast<unsigned char>(bytes[at + static_cast<std::size_t>(i)]);
    return value;
}

constexpr std::uint32_t kLocalHeader = 0x04034b50;
constexpr std::uint32_t kDirectoryEntry = 0x02014b50;
constexpr std::uint32_t kDirectoryEnd = 0x06054b50;
constexpr std::uint32_t kZip64End = 0x06064b50;
constexpr std::uint32_t kZip64Locator = 0x07064b50;
constexpr std::uint16_t kZip64Extra = 0x0001;

struct Entry {
    std::string name;
    int method = 0;
    std::uint32_t crc = 0;
    std::uint64_t packedSize = 0;
    std::uint64_t size = 0;
    std::uint64_t headerOffset = 0;
};

std::vector<Entry> readDirectory(std::string_view zip) {
    // The end record: its signature, searched back from the end over the longest comment.
    const std::size_t earliest = zip.size() > 22 + 65535 ? zip.size() - 22 - 65535 : 0;
    std::size_t end = std::string_view::npos;
    for (std::size_t at = zip.size() >= 22 ? zip.size() - 22 + 1 : 0; at-- > earliest;)
        if (little(zip, at, 4) == kDirectoryEnd) {
            end = at;
            break;
        }
    if (end == std::string_view::npos) damaged("no zip directory");
    std::uint64_t count = little(zip, end + 10, 2);
    std::uint64_t offset = little(zip, end + 16, 4);
    if ((count == 0xFFFF || offset == 0xFFFFFFFF) && end >= 20 &&
        little(zip, end - 20, 4) == kZip64Locator) {
        const std::uint64_t zip64End = little(zip, end - 20 + 8, 8);
        if (little(zip, zip64End, 4) != kZip64End) damaged("no zip64 directory");
        count = little(zip, zip64End + 32, 8);
        offset = little(zip, zip64End + 48, 8);
    }

    std::vector<Entry> entries;
    std::size_t at = offset;
    for (std::uint64_t i = 0; i < count; ++i) {
        if (little(zip, at, 4) != kDirectoryEntry) damaged("a broken zip directory");
        Entry entry;
        entry.method = static_cast<int>(little(zip, at + 10, 2));
        entry.crc = static_cast<std::uint32_t>(little(zip, at + 16, 4));
        entry.packedSize = little(zip, at + 20, 4);
        entry.size = little(zip, at + 24, 4);
        const std::size_t nameLength = little(zip, at + 28, 2);
        const std::size_t extraLength = little(zip, at + 30, 2);
        const std::size_t commentLength = little(zip, at + 32, 2);
        entry.headerOffset = little(zip, at + 42, 4);
        if (at + 46 + nameLength > zip.size()) damaged("a broken zip directory");
        entry.name = std::string(zip.substr(at + 46, nameLength));
        // Sizes and offsets too large for 32 bits are in the zip64 extra field, in this order.
        std::size_t extra = at + 46 + nameLength;
        const std::size_t extraEnd = extra + extraLength;
        while (extra + 4 <= extraEnd) {
            const auto id = little(zip, extra, 2);
            const std::size_t length = little(zip, extra + 2, 2);
            std::size_t field = extra + 4;
            if (id == kZip64Extra) {
                for (std::uint64_t* value : {&entry.size, &entry.packedSize, &entry.headerOffset})
                    if (*value == 0xFFFFFFFF) {
                        *value = little(zip, field, 8);
                        field += 8;
                    }
            }
            extra += 4 + length;
        }
        entries.push_back(std::move(entry));
        at = extraEnd + commentLength;
    }
    return entries;
}

// Counts the rows and cells of a sheet as its XML goes by, and any row out of its place.
class SheetCounter {
  public:
    explicit SheetCounter(const ExpectedSheet* expected) : expected_(expected) {}

    void start(const char* name, const char** attributes) {
        if (!expected_) return;
        if (std::strcmp(name, "row") == 0) {
            finishRow();
            ++rows_;
            inRow_ = true;
            cells_ = 0;
            for (const char** a = attributes; a && *a; a += 2)
                if (std::strcmp(a[0], "r") == 0 && std::to_string(rows_) != a[1])
                    fault_ = "row " + std::string(a[1]) + " where row " + std::to_string(rows_) +
                             " belongs";
        } else if (inRow_ && std::strcmp(name, "c") == 0) {
            ++cells_;
        }
    }
    void end(const char* name) {
        if (expected_ && std::strcmp(name, "row") == 0) finishRow();
    }

    // What is missing, or empty when the sheet is whole.
    std::string fault() {
        if (!expected_ || !fault_.empty()) return fault_;
        if (rows_ != expected_->rows)
            return std::to_string(rows_) + " rows of " + std::to_string(expected_->rows);
        return {};
    }

  private:
    void finishRow() {
        if (inRow_ && expected_->cellsPerRow > 0 && cells_ != expected_->cellsPerRow &&
            fault_.empty())
            fault_ = "row " + std::to_string(rows_) + " has " + std::to_string(cells_) +
                     " cells of " + std::to_string(expected_->cellsPerRow);
        inRow_ = false;
    }

    const ExpectedSheet* expected_;
    long rows_ = 0;
    int cells_ = 0;
    bool inRow_ = false;
    std::string fault_;
};

struct ParserFree {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};

bool isXml(const std::string& name) {
    const auto endsWith = [&](std::string_view end) {
        return name.size() >= end.size() &&
               name.compare(name.size() - end.size(), end.size(), end) == 0;
    };
    return endsWith(".xml") || endsWith(".rels");
}

// Unpacks one entry, checking its size and CRC-32, and parses it when it is XML.
void checkEntry(std::string_view zip, const Entry& entry, const ExpectedSheet* sheet) {
    const std::uint64_t local = entry.headerOffset;
    if (little(zip, local, 4) != kLocalHeader) damaged(entry.name + " is missing");
    const std::uint64_t dataStart =
        local + 30 + little(zip, local + 26, 2) + little(zip, local + 28, 2);
    if (dataStart > zip.size() || entry.packedSize > zip.size() - dataStart)
        damaged(entry.name + " is cut off");
    const std::string_view packed = zip.substr(dataStart, entry.packedSize);

    SheetCounter counter(sheet);
    std::unique_ptr<XML_ParserStruct, ParserFree> parser;
    if (isXml(entry.name)) {
        parser.reset(XML_ParserCreate(nullptr));
        if (!parser) throw std::bad_alloc();
        XML_SetUserData(parser.get(), &counter);
        XML_SetElementHandler(
            parser.get(),
            [](void* data, const XML_Char* name, const XML_Char** attributes) {
                static_cast<SheetCounter*>(data)->start(name, attributes);
            },
            [](void* data, const XML_Char* name) { static_cast<SheetCounter*>(data)->end(name); });
    }
    std::uint64_t size = 0;
    uLong crc = crc32(0L, Z_NULL, 0);
    const auto take = [&](const char* bytes, std::size_t length, bool last) {
        size += length;
        crc = crc32(crc, reinterpret_cast<const Bytef*>(bytes), static_cast<uInt>(length));
        if (parser &&
            XML_Parse(parser.get(), bytes, static_cast<int>(length), last) != XML_STATUS_OK)
            damaged(entry.name + " does not read as XML (" +
                    XML_ErrorString(XML_GetErrorCode(parser.get())) + ")");
    };

    if (entry.method == 0) {
        constexpr std::size_t kPiece = 1 << 20;
        for (std::size_t at = 0; at < packed.size(); at += kPiece)
            take(packed.data() + at, std::min(kPiece, packed.size() - at), false);
    } else if (entry.method == Z_DEFLATED) {
        z_stream stream{};
        if (inflateInit2(&stream, -MAX_WBITS) != Z_OK) throw std::bad_alloc();
        struct End {
            z_stream& stream;
            ~End() { inflateEnd(&stream); }
        } endStream{stream};
        std::vector<char> out(1 << 16);
        std::size_t at = 0;
        int status = Z_OK;
        while (status != Z_STREAM_END) {
            if (stream.avail_in == 0) {
                const std::size_t piece = std::min<std::size_t>(packed.size() - at, 1 << 30);
                stream.next_in = reinterpret_cast<Bytef*>(const_cast<char*>(packed.data() + at));
                stream.avail_in = static_cast<uInt>(piece);
                at += piece;
            }
            stream.next_out = reinterpret_cast<Bytef*>(out.data());
            stream.avail_out = static_cast<uInt>(out.size());
            status = inflate(&stream, Z_NO_FLUSH);
            if (status != Z_OK && status != Z_STREAM_END) damaged(entry.name + " does not unpack");
            if (status == Z_OK && stream.avail_in == 0 && at == packed.size() &&
                stream.avail_out != 0)
                damaged(entry.name + " is cut off");
            take(out.data(), out.size() - stream.avail_out, false);
        }
    } else {
        damaged(entry.name + " is packed in an unknown way");
    }
    if (parser) take("", 0, true);
    if (size != entry.size || crc != entry.crc)
        damaged(entry.name + " does not match its checksum");
    if (const std::string fault = counter.fault(); !fault.empty())
        damaged(entry.name + ": " + fault);
}

}  // namespace

void checkWorkbook(const std::string& path, const std::vector<ExpectedSheet>& sheets) {
    std::ifstream in(path, std::ios::binary | std::ios::ate);
    if (!in) throw IoError::fromErrno(errno ? errno : EIO, path, true);
    std::string zip(static_cast<std::size_t>(in.tellg()), '\0');
    in.seekg(0);
    if (!in.read(zip.data(), static_cast<std::streamsize>(zip.size())))
        throw IoError::fromErrno(errno ? errno : EIO, path, true);

    std::vector<bool> found(sheets.size());
    for (const Entry& entry : readDirectory(zip)) {
        const ExpectedSheet* sheet = nullptr;
        for (std::size_t s = 0; s < sheets.size(); ++s) {
            if (entry.name == sheets[s].entryName) {
                sheet = &sheets[s];
                found[s] = true;
            }
        }
        checkEntry(zip, entry, sheet);
    }
    for (std::size_t s = 0; s < sheets.size(); ++s)
        if (!found[s]) damaged(sheets[s].entryName + " is missing");
}

void checkWorkbook(const std::string& path, const ExpectedSheet& sheet) {
    checkWorkbook(path, std::vector<ExpectedSheet>{sheet});
}

}  // namespace fetaldose::exporting
