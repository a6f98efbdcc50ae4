// How the program picks Qt's platform before Qt starts, in the environments it meets,
// against the weston the test runs under; and the line it says when none opens.
#include "platform_choice.h"

#include <fcntl.h>
#include <gtest/gtest.h>
#include <sys/socket.h>
#include <sys/un.h>
#include <unistd.h>
#include <wayland-client.h>

#include <QSet>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <iterator>
#include <memory>
#include <string>
#include <vector>

namespace {

// The compositor the wrapper started, as it named it.
const QByteArray& RuntimeFolder() {
  static const QByteArray folder = qgetenv("XDG_RUNTIME_DIR");
  return folder;
}
const QByteArray& SocketName() {
  static const QByteArray name = qgetenv("WAYLAND_DISPLAY");
  return name;
}

// Sets exactly `settings` (NAME=VALUE) of the variables the choice reads; $RUN stands for
// the compositor's runtime folder, $SOCKET for the name of its socket.
void SetEnvironment(const std::vector<QByteArray>& settings) {
  const QByteArray& run = RuntimeFolder();  // read before they are unset
  const QByteArray& socket = SocketName();
  for (const char* name : {"QT_QPA_PLATFORM", "WAYLAND_SOCKET", "WAYLAND_DISPLAY",
                           "XDG_SESSION_TYPE", "XDG_RUNTIME_DIR", "DISPLAY"}) {
    qunsetenv(name);
  }
  for (QByteArray setting : settings) {
    setting.replace("$RUN", run).replace("$SOCKET", socket);
    const qsizetype equals = setting.indexOf('=');
    qputenv(setting.left(equals).constData(), setting.mid(equals + 1));
  }
}

struct FileCloser {
  void operator()(std::FILE* file) const { std::fclose(file); }
};

// What ChoosePlatform writes on standard error while it runs, and its answer.
std::pair<std::string, QByteArray> ChooseAndListen() {
  const std::unique_ptr<std::FILE, FileCloser> file(std::tmpfile());
  std::fflush(stderr);
  const int saved = dup(STDERR_FILENO);
  if (file == nullptr || saved < 0) {
    return {"the test could not take over standard error", {}};
  }
  dup2(fileno(file.get()), STDERR_FILENO);
  const QByteArray chosen = tarvelo::ChoosePlatform();
  std::fflush(stderr);
  dup2(saved, STDERR_FILENO);
  close(saved);
  std::string written(4096, '\0');
  std::fseek(file.get(), 0, SEEK_SET);
  written.resize(std::fread(written.data(), 1, written.size(), file.get()));
  return {written, chosen};
}

TEST(ChoosePlatform, FollowsTheSessionAndSaysNothing) {
  ASSERT_FALSE(SocketName().isEmpty()) << "run under tests/hermetic.sh --wayland";
  struct Case {
    const char* session;
    std::vector<QByteArray> environment;
    QByteArray chosen;
  };
  const Case cases[] = {
      {"platform asked for",
       {"QT_QPA_PLATFORM=xcb", "WAYLAND_DISPLAY=$SOCKET", "XDG_RUNTIME_DIR=$RUN", "DISPLAY=:9"},
       ""},
      // weston draws no frames for Wayland windows: XWayland's are the desktop's.
      {"weston with XWayland",
       {"WAYLAND_DISPLAY=$SOCKET", "XDG_RUNTIME_DIR=$RUN", "DISPLAY=:9"},
       "xcb;wayland"},
      {"weston without XWayland", {"WAYLAND_DISPLAY=$SOCKET", "XDG_RUNTIME_DIR=$RUN"}, ""},
      {"socket name, no runtime folder", {"WAYLAND_DISPLAY=$SOCKET", "DISPLAY=:9"}, ""},
      {"session type, no runtime folder", {"XDG_SESSION_TYPE=wayland", "DISPLAY=:9"}, ""},
  };
  for (const Case& c : cases) {
    SetEnvironment(c.environment);
    const auto [written, chosen] = ChooseAndListen();
    EXPECT_EQ(chosen, c.chosen) << c.session;
    EXPECT_EQ(written, "") << c.session;
  }
}

// A launcher's connection in WAYLAND_SOCKET is Qt's to take, whole: still named, open, and
// with no object of the program's on it yet.
TEST(ChoosePlatform, LeavesAHandedOverConnectionToQt) {
  const int connection = socket(AF_UNIX, SOCK_STREAM | SOCK_CLOEXEC, 0);
  sockaddr_un address{};
  address.sun_family = AF_UNIX;
  const QByteArray path = RuntimeFolder() + '/' + SocketName();
  ASSERT_LT(static_cast<std::size_t>(path.size()), sizeof address.sun_path);
  std::ranges::copy(path, std::begin(address.sun_path));
  // NOLINTNEXTLINE(cppcoreguidelines-pro-type-reinterpret-cast): the socket API's address type
  ASSERT_EQ(connect(connection, reinterpret_cast<sockaddr*>(&address), sizeof address), 0);
  SetEnvironment({"WAYLAND_SOCKET=" + QByteArray::number(connection), "XDG_SESSION_TYPE=wayland",
                  "XDG_RUNTIME_DIR=$RUN"});

  const auto [written, chosen] = ChooseAndListen();
  EXPECT_EQ(chosen, "wayland;xcb");
  EXPECT_EQ(written, "");
  EXPECT_EQ(qgetenv("WAYLAND_SOCKET"), QByteArray::number(connection));
  wl_display* display = wl_display_connect(nullptr);  // as Qt connects, taking the socket
  ASSERT_NE(display, nullptr);
  wl_registry* registry = wl_display_get_registry(display);
  EXPECT_GE(wl_display_roundtrip(display), 0);
  wl_registry_destroy(registry);
  wl_display_disconnect(display);
}

TEST(CannotOpenMessage, NamesEachPlatformTriedAndWhatToDo) {
  const QString head = QStringLiteral("tarvelo: ウィンドウを開けません。");
  const QString tail =
      QStringLiteral("。表示プラグインは QT_QPA_PLATFORM または -platform で選べます");
  const struct {
    QString tried;
    QSet<QString> installed;
    QString reasons;
  } cases[] = {
      // KDE Plasma without XWayland, and without qt6-wayland, which is only recommended.
      {"wayland;xcb",
       {"xcb"},
       "wayland: 表示プラグインがありません（qt6-wayland パッケージを入れてください）、"
       "xcb: ディスプレイに接続できません（DISPLAY を確かめてください）"},
      {"wayland-egl:option;tarvelo-none;offscreen",
       {"wayland-egl", "offscreen"},
       "wayland-egl: ディスプレイに接続できません（WAYLAND_DISPLAY を確かめてください）、"
       "tarvelo-none: 表示プラグインがありません、offscreen: ディスプレイに接続できません"},
  };
  for (const auto& c : cases) {
    EXPECT_EQ(tarvelo::CannotOpenMessage(
                  c.tried, [&c](const QString& name) { return c.installed.contains(name); }),
              head + c.reasons + tail)
        << c.tried.toStdString();
  }
}

}  // namespace
