#include "platform/Data.h"

std::string describeData(const Data& data)
{
    static constexpr char digits[] = "0123456789abcdef";
    std::string text = "<";
    for (size_t index = 0; index < data.size(); ++index) {
        if (index > 0 && index % 4 == 0)
            text += ' ';
        text += digits[data[index] >> 4];
        text += digits[data[index] & 0xF];
    }
    text += '>';
    return text;
}
