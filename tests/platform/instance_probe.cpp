// Started by the instance-guard test as a second process: exit code 0 when it
// could claim the program folder, 3 when another instance holds it.
#include "platform/LockFileInstanceGuard.h"

#include <QCoreApplication>

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2)
        return 2;
    kavoret::LockFileInstanceGuard guard(QString::fromLocal8Bit(argv[1]));
    return guard.claim() ? 0 : 3;
}
