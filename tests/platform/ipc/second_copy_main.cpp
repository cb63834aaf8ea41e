// Starts the way the program starts as far as single instance goes: a second copy raises the
// first and ends with 0. Usage: ipc_second_copy FOLDER NAME. Exit code 3 when it found no
// running copy (it then was the first itself).
#include "platform/ipc/single_instance.h"

#include <QCoreApplication>

int main(int argc, char** argv) {
    QCoreApplication application(argc, argv);
    if (argc != 3) {
        return 2;
    }
    platform::ipc::CSingleInstance instance(argv[2], argv[1]);
    if (instance.AcquireOrRaise() == platform::ipc::CSingleInstance::ERole::kSecond) {
        return 0;
    }
    return 3;
}
