#pragma once
// Large files of many short pieces (the results file, the CSV export): the bytes are put
// together in a block of memory and handed to a TextWriter a block at a time, since a call for
// each piece would cost more than working out its text.

#include <cstring>
#include <memory>
#include <string_view>
#include <utility>
#include <vector>

#include "core/textio/text_writer.h"

namespace fetaldose {

// Blocks of bytes made ahead of their writing (on another thread, say), handed to a writer
// later as they are, uncopied.
class FilledBlocks {
  public:
    void add(std::unique_ptr<char[]> bytes, std::size_t size) {
        if (size > 0) blocks_.emplace_back(std::move(bytes), size);
    }
    std::size_t size() const {
        std::size_t total = 0;
        for (const auto& block : blocks_) total += block.second;
        return total;
    }
    void writeTo(TextWriter& out) const {
        for (const auto& [bytes, size] : blocks_) out.write(std::string_view(bytes.get(), size));
    }

  private:
    std::vector<std::pair<std::unique_ptr<char[]>, std::size_t>> blocks_;
};

class BlockWriter {
  public:
    // Well above the writer's own buffer, so that a block goes out uncopied.
    static constexpr std::size_t kBlockBytes = 256 * 1024;
    static constexpr std::string_view kLineEnd = "\r\n";

    explicit BlockWriter(TextWriter& out) : out_(&out), bytes_(new char[kBlockBytes]) {}
    // Blocks that are kept in `into` as they fill, for a writer later.
    explicit BlockWriter(FilledBlocks& into) : kept_(&into), bytes_(new char[kBlockBytes]) {}
    BlockWriter(const BlockWriter&) = delete;
    BlockWriter& operator=(const BlockWriter&) = delete;

    // Room for `size` more bytes, at the returned place; used(end) then says where they end.
    char* room(std::size_t size) {
        if (size > capacity_ - used_) {
            flush();
            if (size > capacity_) {
                capacity_ = size;
                bytes_.reset(new char[capacity_]);
            }
        }
        return bytes_.get() + used_;
    }
    void used(const char* end) { used_ = static_cast<std::size_t>(end - bytes_.get()); }

    void append(std::string_view text) { used(copy(room(text.size()), text)); }
    void line(std::string_view text) {
        used(copy(copy(room(text.size() + kLineEnd.size()), text), kLineEnd));
    }
    static char* copy(char* at, std::string_view text) {
        if (!text.empty()) std::memcpy(at, text.data(), text.size());  // may be a null view
        return at + text.size();
    }

    // Hands the bytes so far to the writer (which may keep them in its own buffer), or keeps
    // the block as it is and goes on in a new one.
    void flush() {
        if (out_) {
            out_->write(std::string_view(bytes_.get(), used_));
        } else if (used_ > 0) {
            kept_->add(std::exchange(bytes_, std::unique_ptr<char[]>(new char[capacity_])), used_);
        }
        used_ = 0;
    }

  private:
    TextWriter* out_ = nullptr;
    FilledBlocks* kept_ = nullptr;
    std::unique_ptr<char[]> bytes_;
    std::size_t capacity_ = kBlockBytes;
    std::size_t used_ = 0;
};

}  // namespace fetaldose
