// Writes the sources of ICU data that adds a tentative era beginning on 2045-05-01 after
// the eras of the installed ICU: supplementalData.txt, and with "named" also ja.txt, which
// names it 試験. Compiled with genrb, they stand in for the installed data through ICU_DATA.
// usage: make_icu_test_data <folder> named|unnamed
#include <unicode/dtfmtsym.h>
#include <unicode/locid.h>
#include <unicode/ures.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <iostream>
#include <memory>
#include <span>
#include <string>
#include <string_view>

namespace {

struct BundleCloser {
  void operator()(UResourceBundle* bundle) const { ures_close(bundle); }
};
using Bundle = std::unique_ptr<UResourceBundle, BundleCloser>;

bool Failed(UErrorCode status) { return U_FAILURE(status) != 0; }

Bundle Child(const Bundle& parent, const char* key, UErrorCode& status) {
  return Bundle(ures_getByKey(parent.get(), key, nullptr, &status));
}

bool WriteSupplementalData(const std::filesystem::path& folder) {
  UErrorCode status = U_ZERO_ERROR;
  const Bundle data(ures_openDirect(nullptr, "supplementalData", &status));
  const Bundle calendars = Child(data, "calendarData", status);
  const Bundle japanese = Child(calendars, "japanese", status);
  const Bundle eras = Child(japanese, "eras", status);
  if (Failed(status)) {
    std::cerr << "make_icu_test_data: no Japanese eras in ICU's data: " << u_errorName(status)
              << '\n';
    return false;
  }
  std::ofstream out(folder / "supplementalData.txt");
  out << "supplementalData:table(nofallback){\n calendarData{\n  japanese{\n   eras{\n";
  const int32_t count = ures_getSize(eras.get());
  for (int32_t era = 0; era < count; ++era) {
    const std::string key = std::to_string(era);
    const Bundle entry = Child(eras, key.c_str(), status);
    const Bundle start = Child(entry, "start", status);
    int32_t length = 0;
    const int32_t* day = ures_getIntVector(start.get(), &length, &status);
    if (Failed(status) || length != 3) {
      std::cerr << "make_icu_test_data: era " << era << " unreadable\n";
      return false;
    }
    out << "    " << era << "{start:intvector{" << day[0] << ',' << day[1] << ',' << day[2]
        << "}}\n";
  }
  out << "    " << count << "{named{\"false\"} start:intvector{2045,5,1}}\n   }\n  }\n }\n}\n";
  return static_cast<bool>(out);
}

void WriteNames(std::ostream& out, const char* width, std::span<const icu::UnicodeString> names) {
  out << "     " << width << "{\n";
  for (const icu::UnicodeString& name : names) {
    std::string text;
    name.toUTF8String(text);
    out << "      \"" << text << "\",\n";
  }
  out << "      \"試験\",\n     }\n";
}

bool WriteJapaneseNames(const std::filesystem::path& folder) {
  UErrorCode status = U_ZERO_ERROR;
  const std::unique_ptr<icu::DateFormatSymbols> symbols(
      icu::DateFormatSymbols::createForLocale(icu::Locale("ja@calendar=japanese"), status));
  if (Failed(status)) {
    std::cerr << "make_icu_test_data: no Japanese era names: " << u_errorName(status) << '\n';
    return false;
  }
  int32_t count = 0;
  std::ofstream out(folder / "ja.txt");
  out << "ja{\n calendar{\n  japanese{\n   eras{\n";
  const icu::UnicodeString* names = symbols->getEras(count);
  WriteNames(out, "abbreviated", {names, static_cast<std::size_t>(count)});
  names = symbols->getEraNames(count);
  WriteNames(out, "wide", {names, static_cast<std::size_t>(count)});
  names = symbols->getNarrowEras(count);
  WriteNames(out, "narrow", {names, static_cast<std::size_t>(count)});
  out << "   }\n  }\n }\n}\n";
  return static_cast<bool>(out);
}

}  // namespace

int main(int argc, char* argv[]) {
  const std::span<char*> arguments(argv, static_cast<std::size_t>(argc));
  if (arguments.size() != 3) {
    std::cerr << "usage: make_icu_test_data <folder> named|unnamed\n";
    return 2;
  }
  const std::filesystem::path folder = arguments[1];
  std::filesystem::create_directories(folder);
  const bool named = std::string_view(arguments[2]) == "named";
  const bool written = WriteSupplementalData(folder) && (!named || WriteJapaneseNames(folder));
  return written ? EXIT_SUCCESS : EXIT_FAILURE;
}
