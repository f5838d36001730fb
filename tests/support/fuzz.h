#pragma once

#include <gtest/gtest.h>

#include <signal.h>
#include <unistd.h>

#include <algorithm>
#include <cstdint>
#include <cstdlib>
#include <functional>
#include <random>
#include <string>
#include <vector>

// A seeded fuzz run: inputs made from a small corpus of good texts by random changes, each handed
// to the code under test, which must answer with its own errors and never crash, hang or throw
// anything else. The same seed gives the same inputs. `make test` runs a few thousand inputs per
// target; `make fuzz` runs many more under AddressSanitizer and UndefinedBehaviorSanitizer
// (ZUV_FUZZ_RUNS multiplies the count, ZUV_FUZZ_SEED chooses another seed).
namespace support {

class Mutator {
public:
    Mutator(std::vector<std::string> corpus, std::vector<std::string> dictionary, uint64_t seed)
        : m_corpus(std::move(corpus)), m_dictionary(std::move(dictionary)), m_random(seed) {}

    std::string next() {
        std::string s = pick(m_corpus);
        const int changes = 1 + static_cast<int>(below(4));
        for (int i = 0; i < changes; ++i) change(s);
        return s;
    }

private:
    size_t below(size_t n) { return n == 0 ? 0 : static_cast<size_t>(m_random() % n); }
    const std::string& pick(const std::vector<std::string>& v) { return v[below(v.size())]; }

    void change(std::string& s) {
        const size_t at = below(s.size() + 1);
        switch (below(11)) {
        case 0:  // a byte changed
            if (!s.empty()) s[below(s.size())] = static_cast<char>(m_random());
            break;
        case 1:  // a byte added
            s.insert(at, 1, static_cast<char>(m_random()));
            break;
        case 2: {  // a stretch removed
            const size_t n = std::min(s.size() - at, 1 + below(16));
            s.erase(at, n);
            break;
        }
        case 3: {  // a stretch doubled
            const size_t n = std::min(s.size() - at, 1 + below(32));
            s.insert(at, s.substr(at, n));
            break;
        }
        case 4:
        case 5:  // a word of the language
            if (!m_dictionary.empty()) s.insert(at, pick(m_dictionary));
            break;
        case 6: {  // a stretch repeated many times: long texts
            const size_t n = std::min(s.size() - at, 1 + below(12));
            const std::string part = s.substr(at, n);
            std::string many;
            for (size_t k = 0, times = 10 + below(3000); k < times; ++k) many += part;
            s.insert(at, many);
            break;
        }
        case 7: {  // brackets around a stretch, many levels deep
            const size_t n = std::min(s.size() - at, below(20));
            const size_t depth = 1 + below(below(2) ? 8 : 3000);
            s.insert(at + n, std::string(depth, ')'));
            s.insert(at, std::string(depth, '('));
            break;
        }
        case 8: {  // a piece of another text of the corpus
            const std::string& other = pick(m_corpus);
            const size_t from = below(other.size() + 1);
            s.insert(at, other.substr(from, below(other.size() - from + 1)));
            break;
        }
        case 9:  // cut off
            s.resize(at);
            break;
        default: {  // a character that is not plain ASCII
            static const char* const odd[] = {"\xC3\xA4", "\xC3\x9F", "\xE2\x80\xA6", "\xFF", "\xC3", "\x00",
                                              "\r",       "\t",       "\xEF\xBB\xBF", "\x1b", "\x7f"};
            const char* c = odd[below(std::size(odd))];
            s.insert(at, c, c[0] ? std::char_traits<char>::length(c) : 1);
        }
        }
        // Inputs stay below a few hundred kilobytes: the code must be fast at that size, and the
        // run must be.
        if (s.size() > 300000) s.resize(300000);
    }

    std::vector<std::string> m_corpus;
    std::vector<std::string> m_dictionary;
    std::mt19937_64 m_random;
};

inline uint64_t fuzzSeed() {
    const char* s = std::getenv("ZUV_FUZZ_SEED");
    return s ? std::strtoull(s, nullptr, 10) : 20261209;
}

inline long fuzzRuns(long base) {
    const char* s = std::getenv("ZUV_FUZZ_RUNS");
    const long factor = s ? std::max(1L, std::atol(s)) : 1L;
    return base * factor;
}

namespace detail {
inline std::string& currentFuzzInput() {
    static std::string s;
    return s;
}
inline void onFuzzHang(int) {
    const std::string& s = currentFuzzInput();
    const char head[] = "\nfuzz: an input took longer than a minute; it follows in hex\n";
    (void)!::write(2, head, sizeof head - 1);
    static const char* digits = "0123456789abcdef";
    for (unsigned char c : s.substr(0, 4096)) {
        const char pair[2] = {digits[c >> 4], digits[c & 15]};
        (void)!::write(2, pair, 2);
    }
    (void)!::write(2, "\n", 1);
    ::_exit(124);
}
}  // namespace detail

// Runs `runs` inputs through `target`; an exception other than the expected ones fails the test
// with the input (the first 300 bytes) and its number. An input that hangs ends the program after
// a minute with the input written out. Returns how many inputs ran.
inline long fuzz(Mutator& m, long runs, const std::function<void(const std::string&)>& target) {
    struct sigaction act {};
    act.sa_handler = detail::onFuzzHang;
    struct sigaction before {};
    ::sigaction(SIGALRM, &act, &before);
    long done = 0;
    for (long i = 0; i < runs; ++i) {
        std::string input = m.next();
        detail::currentFuzzInput() = input;
        ::alarm(60);
        try {
            target(input);
        } catch (const std::exception& e) {
            ADD_FAILURE() << "input " << i << " threw " << e.what() << "\ninput: " << input.substr(0, 300);
        }
        ::alarm(0);
        ++done;
        if (::testing::Test::HasFailure()) break;
    }
    ::sigaction(SIGALRM, &before, nullptr);
    return done;
}

}  // namespace support
