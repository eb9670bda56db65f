// Another copy of the program, for the tests of the results file:
//   append_helper append <file> <student> <count>   appends count runs of the student
//   append_helper hold <file>                       locks the whole file until a line
//                                                   arrives on standard input
#include "results/ResultsFile.h"

#include <QCoreApplication>
#include <QFile>
#include <cstdio>
#include <fcntl.h>
#include <iostream>
#include <string>
#include <thread>
#include <unistd.h>

namespace {

class ShortWait final : public kavoret::results::EventWait {
public:
    void waitProcessingEvents(int) override {
        ++count;
        std::this_thread::sleep_for(std::chrono::milliseconds(1));
    }
    int count = 0;
};

int append(const QString& path, int student, int count) {
    ShortWait wait;
    for (int i = 0; i < count; ++i) {
        // The time of the run numbers the append, so the test can find each one.
        const auto record = kavoret::results::runRecord(46367, i / 86400.0, student, 1 + i % 4, i,
                                                        QStringLiteral("801"));
        if (const auto failure = kavoret::results::appendRecord(path, record, wait)) {
            std::fprintf(stderr, "append failed: %d\n", failure->number);
            return 2;
        }
    }
    std::printf("%d\n", wait.count);
    return 0;
}

int hold(const QString& path) {
    const int fd = ::open(QFile::encodeName(path).constData(), O_RDWR | O_CREAT, 0666);
    struct flock lock {};
    lock.l_type = F_WRLCK;
    lock.l_whence = SEEK_SET;
    if (fd < 0 || ::fcntl(fd, F_SETLKW, &lock) != 0)
        return 2;
    std::printf("locked\n");
    std::fflush(stdout);
    std::string line;
    std::getline(std::cin, line);
    ::close(fd);
    return 0;
}

} // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    const QStringList args = app.arguments();
    if (args.size() == 5 && args[1] == QLatin1String("append"))
        return append(args[2], args[3].toInt(), args[4].toInt());
    if (args.size() == 3 && args[1] == QLatin1String("hold"))
        return hold(args[2]);
    return 1;
}
