#include "platform_choice.h"

#include <wayland-client.h>

#include <QtGlobal>
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

// Whether the Wayland compositor of the session draws frames; nothing when none answers.
std::optional<bool> CompositorDrawsFrames() {
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

}  // namespace

QByteArray ChoosePlatform() {
  if (!qEnvironmentVariableIsEmpty("QT_QPA_PLATFORM") ||
      (qEnvironmentVariableIsEmpty("WAYLAND_DISPLAY") &&
       qgetenv("XDG_SESSION_TYPE") != "wayland")) {
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

}  // namespace tarvelo
