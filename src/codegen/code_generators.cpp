#include "codegen/code_generators.h"

#include "codegen/snippets.h"
#include "ui/control_text.h"
#include "ui/message.h"
#include "web/system_texts.h"

namespace shop {
namespace {

constexpr int kInformation = 64;

// An empty input (no characters; blanks count) stops the generator with its message.
bool missing(const Text& value, const Text& message) {
  if (value.empty()) {
    show_message(message, kHintTitle, kInformation);
  }
  return value.empty();
}

}  // namespace

void generate_music_code(MainForm& form) {
  const Text address = control_text(form.编_音乐地址);
  if (missing(address, kMusicAddressEmptyMessage)) {
    return;
  }
  set_control_text(form.生成的代码, music_snippet(address));
}

// Both inputs are checked before anything is generated: the id first, then the tip.
void generate_wangwang_code(MainForm& form, const Text& status_host) {
  const Text id = control_text(form.编辑框_ww号);
  const Text tip = control_text(form.编辑框_ww提示);
  if (missing(id, kWangwangIdEmptyMessage) || missing(tip, kWangwangTipEmptyMessage)) {
    return;
  }
  const Text style = form.单选框1->isChecked() ? "1" : form.单选框2->isChecked() ? "2" : "";
  set_control_text(form.编辑框_ww生成的代码, wangwang_snippet(status_host, id, tip, style));
}

}  // namespace shop
