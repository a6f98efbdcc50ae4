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
// (2^53 - 1) * 2^971, the largest finite double.
constexpr std::string_view kLargestDouble =
    "179769313486231570814527423731704356798070567525844996598917476803157260780028538760589558"
    "632766878171540458953514382464234321326889464182768467546703537516986049910576551282076245"
    "490090389328944075868508455133942304583236903222948165808559332123348274797826204144723168"
    "738177180919299881250404026184124858368";

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

// Past 2^53 the value and the difference round as doubles do.
TEST(FormatDifference, RoundsLargeValuesToDoublePrecision) {
  const struct {
    std::string text;
    std::uint32_t subtrahend;
    std::string difference;
  } cases[] = {
      {"2019", 2018, "1"},
      {"-5", 2018, "-2023"},
      {"9007199254740993", 0, "9007199254740992"},  // a tie goes to the even neighbour
      {"9007199254740995", 0, "9007199254740996"},
      {"9007199254740993", 1, "9007199254740991"},  // just below 2^53 the spacing halves
      {"9007199254740994", 2018, "9007199254738976"},
      {"-9007199254740995", 2018, "-9007199254743014"},
      {"18446744073709551616", 2018, "18446744073709549568"},
      {"1" + std::string(308, '0'), 2018,
       "10000000000000000109790636294404554174049230967731184633681068290315758540491149"
       "15371633289784946888990612496697211725156115902837431400883283070091981460460312"
       "71664502933027185697489699588559043338384466165001178426897626212945177628091195"
       "786707458122783970171784415105291802893207873272974885715430223118336"},
      {kLongDigits, 2018, std::string(kLargestDouble)},
      {"-" + kLongDigits, 2018, "-" + std::string(kLargestDouble)},
      {"12a", 2018, "-2018"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(FormatDifference(c.text, c.subtrahend), c.difference) << c.text;
  }
}

}  // namespace
}  // namespace tarvelo
