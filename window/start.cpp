#include "start.h"

#include <QApplication>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <optional>
#include <span>
#include <string_view>

#include "form1_dialog.h"

namespace tarvelo {
namespace {

constexpr std::string_view kUsage =
    "使い方: tarvelo [--help | --version]\n"
    "西暦と和暦（明治・大正・昭和・平成・令和）の年を変換するダイアログを開きます。\n"
    "\n"
    "  -h, --help     この説明を表示して終了します\n"
    "  -v, --version  バージョンを表示して終了します\n";

// The platforms QT_QPA_PLATFORM asks for that are not among those Qt's fatal report
// lists as installed, joined as asked; empty when one of them is installed.
QString MissingPlatforms(const QString& report) {
  QString asked = qEnvironmentVariable("QT_QPA_PLATFORM");
  const QString list = QStringLiteral("Available platform plugins are: ");
  const auto at = report.indexOf(list);
  if (asked.isEmpty() || at < 0) {
    return {};
  }
  const QStringList installed =
      report.mid(at + list.size()).section(u'.', 0, 0).split(QStringLiteral(", "));
  for (const QString& platform : asked.split(u';')) {
    if (installed.contains(platform.section(u':', 0, 0))) {
      return {};
    }
  }
  return asked;
}

// When Qt cannot open a window it aborts, advising a reinstall that would not help: say
// what is wrong instead and end with status 1. What the platform says while it tries
// would only repeat that, so it is left out.
void ReportNoWindow(QtMsgType type, const QMessageLogContext& /*context*/, const QString& message) {
  if (type != QtFatalMsg) {
    return;
  }
  const QString missing = MissingPlatforms(message);
  if (missing.isEmpty()) {
    std::fputs(
        "tarvelo: ディスプレイに接続できないため、ウィンドウを開けません"
        "（DISPLAY または WAYLAND_DISPLAY を確かめてください）\n",
        stderr);
  } else {
    std::fputs(
        qPrintable(QStringLiteral("tarvelo: 表示プラグイン %1 がないため、ウィンドウを開けません"
                                  "（QT_QPA_PLATFORM を確かめてください。wayland には "
                                  "qt6-wayland パッケージが要ります）\n")
                       .arg(missing)),
        stderr);
  }
  std::_Exit(EXIT_FAILURE);
}

// Answers the arguments after the program's name: --help (-h) and --version (-v) print
// to `out`, anything else is refused with one line on `err`. Returns the exit status
// when the command line has been answered, or nothing when the dialog is to open.
std::optional<int> AnswerCommandLine(std::span<const char* const> arguments, std::ostream& out,
                                     std::ostream& err) {
  if (arguments.empty()) {
    return std::nullopt;
  }
  const std::string_view first = arguments.front() != nullptr ? arguments.front() : "";
  const bool help = first == "--help" || first == "-h";
  const bool version = first == "--version" || first == "-v";
  if (arguments.size() == 1 && help) {
    out << kUsage;
    return EXIT_SUCCESS;
  }
  if (arguments.size() == 1 && version) {
    out << "tarvelo " << TARVELO_VERSION << '\n';
    return EXIT_SUCCESS;
  }
  // The first argument out of place: an unknown one, or whatever follows an option.
  const std::string_view refused =
      (help || version) && arguments[1] != nullptr ? std::string_view(arguments[1]) : first;
  err << "tarvelo: 使えない引数です: " << refused << "（tarvelo --help で使い方を表示します）\n";
  return 2;
}

}  // namespace

int Start(int argc, char* argv[]) {
  const std::span<const char* const> arguments(argv, static_cast<std::size_t>(argc));
  if (const auto status = AnswerCommandLine(arguments.subspan(1), std::cout, std::cerr)) {
    return *status;
  }

  // The shell matches the window with its menu entry and icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.tarvelo.Tarvelo"));
  const QtMessageHandler previous = qInstallMessageHandler(ReportNoWindow);
  const QApplication app(argc, argv);
  qInstallMessageHandler(previous);

  Form1Dialog dialog;
  dialog.show();
  return QApplication::exec();
}

}  // namespace tarvelo
