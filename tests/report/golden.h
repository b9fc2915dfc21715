#pragma once
// Reviewed report files: the lines a report builder produces for the example project, compared
// with a file under tests/data. ZEB_UPDATE_GOLDEN=1 rewrites the files (review the diff).

#include "../common/test_support.h"

#include "app/project_file.h"

#include <gtest/gtest.h>

#include <cstdlib>
#include <fstream>
#include <sstream>
#include <string>
#include <vector>

namespace zeb::report::testing {

inline constexpr const char* kFileName = "/home/labor/projekte/example.zeb";
inline constexpr const char* kDateTime = "06.12.2026 16:30:00";

using test::Example;

inline void ExpectGolden(const std::vector<std::string>& lines, const std::string& name) {
    const std::string path = std::string(ZEB_TEST_DATA_DIR) + "/" + name;
    std::string actual;
    for (const std::string& l : lines)
        actual += l + "\n";
    if (std::getenv("ZEB_UPDATE_GOLDEN")) {
        std::ofstream(path, std::ios::binary) << actual;
        return;
    }
    std::ifstream in(path, std::ios::binary);
    ASSERT_TRUE(in) << path;
    std::stringstream expected;
    expected << in.rdbuf();
    std::istringstream a(actual), e(expected.str());
    std::string la, le;
    for (int n = 1; std::getline(e, le); ++n) {
        ASSERT_TRUE(std::getline(a, la)) << name << ": missing line " << n;
        EXPECT_EQ(la, le) << name << ": line " << n;
    }
    EXPECT_FALSE(std::getline(a, la)) << name << ": extra lines";
}

} // namespace zeb::report::testing
