// autoplay: plays Zorvant with real input and reports what it saw, one line
// per finding, to the report file (or to standard output).
#include <cstdio>
#include <string>

#include "tools/autoplay/options.h"
#include "tools/autoplay/player.h"

int main(int argc, char** argv)
{
    AutoplayOptions options;
    std::string error;
    if (!options_parse(argc - 1, argv + 1, options, error)) {
        std::fprintf(stderr, "autoplay: %s\n%s", error.c_str(), options_usage());
        return 2;
    }
    Report report;
    report.file = stdout;
    if (!options.report.empty()) {
        report.file = std::fopen(options.report.c_str(), "w");
        if (!report.file) {
            std::fprintf(stderr, "autoplay: cannot write %s\n", options.report.c_str());
            return 2;
        }
    }
    int32_t errors = autoplay_run(options, report);
    if (report.file != stdout)
        std::fclose(report.file);
    return errors == 0 ? 0 : 1;
}
