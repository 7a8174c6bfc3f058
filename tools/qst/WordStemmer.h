#pragma once

#include <memory>
#include <string>
#include <string_view>

struct sb_stemmer;

// English word forms folded to one stem ("guillotined" and "guillotine" both give
// "guillotin", "foxes" gives "fox"), by the Snowball English stemmer. Words go in folded to
// lower case, as UTF-8; words the stemmer cannot take come back unchanged. One stemmer
// serves one thread.
class WordStemmer {
public:
    WordStemmer();
    ~WordStemmer();
    WordStemmer(const WordStemmer&) = delete;
    WordStemmer& operator=(const WordStemmer&) = delete;

    std::string stem(std::string_view word);

private:
    struct Free {
        void operator()(sb_stemmer* stemmer) const;
    };
    std::unique_ptr<sb_stemmer, Free> m_stemmer;
};
