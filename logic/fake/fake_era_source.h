#pragma once

#include <utility>
#include <vector>

#include "era_source.h"

namespace tarvelo {

// Hands the logic any list of eras, as the system's calendar data might, and counts how
// often it is asked.
class FakeEraSource final : public EraSource {
 public:
  FakeEraSource() = default;
  explicit FakeEraSource(std::vector<SystemEra> eras) : eras_(std::move(eras)) {}

  [[nodiscard]] std::vector<SystemEra> Eras() const override {
    ++reads_;
    return eras_;
  }
  [[nodiscard]] int reads() const { return reads_; }

 private:
  std::vector<SystemEra> eras_;
  mutable int reads_ = 0;
};

}  // namespace tarvelo
