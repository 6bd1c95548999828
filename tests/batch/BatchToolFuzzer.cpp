// Batch tool files from arbitrary bytes. Half the inputs go to the reader as they are; the other
// half become an intact tool with one payload byte changed and the CRC made to fit again, so
// the payload checks behind the CRC are reached too. An accepted tool's archive is read whole.

#include "BatchTool.h"
#include "Crc16.h"
#include "PackageArchive.h"

#include <cstddef>
#include <cstdint>

namespace {

void ReadArchive(const QByteArray& bytes) {
    const auto archive = PackageArchive::Open(bytes);
    for (int i = 0; archive && i < static_cast<int>(archive->Entries().size()); ++i) {
        QByteArray data;
        archive->Extract(i, data);
    }
}

QByteArray ToolWithChangedPayloadByte(const QByteArray& input) {
    if (input.size() < 4)
        return {};
    BatchTool tool{"ELF", input.mid(4), "T", (input[3] & 1) != 0, "pw"};
    if (tool.archive.isEmpty())
        return {};
    QByteArray file = BuildBatchTool(tool, QDateTime::fromSecsSinceEpoch(0, Qt::UTC), 1);
    if (file.isEmpty())
        return {};
    const qsizetype trailer = file.size() - 38;
    const qsizetype payload = trailer - tool.loader.size();
    const qsizetype at =
        tool.loader.size() +
        (static_cast<std::uint8_t>(input[1]) << 8 | static_cast<std::uint8_t>(input[2])) % payload;
    file[at] = static_cast<char>(file[at] ^ input[0]);
    const std::uint16_t crc =
        Crc16(reinterpret_cast<const std::uint8_t*>(file.constData()), std::size_t(trailer));
    file[trailer] = static_cast<char>(crc >> 8);
    file[trailer + 1] = static_cast<char>(crc);
    return file;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const QByteArray input(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size));
    const QByteArray file =
        size > 0 && (data[0] & 0x80) ? ToolWithChangedPayloadByte(input.mid(1)) : input;
    if (const std::optional<BatchTool> tool = ReadBatchTool(file))
        ReadArchive(tool->archive);
    return 0;
}
