#include "SeenQuestions.h"

#include <algorithm>
#include <functional>
#include <stdexcept>

std::string_view SeenQuestions::keyOf(const Entry& entry) const {
    const char* at = blocks[entry.at / BlockSize].get() + entry.at % BlockSize;
    return {at + 1, static_cast<unsigned char>(*at)};
}

void SeenQuestions::grow() {
    const std::size_t size = slots.empty() ? 1024 : slots.size() * 2;
    slots.assign(size, 0);
    const std::size_t mask = size - 1;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        std::size_t slot = std::hash<std::string_view>{}(keyOf(entries[i])) & mask;
        while (slots[slot] != 0)
            slot = (slot + 1) & mask;
        slots[slot] = static_cast<std::uint32_t>(i + 1);
    }
}

std::optional<SeenQuestions::Place> SeenQuestions::insert(std::string_view key, Place place) {
    if (key.size() > 255) throw std::length_error("question key longer than 255 bytes");
    if (blocks.size() * BlockSize >= (std::uint64_t{1} << 40) - BlockSize ||
        place.origin >= (1u << 24))
        throw std::length_error("too many questions");
    // At most half the slots in use keeps the probe runs short.
    if ((entries.size() + 1) * 2 > slots.size()) grow();
    const std::size_t mask = slots.size() - 1;
    std::size_t slot = std::hash<std::string_view>{}(key)&mask;
    while (slots[slot] != 0) {
        const Entry& entry = entries[slots[slot] - 1];
        if (keyOf(entry) == key)
            return Place{static_cast<std::uint32_t>(entry.origin), entry.number};
        slot = (slot + 1) & mask;
    }
    if (entries.size() >= UINT32_MAX - 1) throw std::length_error("too many questions");
    if (used + key.size() + 1 > BlockSize) {
        blocks.push_back(std::make_unique<char[]>(BlockSize));
        used = 0;
    }
    char* at = blocks.back().get() + used;
    *at = static_cast<char>(key.size());
    std::copy(key.begin(), key.end(), at + 1);
    entries.push_back({(blocks.size() - 1) * BlockSize + used, place.origin, place.number});
    used += key.size() + 1;
    slots[slot] = static_cast<std::uint32_t>(entries.size());
    return std::nullopt;
}
