#include "platform_choice.h"

#include <wayland-client.h>

#include <QStringList>
#include <QtGlobal>
#include <cstdarg>
#include <cstdint>
#include <memory>
#include <optional>
#include <string_view>

namespace tarvelo {
namespace {

struct DisplayCloser {
  void operator()(wl_display* display) const { wl_display_disconnect(display); }
};
struct RegistryCloser {
  void operator()(wl_registry* registry) const { wl_registry_destroy(registry); }
};

void OnGlobal(void* data, wl_registry* /*registry*/, std::uint32_t /*name*/, const char* interface,
              std::uint32_t /*version*/) {
  if (std::string_view(interface) == "zxdg_decoration_manager_v1") {
    *static_cast<bool*>(data) = true;
  }
}

void OnGlobalRemove(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

// NOLINTBEGIN(cppcoreguidelines-pro-type-vararg): libwayland's log callback takes a va_list
void DiscardWaylandLog(const char* /*format*/, va_list /*arguments*/) {}

void WaylandLogToQt(const char* format, va_list arguments) {
  qWarning("%s", qPrintable(QString::vasprintf(format, arguments).trimmed()));
}
// NOLINTEND(cppcoreguidelines-pro-type-vararg)

// Keeps libwayland quiet while the compositor is asked.
class QuietWaylandLog {
 public:
  QuietWaylandLog() { wl_log_set_handler_client(DiscardWaylandLog); }
  ~QuietWaylandLog() { SendWaylandLogToQt(); }
  QuietWaylandLog(const QuietWaylandLog&) = delete;
  QuietWaylandLog& operator=(const QuietWaylandLog&) = delete;
  QuietWaylandLog(QuietWaylandLog&&) = delete;
  QuietWaylandLog& operator=(QuietWaylandLog&&) = delete;
};

// Whether the Wayland compositor of the session draws frames; nothing when none answers.
std::optional<bool> CompositorDrawsFrames() {
  // libwayland says why it could not connect (no runtime folder, no socket): the choice
  // is then Qt's, which may well open a display anyway.
  const QuietWaylandLog quiet;
  const std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
  if (!display) {
    return std::nullopt;
  }
  const std::unique_ptr<wl_registry, RegistryCloser> registry(
      wl_display_get_registry(display.get()));
  static constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemove};
  bool draws = false;
  if (!registry || wl_registry_add_listener(registry.get(), &kListener, &draws) != 0 ||
      wl_display_roundtrip(display.get()) < 0) {
    return std::nullopt;
  }
  return draws;
}

bool WaylandSession() {
  return !qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") ||
         qgetenv("XDG_SESSION_TYPE") == "wayland";
}

}  // namespace

QByteArray ChoosePlatform() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM")) {
    return {};
  }
  if (!qEnvironmentVariableIsEmpty("WAYLAND_SOCKET")) {
    return "wayland;xcb";
  }
  if (!WaylandSession()) {
    return {};
  }
  const std::optional<bool> draws = CompositorDrawsFrames();
  if (!draws.has_value()) {
    return {};
  }
  if (*draws) {
    return "wayland;xcb";
  }
  // Each list falls back to the other platform should its first one not open.
  return qEnvironmentVariableIsEmpty("DISPLAY") ? QByteArray() : "xcb;wayland";
}

QByteArray QtDefaultPlatforms() { return WaylandSession() ? "wayland;xcb" : "xcb"; }

void SendWaylandLogToQt() { wl_log_set_handler_client(WaylandLogToQt); }

QString CannotOpenMessage(const QString& tried,
                          const std::function<bool(const QString& name)>& installed) {
  QStringList reasons;
  for (const QString& platform : tried.split(u';', Qt::SkipEmptyParts)) {
    const QString name = platform.section(u':', 0, 0);
    const bool wayland = name.startsWith(u"wayland");
    QString reason = name;
    reason += u": ";
    if (!installed(name)) {
      reason += u"表示プラグインがありません";
      if (wayland) {
        reason += u"（qt6-wayland パッケージを入れてください）";
      }
    } else {
      reason += u"ディスプレイに接続できません";
      if (wayland) {
        reason += u"（WAYLAND_DISPLAY を確かめてください）";
      } else if (name == u"xcb") {
        reason += u"（DISPLAY を確かめてください）";
      }
    }
    reasons.append(reason);
  }
  return QStringLiteral("tarvelo: ウィンドウを開けません。") + reasons.join(u'、') +
         QStringLiteral("。表示プラグインは QT_QPA_PLATFORM または -platform で選べます");
}

}  // namespace tarvelo
