#include "BatchDelivery.h"

#include "ZipMemory.h"

#include "AtomicFile.h"

#include <QDateTime>
#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <zip.h>
#include <zlib.h>

#include <sys/stat.h>

namespace {

// Named apart from the program "batchloader", which lies in the same folder.
const QString kDeliveryFolder = QStringLiteral("BatchDelivery");
const QString kBatchFolder = QStringLiteral("BatchTool");
const QString kUsbDriverFolder = QStringLiteral("usb_driver");
const QString kFailed = QStringLiteral("生成批量下载器 —— 操作失败！");

constexpr QFile::Permissions kProgramPermissions =
    QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner | QFile::ReadGroup | QFile::ExeGroup |
    QFile::ReadOther | QFile::ExeOther;

// Unix as the creating system, so that unzip restores the modes kept in the entries.
constexpr uLong kMadeByUnix = (3 << 8) | 20;
constexpr uLong kUtf8NamesFlag = 1 << 11;

PublishResult Failure(const QString& message, const QString& detail) {
    return {false, kFailed + QStringLiteral("\r\n\r\n") + message, detail};
}

// Copies the files of `from` and its subfolders into `to`, replacing those of the same name.
bool CopyFolder(const QString& from, const QString& to, QString& error) {
    const QDir source(from);
    error = from + QStringLiteral(": folder missing");
    if (!source.exists())
        return false;
    QDirIterator it(from, QDir::Files | QDir::Hidden, QDirIterator::Subdirectories);
    while (it.hasNext()) {
        const QString file = it.next();
        const QString target = QDir(to).filePath(source.relativeFilePath(file));
        QByteArray data;
        error = QFileInfo(target).absolutePath() + QStringLiteral(": cannot create the folder");
        if (!QDir().mkpath(QFileInfo(target).absolutePath()) ||
            !ReadWholeFile(file, data, &error) || !WriteFileAtomically(target, data, &error))
            return false;
    }
    error = to + QStringLiteral(": cannot create the folder");
    return QDir().mkpath(to);
}

tm_zip ZipTime(const QDateTime& time) {
    const QDate date = time.date();
    const QTime clock = time.time();
    return {uInt(clock.second()), uInt(clock.minute()),   uInt(clock.hour()),
            uInt(date.day()),     uInt(date.month() - 1), uInt(date.year())};
}

// A folder entry when `name` ends in "/".
bool AddZipEntry(zipFile zip, const QString& name, const QByteArray& data, unsigned mode) {
    zip_fileinfo info{};
    info.tmz_date = ZipTime(QDateTime::currentDateTime());
    info.external_fa = uLong(mode) << 16;
    const bool folder = name.endsWith(u'/');
    if (zipOpenNewFileInZip4_64(zip, name.toUtf8().constData(), &info, nullptr, 0, nullptr, 0,
                                nullptr, folder ? 0 : Z_DEFLATED, Z_DEFAULT_COMPRESSION, 0,
                                -MAX_WBITS, DEF_MEM_LEVEL, Z_DEFAULT_STRATEGY, nullptr, 0,
                                kMadeByUnix, kUtf8NamesFlag, 0) != ZIP_OK)
        return false;
    const bool written = data.isEmpty() || zipWriteInFileInZip(zip, data.constData(),
                                                               unsigned(data.size())) == ZIP_OK;
    return zipCloseFileInZip(zip) == ZIP_OK && written;
}

bool AddFolderContent(zipFile zip, const QString& folder) {
    const QDir root(folder);
    QStringList paths;
    QDirIterator it(folder, QDir::AllEntries | QDir::NoDotAndDotDot | QDir::Hidden,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        paths.append(it.next());
    paths.sort();
    for (const QString& path : paths) {
        const QFileInfo file(path);
        const QString name = root.relativeFilePath(path).toLower();
        QByteArray data;
        const bool added =
            file.isDir()
                ? AddZipEntry(zip, name + u'/', {}, S_IFDIR | 0755)
                : ReadWholeFile(path, data) &&
                      AddZipEntry(zip, name, data, S_IFREG | (file.isExecutable() ? 0755 : 0644));
        if (!added)
            return false;
    }
    return true;
}

// A ZIP without password of everything in `folder`.
QByteArray BuildDeliveryZip(const QString& folder) {
    ZipMemoryStream stream;
    zlib_filefunc64_def io = ZipMemoryFileFunc(stream);
    zipFile zip = zipOpen2_64("memory", APPEND_STATUS_CREATE, nullptr, &io);
    if (!zip)
        return {};
    const bool added = AddFolderContent(zip, folder);
    const bool closed = zipClose(zip, nullptr) == ZIP_OK;
    return added && closed ? stream.data : QByteArray();
}

} // namespace

QByteArray EmbeddedBatchLoader() {
    QFile loader(QStringLiteral(":/batchloader"));
    return loader.open(QIODevice::ReadOnly) ? loader.readAll() : QByteArray();
}

PublishResult GenerateToolProgram(const QString& programFolder, const BatchToolRequest& request) {
    const PublishResult result = GenerateBatchTool(programFolder, request);
    if (result.ok && !QFile::setPermissions(request.outputPath, kProgramPermissions))
        return {false, kFailed,
                QStringLiteral("making the tool executable: ") + request.outputPath};
    return result;
}

PublishResult GenerateZipDelivery(const QString& programFolder, const BatchToolRequest& request) {
    const QDir root(programFolder);
    // Parts of an earlier delivery must not end up in this one.
    QDir(root.filePath(kDeliveryFolder)).removeRecursively();
    if (!root.mkpath(kDeliveryFolder))
        return Failure(QStringLiteral("创建临时目录失败，请右键以管理员运行"),
                       QStringLiteral("preparing the folder ") + root.filePath(kDeliveryFolder));
    const QDir delivery(root.filePath(kDeliveryFolder));
    BatchToolRequest tool = request;
    tool.outputPath = delivery.filePath(QFileInfo(request.outputPath).completeBaseName());
    const PublishResult written = GenerateToolProgram(programFolder, tool);
    if (!written.ok) {
        // The refusals of title and password keep their own texts.
        return written.message == kFailed
                   ? Failure(QStringLiteral("创建临时目录失败，请右键以管理员运行"), written.detail)
                   : written;
    }
    QString error;
    if (!CopyFolder(root.filePath(kUsbDriverFolder), delivery.filePath(kUsbDriverFolder), error))
        return Failure(QStringLiteral("创建USB驱动失败1，请右键以管理员运行"),
                       QStringLiteral("copying the USB driver folder: ") + error);
    const QByteArray zip = BuildDeliveryZip(delivery.path());
    if (zip.isEmpty())
        return {false, kFailed, QStringLiteral("packing the ZIP delivery")};
    if (!WriteFileAtomically(request.outputPath, zip, &error))
        return {false, kFailed, QStringLiteral("writing the ZIP delivery: ") + error};
    return {true, QStringLiteral("生成批量下载器 —— 操作成功！"), {}};
}

void RemovePublishFolders(const QString& programFolder) {
    const QDir root(programFolder);
    QDir(root.filePath(kBatchFolder)).removeRecursively();
    QDir(root.filePath(kDeliveryFolder)).removeRecursively();
}
