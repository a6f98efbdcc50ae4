#include "value.h"

#include "numeric_text.h"

namespace tarvelo {

std::string Value::ToText() const {
  if (const auto* number = std::get_if<std::int64_t>(&value_)) {
    return FormatNumber(*number);
  }
  if (const auto* text = std::get_if<std::string>(&value_)) {
    return *text;
  }
  return {};
}

std::int64_t Value::ToNumber() const {
  if (const auto* number = std::get_if<std::int64_t>(&value_)) {
    return *number;
  }
  if (const auto* text = std::get_if<std::string>(&value_)) {
    return TextToNumber(*text);
  }
  return 0;
}

}  // namespace tarvelo
