#include "numeric_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <limits>
#include <string>
#include <string_view>
#include <vector>

namespace tarvelo {
namespace {

const std::string kLongDigits(400, '9');

TEST(IsNumericText, AcceptsWholeNumbersWithOptionalSign) {
  for (const std::string& text :
       std::vector<std::string>{"0", "7", "1989", "0001", "+12", "-5", "＋１２", "－３", "−7",
                                "２０００", "1２", kLongDigits}) {
    EXPECT_TRUE(IsNumericText(text)) << text;
  }
}

TEST(IsNumericText, RejectsEverythingElse) {
  for (const std::string& text :
       std::vector<std::string>{"",
                                " ",
                                " 12",
                                "12 ",
                                "1 2",
                                "1.5",
                                ".4",
                                "4.",
                                "1e3",
                                "1,000",
                                "0x10",
                                "+",
                                "-",
                                "＋",
                                "−",
                                "++1",
                                "+-1",
                                "1-",
                                "12a",
                                "a",
                                "年",
                                "一",
                                "١٢",        // Arabic-Indic digits
                                "\xEF\xBC",  // cut full-width digit
                                "\xEF\xBC\x8F",
                                "\xEF\xBC\x9A",  // just below ０, just above ９
                                "\xFF",
                                "1\x80",
                                std::string("1\0"
                                            "2",
                                            3)}) {
    EXPECT_FALSE(IsNumericText(text)) << text;
  }
}

TEST(TextToNumber, ReadsEveryAcceptedForm) {
  const struct {
    std::string text;
    std::int64_t value;
  } cases[] = {
      {"0", 0},
      {"0001", 1},
      {"1989", 1989},
      {"+12", 12},
      {"-5", -5},
      {"－３", -3},
      {"−7", -7},
      {"＋１２", 12},
      {"２０００", 2000},
      {"1２", 12},
      {"9223372036854775807", kNumberLimit},
      {"-9223372036854775807", -kNumberLimit},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToNumber(c.text), c.value) << c.text;
  }
}

TEST(TextToNumber, SaturatesInsteadOfOverflowing) {
  for (const std::string& digits : {std::string("9223372036854775808"), kLongDigits}) {
    EXPECT_EQ(TextToNumber(digits), kNumberLimit) << digits;
    EXPECT_EQ(TextToNumber("-" + digits), -kNumberLimit) << digits;
  }
}

TEST(TextToNumber, IsZeroForRejectedText) {
  for (const char* text : {"", "12a", "1.5", "+"}) {
    EXPECT_EQ(TextToNumber(text), 0) << text;
  }
}

TEST(TextToInteger, SaturatesAtSixteenBitLimits) {
  const struct {
    std::string text;
    int value;
  } cases[] = {
      {"05", 5},          {"-0", 0},          {"32767", 32767},     {"32768", 32767},
      {"-32768", -32768}, {"-32769", -32768}, {kLongDigits, 32767}, {"-" + kLongDigits, -32768},
      {"abc", 0},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(TextToInteger(c.text), c.value) << c.text;
  }
}

TEST(FormatNumber, WritesPlainDigits) {
  const struct {
    std::int64_t value;
    const char* text;
  } cases[] = {
      {0, "0"},
      {5, "5"},
      {1926, "1926"},
      {-12, "-12"},
      {kNumberLimit, "9223372036854775807"},
      {std::numeric_limits<std::int64_t>::min(), "-9223372036854775808"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatNumber(c.value), c.text) << c.value;
  }
}

}  // namespace
}  // namespace tarvelo
