#include "CommandLine.h"

#include "AtomicFile.h"
#include "KoravelProject.h"
#include "PLCFactory.h"

#include <cstdio>
#include <cstring>

namespace {

void PrintLine(std::FILE* stream, const QString& text) {
    std::fputs(text.toLocal8Bit().constData(), stream);
    std::fputc('\n', stream);
}

void PrintUsage() {
    PrintLine(stderr, QStringLiteral("usage: designer --save-plain IN OUT\n"
                                     "  --save-plain  load the project IN (plain or scrambled) and "
                                     "write it to OUT as plain XML"));
}

// The conversion leaves IN as it is: it is often a plain file kept under version control,
// which the open command would scramble.
int SavePlain(const QString& in, const QString& out) {
    if (!CPLCFactory::Instance().Load()) {
        PrintLine(stderr, QStringLiteral("打开配置文件错误，程序自动关闭!"));
        return 1;
    }
    QByteArray bytes;
    QStringList messages;
    CKoravelProject project;
    bool loaded = ReadWholeFile(in, bytes);
    if (!loaded)
        messages.append(kDamagedFileMessage);
    else
        loaded = project.LoadBytes(bytes, CPLCFactory::Instance(), messages);
    for (const QString& message : messages)
        PrintLine(stderr, message);
    if (!loaded)
        return 1;
    QString error;
    if (!project.SavePlain(out, &error)) {
        PrintLine(stderr, error);
        return 1;
    }
    return 0;
}

} // namespace

bool IsCommandLineVerb(int argc, char** argv) {
    return argc < 2 || std::strncmp(argv[1], "--", 2) == 0;
}

int RunCommandLine(const QStringList& arguments) {
    if (arguments.size() == 4 && arguments[1] == u"--save-plain")
        return SavePlain(arguments[2], arguments[3]);
    PrintUsage();
    return arguments.size() < 2 ? 0 : 1;
}
