#pragma once

#include <cstdint>
#include <deque>
#include <memory>
#include <optional>
#include <string_view>
#include <vector>

// The questions met so far in an import, each with the place it was first met, kept
// compactly: the texts side by side in blocks, an entry of 16 bytes each and an open hash
// table of small numbers, none of them ever copied as it grows, so that a large import of
// short questions costs little more than their texts.
class SeenQuestions {
public:
    // Where a question was first met: an origin (a source or set, numbered by the caller)
    // and a line or record number.
    struct Place {
        std::uint32_t origin = 0;
        std::int64_t number = 0;
    };

    // Adds key (at most 255 bytes) met at place. Returns nothing when it is new, else the
    // place where it was first met.
    std::optional<Place> insert(std::string_view key, Place place);

    std::size_t size() const { return entries.size(); }

private:
    // 16 bytes: the position of the key's length byte in the blocks (the key follows it) and
    // the origin share one word.
    struct Entry {
        std::uint64_t at : 40;
        std::uint64_t origin : 24;
        std::int64_t number;
    };

    std::string_view keyOf(const Entry& entry) const;
    void grow();

    static constexpr std::size_t BlockSize = std::size_t{1} << 20;
    std::vector<std::unique_ptr<char[]>> blocks;
    // Bytes used in the last block.
    std::size_t used = BlockSize;
    std::deque<Entry> entries;
    // Index + 1 into entries; 0 is a free slot. The size is a power of two.
    std::vector<std::uint32_t> slots;
};
