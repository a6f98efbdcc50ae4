#include "start.h"

#include <QAccessible>
#include <QApplication>
#include <QDir>
#include <QJsonArray>
#include <QJsonObject>
#include <QLibraryInfo>
#include <QPluginLoader>
#include <QTranslator>
#include <array>
#include <cstdio>
#include <cstdlib>
#include <iostream>
#include <mutex>
#include <optional>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "accessibility.h"
#include "form1_dialog.h"
#include "platform_choice.h"

namespace tarvelo {
namespace {

constexpr std::string_view kUsage =
    "使い方: tarvelo [--help | --version | Qt のオプション...]\n"
    "西暦と和暦（明治・大正・昭和・平成・令和）の年を変換するダイアログを開きます。\n"
    "\n"
    "  -h, --help     この説明を表示して終了します\n"
    "  -v, --version  バージョンを表示して終了します\n"
    "Qt のオプション（-platform、-style、-reverse、-qwindowgeometry など）も使えます。\n";

// What Qt says while it opens the display, held until it is known whether it could: a
// display that cannot be reached gets one line of ours instead.
struct HeldMessage {
  QtMsgType type;
  QByteArray category;
  QString text;
};

struct StartUpLog {
  QString triedPlatforms;  // what Qt is to try, as -platform or QT_QPA_PLATFORM take them
  std::mutex heldLock;     // Qt may call its message handler from any thread
  QList<HeldMessage> held;
};

// Qt's message handler is a plain function, so what it keeps cannot belong to an object.
StartUpLog& Log() {
  static StartUpLog log;
  return log;
}

// The platforms asked for, on the command line (which Qt prefers) or in the environment.
QString AskedPlatforms(std::span<const char* const> arguments) {
  for (std::size_t i = 0; i + 1 < arguments.size(); ++i) {
    const std::string_view option = arguments[i] != nullptr ? arguments[i] : "";
    if ((option == "-platform" || option == "--platform") && arguments[i + 1] != nullptr) {
      return QString::fromLocal8Bit(arguments[i + 1]);
    }
  }
  return qEnvironmentVariable("QT_QPA_PLATFORM");
}

// Whether a platform plug-in answering to `name` is installed and loads.
bool PlatformInstalled(const QString& name) {
  for (const QString& path : QCoreApplication::libraryPaths()) {
    const QDir folder(path + QStringLiteral("/platforms"));
    for (const QString& file : folder.entryList(QDir::Files)) {
      QPluginLoader plugin(folder.filePath(file));
      const QJsonArray keys =
          plugin.metaData().value(QStringLiteral("MetaData")).toObject().value(u"Keys").toArray();
      if (keys.contains(name) && plugin.load()) {
        return true;
      }
    }
  }
  return false;
}

// Keeps Qt's messages while the application is made. Qt aborts when no platform could be
// opened, advising a reinstall that would not help: say in one line what kept each
// platform tried from opening instead, and end with status 1; what the platforms said
// while they tried would only repeat that.
void HoldStartUpMessage(QtMsgType type, const QMessageLogContext& context, const QString& message) {
  if (type != QtFatalMsg) {
    const std::scoped_lock lock(Log().heldLock);
    Log().held.append({type, QByteArray(context.category), message});
    return;
  }
  std::fputs(qPrintable(CannotOpenMessage(Log().triedPlatforms, PlatformInstalled) + u'\n'),
             stderr);
  std::_Exit(EXIT_FAILURE);
}

bool IsHelpOrVersion(std::span<const char* const> arguments) {
  if (arguments.size() != 1 || arguments.front() == nullptr) {
    return false;
  }
  const std::string_view only = arguments.front();
  return only == "--help" || only == "-h" || only == "--version" || only == "-v";
}

// Answers the arguments after the program's name that Qt left: --help (-h) and --version
// (-v) print to `out`, anything else is refused with one line on `err`. Returns the exit
// status when the command line has been answered, or nothing when the dialog is to open.
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

void PrepareApplication(QApplication& app) {
  // The dialog is Japanese whatever the locale, and so is what Qt writes by itself.
  auto* qtTexts = new QTranslator(&app);
  if (qtTexts->load(QStringLiteral("qtbase_ja"),
                    QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
    QCoreApplication::installTranslator(qtTexts);
  }
  // Replaces Qt's accessible line edit in the whole process, so it is set here, once.
  QAccessible::installFactory(AccessibleFactory);
}

int Start(int argc, char* argv[]) {
  // A program may be started with no arguments at all, not even its name, which Qt
  // expects: it is given one.
  std::string name = "tarvelo";
  std::array<char*, 2> named{name.data(), nullptr};
  if (argc < 1 || argv == nullptr || argv[0] == nullptr) {
    argc = 1;
    argv = named.data();
  }
  const std::span<const char* const> arguments(argv, static_cast<std::size_t>(argc));
  // Answered before Qt starts, so that no display is needed.
  if (IsHelpOrVersion(arguments.subspan(1))) {
    return AnswerCommandLine(arguments.subspan(1), std::cout, std::cerr).value_or(EXIT_SUCCESS);
  }

  // The shell matches the window with its menu entry and icon by this name.
  QGuiApplication::setDesktopFileName(QStringLiteral("org.tarvelo.Tarvelo"));
  const QString asked = AskedPlatforms(arguments);
  // The platform chosen for the desktop goes to Qt as if given on the command line.
  QByteArray platformOption = "-platform";
  QByteArray chosen = asked.isEmpty() ? ChoosePlatform() : QByteArray();
  Log().triedPlatforms = !asked.isEmpty()    ? asked
                         : !chosen.isEmpty() ? QString::fromLatin1(chosen)
                                             : QString::fromLatin1(QtDefaultPlatforms());
  SendWaylandLogToQt();
  std::vector<char*> qtArguments(argv, argv + argc);
  if (!chosen.isEmpty()) {
    qtArguments.insert(qtArguments.begin() + 1, {platformOption.data(), chosen.data()});
  }
  int qtArgumentCount = static_cast<int>(qtArguments.size());
  qtArguments.push_back(nullptr);
  const QtMessageHandler previous = qInstallMessageHandler(HoldStartUpMessage);
  // Takes Qt's own options (-platform, -style, -session, ...) out of the arguments. A
  // session manager restoring the last session passes -session: the dialog comes back as
  // it starts, since there is nothing else to restore.
  QApplication app(qtArgumentCount, qtArguments.data());
  qInstallMessageHandler(previous);
  QList<HeldMessage> held;
  {
    const std::scoped_lock lock(Log().heldLock);
    held.swap(Log().held);
  }
  for (const HeldMessage& message : std::as_const(held)) {
    previous(message.type, QMessageLogContext(nullptr, 0, nullptr, message.category.constData()),
             message.text);
  }

  if (const auto status =
          AnswerCommandLine(std::span<const char* const>(qtArguments.data(),
                                                         static_cast<std::size_t>(qtArgumentCount))
                                .subspan(1),
                            std::cout, std::cerr)) {
    return *status;
  }
  PrepareApplication(app);
  Form1Dialog dialog;
  dialog.show();
  return QApplication::exec();
}

}  // namespace tarvelo
