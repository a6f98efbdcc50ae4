// Writes the pixels of square PNG pictures into a C++ header, so that the program gets
// its window icon without decoding images as it starts.
//
// usage: tarvelo_embed_icons OUTPUT.h PICTURE.png...
#include <QImage>
#include <fstream>
#include <iomanip>
#include <iostream>
#include <span>
#include <sstream>

int main(int argc, char* argv[]) {
  const std::span<char*> arguments(argv, static_cast<std::size_t>(argc));
  if (arguments.size() < 3) {
    std::cerr << "usage: tarvelo_embed_icons OUTPUT.h PICTURE.png...\n";
    return 2;
  }
  std::ostringstream arrays;
  std::ostringstream table;
  for (const char* file : arguments.subspan(2)) {
    const QImage picture =
        QImage(QString::fromLocal8Bit(file)).convertToFormat(QImage::Format_ARGB32);
    if (picture.isNull() || picture.width() != picture.height()) {
      std::cerr << "tarvelo_embed_icons: " << file << " is not a square picture\n";
      return 1;
    }
    const int size = picture.width();
    arrays << "inline constexpr std::array<std::uint32_t, " << size * size << "> kPixels" << size
           << "{" << std::hex << std::uppercase << std::setfill('0');
    for (int y = 0; y < size; ++y) {
      for (int x = 0; x < size; ++x) {
        arrays << "0x" << std::setw(8) << picture.pixel(x, y) << "U,";
      }
    }
    arrays << std::dec << "};\n";
    table << "    Picture{" << size << ", kPixels" << size << "},\n";
  }
  std::ofstream out(arguments[1]);
  out << "// Made by tarvelo_embed_icons from the program's PNG icons: ARGB, not premultiplied.\n"
         "#pragma once\n#include <array>\n#include <cstdint>\n#include <span>\n\n"
         "namespace tarvelo::icon_pixels {\n\n"
      << arrays.str()
      << "\nstruct Picture {\n  int size;\n  std::span<const std::uint32_t> pixels;\n};\n"
         "inline constexpr std::array kPictures = {\n"
      << table.str() << "};\n\n}  // namespace tarvelo::icon_pixels\n";
  return out ? 0 : 1;
}
