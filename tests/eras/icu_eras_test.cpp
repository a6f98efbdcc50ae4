// The eras ICU gives the dialog: on the system's own data, the built-in table with the
// same base years; on test data that adds a tentative era (see CMakeLists.txt), that era
// when ICU is asked for tentative eras.
#include "icu_eras.h"

#include <gtest/gtest.h>

#include <QApplication>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QTimer>
#include <algorithm>
#include <array>
#include <iostream>
#include <string>
#include <vector>

#include "era.h"
#include "era_source.h"
#include "form1_dialog.h"

namespace tarvelo {
namespace {

TEST(IcuEras, GiveTheBuiltInErasWithTheirBaseYears) {
  const std::vector<SystemEra> eras = IcuEraSource().Eras();
  for (const Era& builtIn : kEras) {
    const auto found = std::ranges::find(eras, builtIn.name, &SystemEra::name);
    ASSERT_NE(found, eras.end()) << builtIn.name;
    EXPECT_EQ(found->year - 1, builtIn.baseYear) << builtIn.name;
  }
  // What this system's ICU holds after 平成, for the record of a run.
  for (const SystemEra& era : eras) {
    if (era.year >= 2019) {
      std::cout << "ICU era: " << era.name << " from " << era.year << '-' << era.month << '-'
                << era.day << '\n';
    }
  }
  // Up to an era the system may have learnt after 令和, every answer is the built-in one.
  const std::vector<AddedEra> added = AddedEras(eras);
  const int last = added.empty() ? 2100 : std::min(2100, added.front().baseYear);
  for (int year = kFirstWesternYear; year <= last; ++year) {
    EXPECT_EQ(EraLabel(year, added), EraLabel(year)) << year;
  }
}

TEST(IcuEras, TakeANamedTentativeEraWhenAsked) {
  const std::vector<SystemEra> eras = IcuEraSource().Eras();
  ASSERT_FALSE(eras.empty());
  EXPECT_EQ(eras.back(), (SystemEra{"試験", 2045, 5, 1}));
  const std::vector<AddedEra> added = AddedEras(eras);
  EXPECT_EQ(added, (std::vector<AddedEra>{{"試験", 2044}}));
  EXPECT_EQ(EraLabel(2044, added), "令和26");
  EXPECT_EQ(EraLabel(2045, added), "試験元");
}

TEST(IcuEras, LeaveATentativeEraAloneUnlessAsked) {
  const std::vector<SystemEra> eras = IcuEraSource().Eras();
  ASSERT_FALSE(eras.empty());
  EXPECT_EQ(eras.back(), (SystemEra{"令和", 2019, 5, 1}));
  EXPECT_TRUE(AddedEras(eras).empty());
}

// A tentative era whose name ICU does not know comes with an empty name and is passed over.
TEST(IcuEras, PassOverAnUnnamedTentativeEra) {
  const std::vector<SystemEra> eras = IcuEraSource().Eras();
  ASSERT_FALSE(eras.empty());
  EXPECT_EQ(eras.back(), (SystemEra{"", 2045, 5, 1}));
  EXPECT_TRUE(AddedEras(eras).empty());
}

// The dialog asks ICU: the tentative era reaches its answer.
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
  for (const char* year : {"2044", "2046"}) {
    text1->setText(year);
    command1->click();  // returns once the answer's box has been closed
  }
  EXPECT_EQ(shown,
            (std::vector<std::string>{"西暦2044年は令和26年です。", "西暦2046年は試験2年です。"}));
}

}  // namespace
}  // namespace tarvelo
