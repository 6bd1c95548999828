#include "PackageArchive.h"

#include "AtomicFile.h"
#include "CodePage.h"
#include "DebugLog.h"
#include "ZipCrypto.h"
#include "ZipMemory.h"

#include <QDir>
#include <QFileInfo>

#include <unzip.h>
#include <zip.h>
#include <zlib.h>

namespace {

constexpr char kEntryPrefix[] = "compile/";
constexpr int kMaxNameBytes = 1024;
constexpr uLong kEncryptedFlag = 1;
constexpr uLong kDataDescriptorFlag = 8;
// Deflate never grows data by more than a small fraction; the encryption header adds 12.
constexpr qint64 kMaxStoredSize = kMaxEntrySize + kMaxEntrySize / 16 + 1024;

QByteArray EntryName(const QString& fileName) {
    return ToSystemCodePage(QStringLiteral("Compile/") + fileName.toLower());
}

bool AddEntry(zipFile zip, const QString& fileName, const QByteArray& data) {
    if (PackageEntryFileName(QStringLiteral("compile/") + fileName).isEmpty())
        return false;
    const uLong crc =
        crc32(0, reinterpret_cast<const Bytef*>(data.constData()), static_cast<uInt>(data.size()));
    const QByteArray deflated = RawDeflate(data);
    if (deflated.isEmpty())
        return false;
    const QByteArray stored =
        ZipEncrypt(deflated, kPackagePassword, static_cast<std::uint32_t>(crc));
    // Raw entry with the encryption flag: the data is deflated and encrypted already.
    zip_fileinfo info{};
    if (zipOpenNewFileInZip4_64(zip, EntryName(fileName).constData(), &info, nullptr, 0, nullptr, 0,
                                nullptr, Z_DEFLATED, Z_DEFAULT_COMPRESSION, 1, -MAX_WBITS,
                                DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0, 0, kEncryptedFlag,
                                0) != ZIP_OK)
        return false;
    const bool written = zipWriteInFileInZip(zip, stored.constData(),
                                             static_cast<unsigned>(stored.size())) == ZIP_OK;
    return zipCloseFileInZipRaw64(zip, static_cast<ZPOS64_T>(data.size()), crc) == ZIP_OK &&
           written;
}

// The entry's data as stored (deflated, encrypted); nullopt when it is not all there.
std::optional<QByteArray> ReadRaw(unzFile zip, qint64 size) {
    int method = 0;
    int level = 0;
    if (unzOpenCurrentFile2(zip, &method, &level, 1) != UNZ_OK)
        return std::nullopt;
    QByteArray raw(size, '\0');
    const int got =
        size == 0 ? 0 : unzReadCurrentFile(zip, raw.data(), static_cast<unsigned>(size));
    unzCloseCurrentFile(zip);
    if (got != size)
        return std::nullopt;
    return raw;
}

} // namespace

QByteArray BuildPackageArchive(const std::vector<std::pair<QString, QByteArray>>& files) {
    ZipMemoryStream stream;
    zlib_filefunc64_def io = ZipMemoryFileFunc(stream);
    zipFile zip = zipOpen2_64("memory", APPEND_STATUS_CREATE, nullptr, &io);
    if (!zip)
        return {};
    bool ok = true;
    for (const auto& [name, data] : files)
        ok = ok && data.size() <= kMaxEntrySize && AddEntry(zip, name, data);
    ok = zipClose(zip, nullptr) == ZIP_OK && ok;
    return ok ? stream.data : QByteArray();
}

bool BuildArchive(const QString& batchFolder, QString* error) {
    QDir compiler(QDir(batchFolder).filePath(QLatin1String(kCompilerFolderName)));
    std::vector<std::pair<QString, QByteArray>> files;
    QString reason;
    bool ok = compiler.exists();
    if (!ok)
        reason = compiler.path() + QStringLiteral(": folder missing");
    for (const QFileInfo& file : compiler.entryInfoList(QDir::Files | QDir::Hidden, QDir::Name)) {
        QByteArray data;
        ok = ok && ReadWholeFile(file.filePath(), data, &reason);
        files.emplace_back(file.fileName(), data);
    }
    const QByteArray archive = ok ? BuildPackageArchive(files) : QByteArray();
    if (ok && archive.isEmpty())
        reason = QStringLiteral("the archive could not be built");
    if (archive.isEmpty() ||
        !WriteFileAtomically(QDir(batchFolder).filePath(QLatin1String(kPackageFileName)), archive,
                             &reason)) {
        DebugLogLine(QStringLiteral("[81009] 生成数据文件失败！"));
        if (error)
            *error = reason;
        return false;
    }
    compiler.removeRecursively();
    return true;
}

