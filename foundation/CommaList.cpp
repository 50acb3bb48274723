#include "CommaList.h"

std::string &trimSpaces(std::string &text)
{
    const std::string::size_type first = text.find_first_not_of(' ');
    if (first == std::string::npos) {
        text.clear();
        return text;
    }
    text.erase(text.find_last_not_of(' ') + 1);
    text.erase(0, first);
    return text;
}

void appendCommaList(const std::string &text, const std::string &unit, std::vector<std::string> &out)
{
    std::string::size_type start = 0;
    while (start <= text.size()) {
        std::string::size_type comma = text.find(',', start);
        if (comma == std::string::npos)
            comma = text.size();
        std::string item = text.substr(start, comma - start);
        trimSpaces(item);
        if (item == "0")
            out.push_back("Auto");
        else if (!item.empty())
            out.push_back(item + unit);
        start = comma + 1;
    }
}
