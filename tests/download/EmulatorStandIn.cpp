// Stands in for the Emulator: records its command line and the hand-over it finds under the
// name it is given, then runs until the test releases it.
//   KV_STANDIN_RECORD=PATH   PATH.args gets the arguments one a line, PATH.shm the hand-over
//   KV_STANDIN_RELEASE=PATH  ends once PATH exists (at the latest after 60 s)

#include "AtomicFile.h"
#include "ByteOrder.h"
#include "NamedSharedMemory.h"

#include <QByteArray>
#include <QFile>
#include <QString>

#include <algorithm>
#include <chrono>
#include <thread>

int main(int argc, char** argv) {
    const QString record = qEnvironmentVariable("KV_STANDIN_RECORD");
    const QString release = qEnvironmentVariable("KV_STANDIN_RELEASE");
    QByteArray arguments;
    for (int i = 1; i < argc; ++i)
        arguments += QByteArray(argv[i]) + '\n';
    QByteArray handover;
    NamedSharedMemory memory;
    if (argc > 1 && memory.OpenReadOnly(QString::fromLocal8Bit(argv[1])) && memory.Size() >= 5) {
        const QByteArray head(reinterpret_cast<const char*>(memory.Data()), 4);
        const std::size_t length = 5 + std::size_t(GetBE32(head, 0));
        handover = QByteArray(reinterpret_cast<const char*>(memory.Data()),
                              qsizetype(std::min(memory.Size(), length)));
    }
    WriteFileAtomically(record + ".shm", handover);
    WriteFileAtomically(record + ".args", arguments);
    for (int i = 0; i < 3000 && !QFile::exists(release); ++i)
        std::this_thread::sleep_for(std::chrono::milliseconds(20));
    return 0;
}