QString PackageEntryFileName(const QString& entryName) {
    const QString lower = entryName.toLower();
    if (!lower.startsWith(QLatin1String(kEntryPrefix)))
        return {};
    const QString name = lower.mid(int(sizeof kEntryPrefix) - 1);
    if (name.isEmpty() || name == QLatin1String(".") || name == QLatin1String(".."))
        return {};
    for (const QChar c : name) {
        if (c.unicode() < 0x20 || c == u'/' || c == u'\\' || c == u':')
            return {};
    }
    return name;
}

struct PackageArchive::Impl {
    ZipMemoryStream stream;
    unzFile zip = nullptr;
};

PackageArchive::PackageArchive(std::unique_ptr<Impl> impl) : m_impl(std::move(impl)) {}

PackageArchive::~PackageArchive() {
    unzClose(m_impl->zip);
}

std::unique_ptr<PackageArchive> PackageArchive::Open(QByteArray bytes) {
    auto impl = std::make_unique<Impl>();
    impl->stream.data = std::move(bytes);
    zlib_filefunc64_def io = ZipMemoryFileFunc(impl->stream);
    impl->zip = unzOpen2_64("memory", &io);
    if (!impl->zip)
        return nullptr;
    std::unique_ptr<PackageArchive> archive(new PackageArchive(std::move(impl)));
    if (!archive->ListEntries())
        return nullptr;
    return archive;
}

std::unique_ptr<PackageArchive> PackageArchive::OpenFile(const QString& path) {
    QByteArray bytes;
    if (!ReadWholeFile(path, bytes))
        return nullptr;
    return Open(std::move(bytes));
}

bool PackageArchive::ListEntries() {
    for (int status = unzGoToFirstFile(m_impl->zip); status != UNZ_END_OF_LIST_OF_FILE;
         status = unzGoToNextFile(m_impl->zip)) {
        if (status != UNZ_OK)
            return false;
        unz_file_info64 info{};
        char name[kMaxNameBytes + 1] = {};
        if (unzGetCurrentFileInfo64(m_impl->zip, &info, name, kMaxNameBytes, nullptr, 0, nullptr,
                                    0) != UNZ_OK)
            return false;
        const qint64 size = info.uncompressed_size > static_cast<ZPOS64_T>(INT64_MAX)
                                ? INT64_MAX
                                : static_cast<qint64>(info.uncompressed_size);
        m_entries.push_back({FromSystemCodePage(QByteArray(name)), size});
    }
    return true;
}

bool PackageArchive::Extract(int index, QByteArray& data) {
    data.clear();
    if (index < 0 || index >= static_cast<int>(m_entries.size()))
        return false;
    const Entry& entry = m_entries[static_cast<std::size_t>(index)];
    if (PackageEntryFileName(entry.name).isEmpty() || entry.size > kMaxEntrySize)
        return false;
    // Entries are reached by position; the list was made in the same order.
    if (unzGoToFirstFile(m_impl->zip) != UNZ_OK)
        return false;
    for (int i = 0; i < index; ++i) {
        if (unzGoToNextFile(m_impl->zip) != UNZ_OK)
            return false;
    }
    unz_file_info64 info{};
    if (unzGetCurrentFileInfo64(m_impl->zip, &info, nullptr, 0, nullptr, 0, nullptr, 0) != UNZ_OK ||
        info.compressed_size > static_cast<ZPOS64_T>(kMaxStoredSize))
        return false;
    std::optional<QByteArray> raw = ReadRaw(m_impl->zip, static_cast<qint64>(info.compressed_size));
    if (raw && (info.flag & kEncryptedFlag)) {
        const std::uint8_t check = (info.flag & kDataDescriptorFlag)
                                       ? static_cast<std::uint8_t>(info.dosDate >> 8)
                                       : static_cast<std::uint8_t>(info.crc >> 24);
        raw = ZipDecrypt(*raw, kPackagePassword, check);
    }
    std::optional<QByteArray> plain;
    if (raw && info.compression_method == Z_DEFLATED)
        plain = RawInflate(*raw, entry.size);
    else if (raw && info.compression_method == 0 && raw->size() == entry.size)
        plain = raw;
    if (!plain || crc32(0, reinterpret_cast<const Bytef*>(plain->constData()),
                        static_cast<uInt>(plain->size())) != info.crc)
        return false;
    data = *plain;
    return true;
}
