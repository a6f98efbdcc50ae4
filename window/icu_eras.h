#pragma once

#include <vector>

#include "era_source.h"

namespace tarvelo {

// The eras of the system's ICU Japanese calendar, with their Japanese names. Nothing is
// read until Eras() is called; when ICU cannot give a Japanese calendar, the list is empty.
// ICU_ENABLE_TENTATIVE_ERA=true makes ICU include an era its data marks as tentative.
class IcuEraSource final : public EraSource {
 public:
  [[nodiscard]] std::vector<SystemEra> Eras() const override;
};

}  // namespace tarvelo
