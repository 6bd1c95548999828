// Package archives from arbitrary bytes: every entry is listed, named and extracted.

#include "PackageArchive.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const auto archive = PackageArchive::Open(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    for (int i = 0; archive && i < static_cast<int>(archive->Entries().size()); ++i) {
        PackageEntryFileName(archive->Entries()[std::size_t(i)].name);
        QByteArray content;
        archive->Extract(i, content);
    }
    return 0;
}
