// What the game shows, and readers for the texts that carry seconds.
#include "tools/autoplay/texts.h"

#include <cstring>

const char SHOWN_TITLE[] = "Zorvant";
const char SHOWN_EXIT_BUTTON[] = "Выход";
const char SHOWN_RULES_TITLE[] = "Правила";
const char SHOWN_RULES[] = "Нажимаем OK и погнали давить батоны.";
const char SHOWN_CLOCK_PREFIX[] = "     Время :  ";
const char SHOWN_EXIT_QUESTION[] = "Точно выйти?";
const char SHOWN_RESULT_TITLE[] = "Результат";
const char SHOWN_RESULT_QUESTION[] = " cek.\rПопытаться ещё разок?";

int32_t decimal_read(const std::string& text, size_t& pos)
{
    size_t start = pos;
    int64_t value = 0;
    while (pos < text.size() && text[pos] >= '0' && text[pos] <= '9') {
        value = value * 10 + (text[pos] - '0');
        if (value > INT32_MAX)
            return -1;
        pos++;
    }
    size_t digits = pos - start;
    if (digits == 0 || (digits > 1 && text[start] == '0')) {
        pos = start;
        return -1;
    }
    return static_cast<int32_t>(value);
}

int32_t clock_label_seconds(const std::string& label, bool* with_suffix)
{
    size_t prefix = std::strlen(SHOWN_CLOCK_PREFIX);
    if (label.compare(0, prefix, SHOWN_CLOCK_PREFIX) != 0)
        return -1;
    size_t pos = prefix;
    int32_t seconds = decimal_read(label, pos);
    if (seconds < 0)
        return -1;
    std::string rest = label.substr(pos);
    if (rest != "" && rest != "s")
        return -1;
    if (with_suffix)
        *with_suffix = rest == "s";
    return seconds;
}

int32_t result_text_seconds(const std::string& text)
{
    size_t pos = 0;
    int32_t seconds = decimal_read(text, pos);
    if (seconds < 0 || text.substr(pos) != SHOWN_RESULT_QUESTION)
        return -1;
    return seconds;
}
