#pragma once

#include <vector>

#include "era_source.h"

namespace tarvelo {

// The Japanese eras Windows keeps in the registry, where Windows Update adds a new one:
// HKLM\SYSTEM\CurrentControlSet\Control\Nls\Calendars\Japanese\Eras. Nothing is read
// until Eras() is called; a missing or unreadable key gives an empty list.
class RegistryEraSource final : public EraSource {
 public:
  [[nodiscard]] std::vector<SystemEra> Eras() const override;
};

}  // namespace tarvelo
