#pragma once
// The friend-link check of the page " 淘宝 拍拍 友情链接检测 ": the click of
// 按钮_友情检测 and the job it starts on a thread of its own.

#include "friendlinks/friend_links.h"
#include "ui/main_form.h"

namespace shop {

// The click of 按钮_友情检测. With an empty 店铺地址 it shows the message and does
// nothing else. Otherwise it disables the button (so a second click cannot start a
// second run) and starts friend_link_check on a detached thread; the job enables the
// button again when every friend's row has its mark. The friends' pages are fetched
// several at a time.
void on_friend_link_check_clicked(MainForm& form, const FriendLinkSites& sites,
                                  const FriendLinkRules& rules);
// The same with default_friend_link_rules(sites).
void on_friend_link_check_clicked(MainForm& form, const FriendLinkSites& sites);

}  // namespace shop
