#include "VersionComponent.h"

#include "CodePage.h"

#include <QDir>
#include <QLibrary>

namespace {

constexpr int kBufferSize = 260;

using GetVersion = void (*)(char* buffer, int size);

// Calls `get` when the component exports it; the text up to its terminating zero.
QString Call(QLibrary& component, const char* name) {
    const auto get = reinterpret_cast<GetVersion>(component.resolve(name));
    if (!get)
        return {};
    char buffer[kBufferSize] = {};
    get(buffer, kBufferSize);
    buffer[kBufferSize - 1] = '\0'; // a component that fills the buffer is still read safely
    return FromSystemCodePage(QByteArray(buffer));
}

} // namespace

VersionTexts ReadVersionComponent(const QString& programFolder) {
    VersionTexts texts;
    QLibrary component(QDir(programFolder).filePath(QStringLiteral("GXGetVersion.so")));
    if (!component.load()) {
        texts.version = kFallbackVersion;
        return texts;
    }
    texts.loaded = true;
    texts.version = Call(component, "GXGetVersion");
    texts.display = Call(component, "GXGetVersionEx");
    component.unload();
    return texts;
}
