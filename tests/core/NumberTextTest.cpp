#include "core/NumberText.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <clocale>
#include <cmath>
#include <cstdio>
#include <cstdlib>
#include <filesystem>
#include <random>
#include <string>

#include "effect/ParamIds.h"
#include "testsupport/TestPlugin.h"

namespace {

std::string Fixed(double value, int decimals) {
  char text[64];
  FormatFixedNumber(value, decimals, text, sizeof(text));
  return text;
}

std::string Printf(double value, int decimals) {
  char text[64];
  std::snprintf(text, sizeof(text), "%.*f", decimals, value);
  return text;
}

TEST(NumberText, FixedMatchesPrintfInTheCLocale) {
  const double table[] = {0.0, -0.0, 0.05, 0.15, 0.25, 2.5, -0.4, 1e-7, 123456.789, -60.0, 59.95,
                          0.30000000000000004, 1e15 + 0.5};
  for (double v : table) {
    for (int decimals = 0; decimals <= 6; ++decimals) {
      EXPECT_EQ(Fixed(v, decimals), Printf(v, decimals)) << v << " at " << decimals;
    }
  }
  std::mt19937_64 random(7);
  std::uniform_real_distribution<double> values(-1000.0, 1000.0);
  for (int i = 0; i < 20000; ++i) {
    const double v = values(random);
    const int decimals = i % 7;
    ASSERT_EQ(Fixed(v, decimals), Printf(v, decimals)) << v << " at " << decimals;
  }
}

TEST(NumberText, FixedIsCutToTheBuffer) {
  char text[4];
  FormatFixedNumber(12345.678, 2, text, sizeof(text));
  EXPECT_STREQ(text, "123");
}

TEST(NumberText, LeadingNumberMatchesStrtodInTheCLocale) {
  const char* table[] = {"3.5",  "  -12.25dB", "+7", "1e3", ".5", "-.5e-1x", "abc", "",
                         "- 4",  "+-1",       "12,5", "0042", "1e400", "-1e400", "1e-400"};
  for (const char* text : table) {
    EXPECT_EQ(ReadLeadingNumber(text), std::strtod(text, nullptr)) << '"' << text << '"';
  }
}

#ifdef _WIN32
// The C run-time knows the German locale by its Windows name.
struct DecimalCommaLocale {
  bool Use() { return std::setlocale(LC_NUMERIC, "German_Germany.1252") != nullptr; }
  ~DecimalCommaLocale() { std::setlocale(LC_NUMERIC, "C"); }
};
#else
// Built into a folder of this process alone: checkouts testing at once on one
// machine would otherwise build the locale into one folder at the same time.
struct DecimalCommaLocale {
  const std::string dir = ::testing::TempDir() + "stratum-locale-" + std::to_string(getpid());
  bool Use() {
    const std::string command = "localedef -i de_DE -f UTF-8 " + dir + "/de_DE.UTF-8 >/dev/null 2>&1";
    if (std::system(("mkdir -p " + dir).c_str()) != 0 || std::system(command.c_str()) != 0) return false;
    setenv("LOCPATH", dir.c_str(), 1);
    return std::setlocale(LC_NUMERIC, "de_DE.UTF-8") != nullptr;
  }
  ~DecimalCommaLocale() {
    std::setlocale(LC_NUMERIC, "C");
    unsetenv("LOCPATH");
    std::error_code ignored;
    std::filesystem::remove_all(dir, ignored);
  }
};
#endif

// Hosts may run with a decimal-comma locale; a plug-in's texts must not follow it.
TEST(NumberText, ParameterTextsIgnoreTheHostLocale) {
  DecimalCommaLocale locale;
  if (!locale.Use()) GTEST_SKIP() << "decimal-comma locale not available";
  char check[16];
  std::snprintf(check, sizeof(check), "%.1f", 0.5);
  EXPECT_STREQ(check, "0,5");  // the C library does follow it

  TestPlugin plugin;
  IFxParam* gain = plugin.GetParam(kGainLevel);
  gain->SetValueClamped(-6.5);
  char text[32];
  gain->FormatCurrent(text, sizeof(text));
  EXPECT_STREQ(text, "-6.5");
  double value = 0.0;
  ASSERT_TRUE(gain->ValueFromText("-12.25", &value));
  EXPECT_EQ(value, -12.25);
}

}  // namespace
