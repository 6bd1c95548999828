// The version component: the installed designer's version texts, from the version the
// project is built as.

#include <cstdio>

namespace {

#define KV_TEXT(x) #x
#define KV_STRING(x) KV_TEXT(x)
#define KV_VERSION                                                                                 \
    KV_STRING(KV_VERSION_MAJOR) "." KV_STRING(KV_VERSION_MINOR) "." KV_STRING(KV_VERSION_PATCH)

// Copies `text` with its terminating zero, cut to what `size` holds.
void Put(const char* text, char* buffer, int size) {
    if (buffer && size > 0)
        std::snprintf(buffer, static_cast<std::size_t>(size), "%s", text);
}

} // namespace

// The version the updater compares: dotted decimal in four parts.
extern "C" __attribute__((visibility("default"))) void GXGetVersion(char* buffer, int size) {
    Put(KV_VERSION ".0", buffer, size);
}

// The version shown to the user.
extern "C" __attribute__((visibility("default"))) void GXGetVersionEx(char* buffer, int size) {
    Put(KV_VERSION, buffer, size);
}
