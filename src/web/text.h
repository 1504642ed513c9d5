#pragma once
// Byte-exact text helpers over GBK text. Positions are 1-based byte positions,
// -1 meaning "not found". A byte of 0x80 or above begins a two-byte character,
// and no match ever begins on the second byte of such a character.

#include <string>
#include <string_view>
#include <vector>

namespace shop {

using Text = std::string;  // GBK bytes

int find_text(const Text& text, const Text& part, int start = 1);
int find_text_reverse(const Text& text, const Text& part);
Text text_left(const Text& text, int count);
Text text_right(const Text& text, int count);
Text text_mid(const Text& text, int position, int count);
Text url_encode(const Text& text);
// Mode 0: from the first start marker to the last end marker of the whole text.
// Mode 1: from the first start marker to the first end marker behind it.
Text text_between(const Text& text, const Text& start, const Text& end, int mode = 0);
Text text_before(const Text& text, const Text& marker);

// Pieces between separators; empty pieces kept, no empty last piece, none for "".
std::vector<Text> split_text(const Text& text, const Text& separator);
// Offset of the first occurrence of a non-empty `part` that begins a character at or
// after offset `from`, walking characters from `from`; npos when there is none.
size_t find_at_character(std::string_view text, std::string_view part, size_t from = 0);
// Whether the text ends inside a two-byte character: its last byte would be the first
// byte of a pair whose second byte is missing.
bool ends_inside_character(std::string_view text);

// Replaces every placeholder from left to right; inserted text is not scanned again.
Text replace_text(const Text& text, const Text& placeholder, const Text& value);

}  // namespace shop
