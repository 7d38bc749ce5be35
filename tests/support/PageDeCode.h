// The runs under other code pages: CTest sets VIVLAN_PAGE_CODE, tools/wine-run starts Wine under
// the locale that gives that ANSI code page, and every test process checks here, before any
// test, that it got it. A locale that is missing leaves Wine on 1252, and the run would pass
// as one more 1252 run. Included once by each Windows test program that has such runs.
#pragma once

#include <windows.h>

#include <gtest/gtest.h>

#include <string>

namespace page_de_code {

class Verifie : public ::testing::Environment {
 public:
  void SetUp() override {
    wchar_t attendue[16] = L"";
    if (GetEnvironmentVariableW(L"VIVLAN_PAGE_CODE", attendue, 16) == 0) return;
    // Not fatal: GoogleTest would report the tests skipped, which CTest counts as no failure.
    EXPECT_EQ(std::to_wstring(GetACP()), std::wstring(attendue))
        << "the run is not under the ANSI code page it is named after";
  }
};

// GoogleTest owns it.
inline ::testing::Environment* const kVerifie = ::testing::AddGlobalTestEnvironment(new Verifie);

}  // namespace page_de_code
