// kinevo-calc: one case as JSON in, the engine's results as JSON out.
#include <chrono>
#include <fstream>
#include <iostream>
#include <sstream>

#include "cli/calc.h"
#include "records/calendar.h"

namespace {
double SystemNow() {
    const auto now = std::chrono::system_clock::now();
    const std::time_t t = std::chrono::system_clock::to_time_t(now);
    std::tm local{};
    localtime_r(&t, &local);
    return MomentOf({local.tm_year + 1900, local.tm_mon + 1, local.tm_mday}, local.tm_hour, local.tm_min,
                    local.tm_sec);
}
}  // namespace

int main(int argc, char** argv) {
    if (argc > 2) {
        std::cerr << "usage: kinevo-calc [FILE]\n";
        return 2;
    }
    const std::string path = argc == 2 ? argv[1] : "-";
    std::stringstream text;
    if (path == "-") {
        text << std::cin.rdbuf();
    } else {
        std::ifstream file(path);
        if (!file) {
            std::cerr << path << ": cannot be read\n";
            return 2;
        }
        text << file.rdbuf();
    }
    try {
        const Json input = Json::parse(text.str());
        std::cout << RunCalc(input, SystemNow()).dump(2) << '\n';
        return 0;
    } catch (const Json::parse_error& e) {
        std::cerr << "input: not valid JSON (byte " << e.byte << ")\n";
    } catch (const BadInput& e) {
        std::cerr << e.what() << '\n';
    }
    return 2;
}
