#pragma once

#include <cmath>
#include <cstdio>
#include <sstream>
#include <string>
#include <vector>

// The tests that run under Wine are plain C++ (there is no Qt for the Windows
// cross build), with this much of a harness: named tests, checks that record a
// failure and go on, and a closing line "N passed, N failed".
namespace winecheck {

struct Test
{
    const char* name;
    void (*run)();
};

inline std::vector<Test>& tests()
{
    static std::vector<Test> all;
    return all;
}

inline int& failedChecks()
{
    static int count = 0;
    return count;
}

struct Registration
{
    Registration(const char* name, void (*run)()) { tests().push_back({name, run}); }
};

inline void fail(const char* file, int line, const std::string& what)
{
    ++failedChecks();
    std::printf("    %s:%d: %s\n", file, line, what.c_str());
}

template <typename T> std::string show(const T& value)
{
    std::ostringstream text;
    text.precision(17);
    text << value;
    return text.str();
}

// A list of texts, such as the messages a run showed.
inline std::string show(const std::vector<std::string>& texts)
{
    std::string shown = "[";
    for (const std::string& text : texts)
        shown += (shown.size() > 1 ? ", \"" : "\"") + text + "\"";
    return shown + "]";
}

inline bool nearlyEqual(double actual, double expected)
{
    return std::fabs(actual - expected) <= 1e-12 * (1 + std::fabs(expected));
}

// Runs every test, or those whose name contains the filter.
inline int runAll(const char* filter)
{
    int passed = 0;
    int failed = 0;
    for (const Test& test : tests()) {
        if (filter && std::string(test.name).find(filter) == std::string::npos)
            continue;
        const int before = failedChecks();
        test.run();
        const bool ok = failedChecks() == before;
        std::printf("%s %s\n", ok ? "PASS" : "FAIL", test.name);
        std::fflush(stdout);
        ++(ok ? passed : failed);
    }
    std::printf("%d passed, %d failed\n", passed, failed);
    return failed == 0 && passed > 0 ? 0 : 1;
}

} // namespace winecheck

#define WINE_TEST(name)                                                                                      \
    static void name();                                                                                      \
    static const winecheck::Registration name##Registration(#name, name);                                    \
    static void name()

#define CHECK(condition)                                                                                     \
    do {                                                                                                     \
        if (!(condition))                                                                                    \
            winecheck::fail(__FILE__, __LINE__, "CHECK(" #condition ")");                                    \
    } while (false)

#define CHECK_EQUAL(actual, expected)                                                                        \
    do {                                                                                                     \
        const auto& actualValue = (actual);                                                                  \
        const auto& expectedValue = (expected);                                                              \
        if (!(actualValue == expectedValue))                                                                 \
            winecheck::fail(__FILE__, __LINE__,                                                              \
                            #actual " is " + winecheck::show(actualValue) + ", expected " +                  \
                                winecheck::show(expectedValue));                                             \
    } while (false)

#define CHECK_NEAR(actual, expected)                                                                         \
    do {                                                                                                     \
        const double actualValue = (actual);                                                                 \
        const double expectedValue = (expected);                                                             \
        if (!winecheck::nearlyEqual(actualValue, expectedValue))                                             \
            winecheck::fail(__FILE__, __LINE__,                                                              \
                            #actual " is " + winecheck::show(actualValue) + ", expected " +                  \
                                winecheck::show(expectedValue));                                             \
    } while (false)
