// The player's report.
#include "tools/autoplay/report.h"

#include <cstdarg>

namespace {

std::string format_text(const char* format, va_list args)
{
    char buffer[1024];
    vsnprintf(buffer, sizeof buffer, format, args);
    return buffer;
}

void report_add(Report& report, const std::string& line)
{
    report.lines.push_back(line);
    if (report.file) {
        std::fprintf(report.file, "%s\n", line.c_str());
        std::fflush(report.file);
    }
}

}  // namespace

void report_line(Report& report, const char* format, ...)
{
    va_list args;
    va_start(args, format);
    report_add(report, format_text(format, args));
    va_end(args);
}

bool report_check(Report& report, const char* name, bool ok, const char* format, ...)
{
    if (ok) {
        report_add(report, std::string("check ") + name + " ok");
        return true;
    }
    va_list args;
    va_start(args, format);
    report_add(report, std::string("error ") + name + ": " + format_text(format, args));
    va_end(args);
    report.errors++;
    return false;
}

std::string report_quote(const std::string& text)
{
    std::string out;
    for (unsigned char c : text) {
        if (c == '\r') {
            out += "\\r";
        } else if (c == '\n') {
            out += "\\n";
        } else if (c < 0x20) {
            char hex[8];
            std::snprintf(hex, sizeof hex, "\\x%02X", c);
            out += hex;
        } else {
            out += static_cast<char>(c);
        }
    }
    return out;
}
