#pragma once
// The catalogues' comma lists: items trimmed of spaces (only ' '), empty items dropped, "0" meaning
// "Auto"; a unit is appended to every item except that "Auto".

#include <string>
#include <vector>

// Appends the items of `text` to `out`.
void appendCommaList(const std::string &text, const std::string &unit, std::vector<std::string> &out);
// Removes leading and trailing ' ' in place (tabs and line ends stay).
std::string &trimSpaces(std::string &text);
