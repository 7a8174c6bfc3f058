#include "WordStemmer.h"

#include <libstemmer.h>

#include <new>

void WordStemmer::Free::operator()(sb_stemmer* stemmer) const {
    sb_stemmer_delete(stemmer);
}

WordStemmer::WordStemmer() : m_stemmer(sb_stemmer_new("english", "UTF_8")) {
    // The English stemmer is built into the library; only a lack of memory leaves it out.
    if (!m_stemmer) throw std::bad_alloc();
}

WordStemmer::~WordStemmer() = default;

std::string WordStemmer::stem(std::string_view word) {
    const sb_symbol* stemmed =
        sb_stemmer_stem(m_stemmer.get(), reinterpret_cast<const sb_symbol*>(word.data()),
                        static_cast<int>(word.size()));
    if (!stemmed) throw std::bad_alloc();
    return {reinterpret_cast<const char*>(stemmed),
            static_cast<std::size_t>(sb_stemmer_length(m_stemmer.get()))};
}
