// kavoret-password STUDENT LEVEL: prints this month's over-practice unlock
// password of a student and level, the value the results board accepts.
#include "board/OverPractice.h"
#include "frame/ProgramProfile.h"

#include <QDate>
#include <charconv>
#include <cstdio>
#include <string_view>

namespace {

constexpr int kExitUsage = 2;

void printUsage(const char* program) {
    std::fprintf(stderr,
                 "usage: %s STUDENT LEVEL\n"
                 "  STUDENT  roster number, 0 to %d\n"
                 "  LEVEL    level number, 1 to %d\n"
                 "Prints this month's over-practice unlock password of the student and level.\n",
                 program, kavoret::kMaxStudent, kavoret::kMaxLevel);
}

// A whole decimal number in [low, high], nothing else in the argument.
bool parseArgument(std::string_view text, int low, int high, int& value) {
    const char* end = text.data() + text.size();
    const auto [stop, error] = std::from_chars(text.data(), end, value);
    return !text.empty() && error == std::errc() && stop == end && value >= low && value <= high;
}

} // namespace

int main(int argc, char** argv) {
    const char* program = argc > 0 ? argv[0] : "kavoret-password";
    if (argc != 3) {
        printUsage(program);
        return kExitUsage;
    }
    int student = 0;
    int level = 0;
    if (!parseArgument(argv[1], 0, kavoret::kMaxStudent, student)) {
        std::fprintf(stderr, "%s: STUDENT must be a roster number from 0 to %d, not \"%s\"\n",
                     program, kavoret::kMaxStudent, argv[1]);
        printUsage(program);
        return kExitUsage;
    }
    if (!parseArgument(argv[2], 1, kavoret::kMaxLevel, level)) {
        std::fprintf(stderr, "%s: LEVEL must be a level number from 1 to %d, not \"%s\"\n", program,
                     kavoret::kMaxLevel, argv[2]);
        printUsage(program);
        return kExitUsage;
    }
    const QDate today = QDate::currentDate();
    std::printf("%lld\n",
                kavoret::board::unlockPassword(student, today.year(), today.month(), level,
                                               kavoret::progselbas::kCatalogueNumber));
    return 0;
}
