#include "fake_dialog.h"

#include <algorithm>
#include <ostream>
#include <utility>

namespace tarvelo {
namespace {

// The length in bytes of the UTF-8 character that starts with `lead`; stray bytes count as one.
std::size_t CharacterBytes(unsigned char lead) {
  if (lead >= 0xF0) {
    return 4;
  }
  if (lead >= 0xE0) {
    return 3;
  }
  if (lead >= 0xC0) {
    return 2;
  }
  return 1;
}

// Splits UTF-8 text into characters, never reading past its end.
std::vector<std::string_view> Characters(std::string_view text) {
  std::vector<std::string_view> characters;
  while (!text.empty()) {
    const auto length =
        std::min(CharacterBytes(static_cast<unsigned char>(text.front())), text.size());
    characters.push_back(text.substr(0, length));
    text.remove_prefix(length);
  }
  return characters;
}

}  // namespace

Effect Effect::Message(std::string_view text, MessageStyle style, std::string_view title) {
  return {Kind::kMessage, std::string(text), static_cast<int>(style), std::string(title)};
}

std::ostream& operator<<(std::ostream& out, const Effect& effect) {
  switch (effect.kind) {
    case Effect::Kind::kMessage:
      return out << "message(" << effect.number << ", \"" << effect.title << "\", \"" << effect.text
                 << "\")";
    case Effect::Kind::kFocus:
      return out << "focus";
    case Effect::Kind::kSetText:
      return out << "text(\"" << effect.text << "\")";
    case Effect::Kind::kMaxLength:
      return out << "maxLength(" << effect.number << ")";
    case Effect::Kind::kBeep:
      return out << "beep";
    case Effect::Kind::kEnd:
      return out << "end";
  }
  return out;
}

void FakeDialog::Type(std::string_view characters) {
  for (const auto character : Characters(characters)) {
    if (std::ssize(Characters(text_)) >= maxLength_) {
      continue;  // a full box ignores the key
    }
    ChangeText(text_ + std::string(character));
  }
}

void FakeDialog::Paste(std::string_view text) { ChangeText(text); }

void FakeDialog::ClickOption(int option) {
  // The window raises Click only when an option becomes selected.
  if (option < 1 || option > 5 || option == selectedOption_) {
    return;
  }
  selectedOption_ = option;
  switch (option) {
    case 1:
      form_.Option1_Click();
      break;
    case 2:
      form_.Option2_Click();
      break;
    case 3:
      form_.Option3_Click();
      break;
    case 4:
      form_.Option4_Click();
      break;
    default:
      form_.Option5_Click();
      break;
  }
}

void FakeDialog::SetText1Text(std::string_view text) {
  effects_.push_back(Effect::SetText(text));
  ChangeText(text);
}

void FakeDialog::SetText1MaxLength(int characters) {
  effects_.push_back(Effect::MaxLength(characters));
  maxLength_ = characters;
}

void FakeDialog::Text1SetFocus() {
  effects_.push_back(Effect::Focus());
  focused_ = true;
}

void FakeDialog::ShowMessage(std::string_view text, MessageStyle style, std::string_view title) {
  effects_.push_back(Effect::Message(text, style, title));
  focused_ = false;  // the box takes the focus while it is open
}

void FakeDialog::Beep() { effects_.push_back(Effect::Beep()); }

void FakeDialog::EndProgram() { effects_.push_back(Effect::End()); }

void FakeDialog::ChangeText(std::string_view text) {
  std::string kept;
  const auto characters = Characters(text);
  for (std::size_t i = 0; i < characters.size() && std::cmp_less(i, maxLength_); ++i) {
    kept += characters[i];
  }
  if (kept == text_) {
    return;  // a box raises Change only when its text really changes
  }
  text_ = std::move(kept);
  form_.Text1_Change();
}

}  // namespace tarvelo
