#include "codegen/code_generators.h"

#include "codegen/snippets.h"
#include "ui/control_text.h"
#include "ui/message.h"

namespace shop {
namespace {

const Text kTitle = "\xCC\xE1\xCA\xBE";  // 提示
const Text kNoMusicAddress =
    "\xD2\xF4\xC0\xD6\xB5\xD8\xD6\xB7\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5";  // 音乐地址不能为空
const Text kNoWangwangId =
    "\xCD\xFA\xCD\xFA\xB5\xD8\xD6\xB7\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5";  // 旺旺地址不能为空
const Text kNoWangwangTip =
    "\xCD\xFA\xCD\xFA\xCC\xE1\xCA\xBE\xB2\xBB\xC4\xDC\xCE\xAA\xBF\xD5";  // 旺旺提示不能为空
constexpr int kInformation = 64;

// An empty input (no characters; blanks count) stops the generator with its message.
bool missing(const Text& value, const Text& message) {
  if (value.empty()) {
    show_message(message, kTitle, kInformation);
  }
  return value.empty();
}

}  // namespace

void generate_music_code(MainForm& form) {
  const Text address = control_text(form.编_音乐地址);
  if (missing(address, kNoMusicAddress)) {
    return;
  }
  set_control_text(form.生成的代码, music_snippet(address));
}

// Both inputs are checked before anything is generated: the id first, then the tip.
void generate_wangwang_code(MainForm& form, const Text& status_host) {
  const Text id = control_text(form.编辑框_ww号);
  const Text tip = control_text(form.编辑框_ww提示);
  if (missing(id, kNoWangwangId) || missing(tip, kNoWangwangTip)) {
    return;
  }
  const Text style = form.单选框1->isChecked() ? "1" : form.单选框2->isChecked() ? "2" : "";
  set_control_text(form.编辑框_ww生成的代码, wangwang_snippet(status_host, id, tip, style));
}

}  // namespace shop
