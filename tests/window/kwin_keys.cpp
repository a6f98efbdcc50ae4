// Presses and releases keys through KWin's fake input, as a keyboard would: the only way
// into a Wayland window of KWin from outside it.
// usage: kwin_keys KEYCODE...   (Linux key codes, on $WAYLAND_DISPLAY; exits 1 on failure)
#include <wayland-client.h>

#include <algorithm>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <memory>
#include <span>
#include <string_view>

#include "fake-input-client-protocol.h"

namespace {

struct DisplayCloser {
  void operator()(wl_display* display) const { wl_display_disconnect(display); }
};

void OnGlobal(void* data, wl_registry* registry, std::uint32_t name, const char* interface,
              std::uint32_t version) {
  // Bound at the version this header speaks, at most: its destroy is a request from 5 on.
  if (std::string_view(interface) == org_kde_kwin_fake_input_interface.name && version >= 4) {
    const auto spoken = static_cast<std::uint32_t>(org_kde_kwin_fake_input_interface.version);
    *static_cast<org_kde_kwin_fake_input**>(data) =
        static_cast<org_kde_kwin_fake_input*>(wl_registry_bind(
            registry, name, &org_kde_kwin_fake_input_interface, std::min(version, spoken)));
  }
}

void OnGlobalRemove(void* /*data*/, wl_registry* /*registry*/, std::uint32_t /*name*/) {}

}  // namespace

int main(int argc, char* argv[]) {
  const std::unique_ptr<wl_display, DisplayCloser> display(wl_display_connect(nullptr));
  if (!display) {
    std::fputs("kwin_keys: no Wayland display\n", stderr);
    return EXIT_FAILURE;
  }
  org_kde_kwin_fake_input* input = nullptr;
  static constexpr wl_registry_listener kListener{OnGlobal, OnGlobalRemove};
  wl_registry* registry = wl_display_get_registry(display.get());
  wl_registry_add_listener(registry, &kListener, static_cast<void*>(&input));
  wl_display_roundtrip(display.get());
  if (input == nullptr) {
    std::fputs("kwin_keys: the compositor offers no org_kde_kwin_fake_input 4\n", stderr);
    return EXIT_FAILURE;
  }
  org_kde_kwin_fake_input_authenticate(input, "tarvelo tests", "types into the dialog");
  constexpr std::uint32_t kReleased = 0;
  constexpr std::uint32_t kPressed = 1;
  for (const char* code : std::span(argv, static_cast<std::size_t>(argc)).subspan(1)) {
    const auto key = static_cast<std::uint32_t>(std::strtoul(code, nullptr, 10));
    org_kde_kwin_fake_input_keyboard_key(input, key, kPressed);
    org_kde_kwin_fake_input_keyboard_key(input, key, kReleased);
    wl_display_roundtrip(display.get());
  }
  org_kde_kwin_fake_input_destroy(input);
  wl_registry_destroy(registry);
  return wl_display_roundtrip(display.get()) < 0 ? EXIT_FAILURE : EXIT_SUCCESS;
}
