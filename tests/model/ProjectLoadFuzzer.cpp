// Project loading on arbitrary bytes: plain or scrambled XML, hostile or truncated.

#include "AtomicFile.h"
#include "KoravelProject.h"
#include "PLCFactory.h"
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

extern "C" int LLVMFuzzerInitialize(int* argc, char*** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    static QGuiApplication app(*argc, *argv);
    RegisterFontSubstitutions();
    Catalog();
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    CKoravelProject project;
    QStringList messages;
    const QByteArray bytes(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    if (project.LoadBytes(bytes, Catalog(), messages))
        (void)project.SaveXmlText();
    return 0;
}
