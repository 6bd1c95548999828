// Hostile projects through the whole road to the panel: loaded as the designer opens them,
// compiled into the padded image, and run by the panel runtime through its start-up and one
// second on the begin frame, with keys chosen from the input pressed on the way.

#include "AtomicFile.h"
#include "BuildOutputs.h"
#include "CompileHelper.h"
#include "KoravelProject.h"
#include "PLCFactory.h"
#include "RunOnPanel.h"
#include "Scramble.h"
#include "TextFont.h"

#include <QGuiApplication>

#include <cstddef>
#include <cstdint>

namespace {

const CPLCFactory& Catalog() {
    static CPLCFactory catalog;
    static const bool loaded = [] {
        QByteArray source;
        ReadWholeFile(QStringLiteral(KV_SOURCE_DIR "/data/catalog/Factory.xml"), source);
        XorScramble(source);
        return catalog.ReadCatalog(source);
    }();
    (void)loaded;
    return catalog;
}

} // namespace

// Qt's font database leaves fontconfig's caches to the end of the process.
extern "C" const char* __lsan_default_suppressions() {
    return "leak:libfontconfig\n";
}

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    RegisterFontSubstitutions();
    Catalog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    CKoravelProject project;
    QStringList messages;
    if (!project.LoadBytes(bytes, Catalog(), messages))
        return 0;
    CCompileHelper compiler;
    QByteArray image;
    QByteArray padded;
    QString error;
    if (compiler.Compile(project, image, error) && PadImage(image, padded, error))
        RunOnPanel(padded, qHash(bytes));
    return 0;
}
