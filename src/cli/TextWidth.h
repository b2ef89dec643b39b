// How many terminal columns a text takes: East Asian wide and full-width
// characters take two, combining marks none. Texts are UTF-8 on Linux; on
// Windows they are code page 932, where every byte takes one column.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace cli {

std::size_t DisplayWidth(std::string_view text);

// The end of the text that fits in `columns`, after "..." when something had
// to go (paths are told apart by their end, where the file name is). Never
// splits a character.
std::string FitEnd(std::string_view text, std::size_t columns);

// The start of the text that fits in `columns`; never splits a character.
std::string FitStart(std::string_view text, std::size_t columns);

} // namespace cli
