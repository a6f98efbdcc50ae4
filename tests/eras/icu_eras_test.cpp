// The eras ICU gives the dialog: on the system's own data, the labels of ICU's own
// calendar; on test data that adds a tentative era (see CMakeLists.txt), that era
// when ICU is asked for tentative eras.
#include "icu_eras.h"

#include <gtest/gtest.h>
#include <unicode/calendar.h>
#include <unicode/dtfmtsym.h>
#include <unicode/gregocal.h>
#include <unicode/locid.h>
#include <unicode/normalizer2.h>
#include <unicode/timezone.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <vector>

#include "era.h"
#include "era_source.h"
#include "form1_dialog.h"

namespace tarvelo {
namespace {

// The era label ICU's Japanese calendar gives a Western year: the era and era year of
// the year's last day, which belongs to the era that began in that year.
std::string IcuLabel(int year) {
  UErrorCode status = U_ZERO_ERROR;
  icu::GregorianCalendar gregorian(*icu::TimeZone::getGMT(), status);
  gregorian.set(year, UCAL_DECEMBER, 31);
  const UDate lastDay = gregorian.getTime(status);
  const std::unique_ptr<icu::Calendar> japanese(icu::Calendar::createInstance(
      icu::TimeZone::getGMT()->clone(), icu::Locale("ja_JP@calendar=japanese"), status));
  const std::unique_ptr<icu::DateFormatSymbols> symbols(
      icu::DateFormatSymbols::createForLocale(icu::Locale("ja_JP@calendar=japanese"), status));
  if (U_FAILURE(status) != 0 || japanese == nullptr || symbols == nullptr) {
    return "ICU failed";
  }
  japanese->setTime(lastDay, status);
  const int32_t era = japanese->get(UCAL_ERA, status);
  const int32_t eraYear = japanese->get(UCAL_YEAR, status);
  int32_t named = 0;
  const icu::UnicodeString* names = symbols->getEraNames(named);
  std::string label;
  if (U_FAILURE(status) != 0 || names == nullptr || era < 0 || era >= named) {
    return "ICU failed";
  }
  std::span(names, static_cast<std::size_t>(named))[static_cast<std::size_t>(era)].toUTF8String(
      label);
  return label + (eraYear == 1 ? std::string(kFirstYearText) : std::to_string(eraYear));
}

// Every year the dialog converts gets the label ICU's calendar gives it, with the eras
// ICU adds after 令和 taken as the dialog takes them.
TEST(IcuEras, LabelEveryYearAsIcusCalendarDoes) {
  const std::vector<SystemEra> eras = IcuEraSource().Eras();
  for (const SystemEra& era : eras) {
    if (era.year >= 2019) {  // for the record of a run
      std::cout << "ICU era: " << era.name << " from " << era.year << '-' << era.month << '-'
                << era.day << '\n';
    }
  }
  const std::vector<AddedEra> added = AddedEras(eras);
  for (int year = kFirstWesternYear; year <= 9999; ++year) {
    ASSERT_EQ(EraLabel(year, added), IcuLabel(year)) << year;
  }
}

// A built-in era's name in any form NFKC makes equal to it (a compatibility ideograph, a
// radical, a squared era name) is passed over: each code point whose normalised form
// lies inside a built-in name stands in for that part of it.
TEST(IcuEras, PassOverBuiltInNamesInAnotherForm) {
  UErrorCode status = U_ZERO_ERROR;
  const icu::Normalizer2* nfkc = icu::Normalizer2::getNFKCInstance(status);
  ASSERT_TRUE(U_SUCCESS(status) != 0);
  int forms = 0;
  for (UChar32 code = 0; code <= 0x10FFFF; ++code) {
    if (code >= 0xD800 && code <= 0xDFFF) {
      continue;
    }
    const icu::UnicodeString character(code);
    std::string itself;
    std::string normal;
    character.toUTF8String(itself);
    nfkc->normalize(character, status).toUTF8String(normal);
    if (normal.empty() || normal == itself) {
      continue;
    }
    for (const Era& builtIn : kEras) {
      std::string name(builtIn.name);
      if (const auto at = name.find(normal); at != std::string::npos) {
        name.replace(at, normal.size(), itself);
        ++forms;
        const std::vector<SystemEra> entry{{name, 2045, 5, 1}};
        EXPECT_TRUE(AddedEras(entry).empty()) << "U+" << std::hex << code << " in " << name;
      }
    }
  }
  EXPECT_GE(forms, 1);
}

// Test data whose era ICU gives but the dialog must not take: a tentative era not asked
// for (ICU leaves it out) and one without a name (ICU gives it with an empty name).
TEST(IcuEras, AddNoEraUnlessNamedAndAsked) {
  const std::vector<SystemEra> eras = IcuEraSource().Eras();
  ASSERT_FALSE(eras.empty());
  const bool asked = qgetenv("ICU_ENABLE_TENTATIVE_ERA") == "true";
  EXPECT_EQ(eras.back(), (asked ? SystemEra{"", 2045, 5, 1} : SystemEra{"令和", 2019, 5, 1}));
  EXPECT_TRUE(AddedEras(eras).empty());
}

// The dialog asks ICU: the tentative era reaches its answer, from its first year on.
TEST(IcuEras, ReachTheDialogsAnswer) {
  int argc = 1;
  std::string name = "icu_eras_test";
  std::array<char*, 2> argv{name.data(), nullptr};
  const QApplication app(argc, argv.data());
  Form1Dialog dialog;
  dialog.show();
  std::vector<std::string> shown;
  QTimer answerer;
  QObject::connect(&answerer, &QTimer::timeout, [&shown] {
    if (auto* box = qobject_cast<QMessageBox*>(QApplication::activeModalWidget())) {
      shown.push_back(box->text().toStdString());
      box->button(QMessageBox::Ok)->click();
    }
  });
  answerer.start(5);
  auto* text1 = dialog.findChild<QLineEdit*>("Text1");
  auto* command1 = dialog.findChild<QPushButton*>("Command1");
  ASSERT_NE(text1, nullptr);
  ASSERT_NE(command1, nullptr);
  for (const char* year : {"2044", "2045", "2046"}) {
    text1->setText(year);
    command1->click();  // returns once the answer's box has been closed
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{"西暦2044年は令和26年です。", "西暦2045年は試験元年です。",
                                      "西暦2046年は試験2年です。"}));
}

}  // namespace
}  // namespace tarvelo
