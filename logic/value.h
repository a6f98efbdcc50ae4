#pragma once

#include <cstdint>
#include <string>
#include <variant>

namespace tarvelo {

// A field that holds nothing, a number or a text, the way the dialog's state does:
// a Western year is kept exactly as typed while an era year is kept as a number.
class Value {
 public:
  Value() = default;
  explicit Value(std::int64_t number) : value_(number) {}
  explicit Value(std::string text) : value_(std::move(text)) {}

  [[nodiscard]] bool IsEmpty() const { return std::holds_alternative<std::monostate>(value_); }

  // The text a message shows: texts as they are, numbers as plain digits, empty as "".
  [[nodiscard]] std::string ToText() const;

  // The numeric value: texts through TextToNumber, empty as 0.
  [[nodiscard]] std::int64_t ToNumber() const;

  friend bool operator==(const Value&, const Value&) = default;

 private:
  std::variant<std::monostate, std::int64_t, std::string> value_;
};

}  // namespace tarvelo
