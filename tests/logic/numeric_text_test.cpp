#include "numeric_text.h"

#include <gtest/gtest.h>

#include <cstdint>
#include <string>
#include <vector>

namespace tarvelo {
namespace {

const std::string kLongDigits(400, '9');

// Every accepted form, its value and its value held at the 16-bit limits.
TEST(NumericText, ReadsWholeNumbersWithOptionalSign) {
  const struct {
    std::string text;
    std::int64_t number;
    int integer;
  } cases[] = {
      {"0", 0, 0},
      {"-0", 0, 0},
      {"0001", 1, 1},
      {"1989", 1989, 1989},
      {"+12", 12, 12},
      {"-5", -5, -5},
      {"－３", -3, -3},
      {"−7", -7, -7},
      {"＋１２", 12, 12},
      {"２０００", 2000, 2000},
      {"1２", 12, 12},
      {"32767", 32767, 32767},
      {"32768", 32768, 32767},
      {"-32769", -32769, -32768},
      {"9223372036854775807", kNumberLimit, 32767},
      {"9223372036854775808", kNumberLimit, 32767},
      {"-9223372036854775807", -kNumberLimit, -32768},
      {"-9223372036854775808", -kNumberLimit, -32768},
      {kLongDigits, kNumberLimit, 32767},
      {"-" + kLongDigits, -kNumberLimit, -32768},
  };
  for (const auto& c : cases) {
    EXPECT_TRUE(IsNumericText(c.text)) << c.text;
    EXPECT_EQ(TextToNumber(c.text), c.number) << c.text;
    EXPECT_EQ(TextToInteger(c.text), c.integer) << c.text;
  }
}

TEST(NumericText, RefusesEverythingElseAsZero) {
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
    EXPECT_EQ(TextToNumber(text), 0) << text;
    EXPECT_EQ(TextToInteger(text), 0) << text;
  }
}

}  // namespace
}  // namespace tarvelo
