#pragma once
// The click handlers of the two code generators on the page " 店长代码生成 ".

#include "ui/main_form.h"
#include "web/text.h"

namespace shop {

// 按钮9: the background-music tag from 编_音乐地址 into 生成的代码.
void generate_music_code(MainForm& form);
// 按钮10: the Wangwang button from 编辑框_ww号, 编辑框_ww提示 and the style radio
// buttons into 编辑框_ww生成的代码.
void generate_wangwang_code(MainForm& form, const Text& status_host);

}  // namespace shop
