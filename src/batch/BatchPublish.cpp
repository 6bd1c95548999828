#include "BatchPublish.h"

#include "BatchTool.h"
#include "PackageArchive.h"

#include "AtomicFile.h"
#include "CodePage.h"
#include "DebugLog.h"
#include "DriverFile.h"
#include "PLCEntity.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>

#include <vector>

namespace {

constexpr int kMaxTitleCharacters = 4096;

const QString kBatchFolder = QStringLiteral("BatchTool");

PublishResult Failure(const QString& message, const QString& detail = {}) {
    return {false, message, detail};
}

// The first of these texts carries no number.
QString DriverDamaged(const QString& number, const QString& plcName) {
    return number +
           QStringLiteral(
               "编译出错：驱动文件已损坏，请重新安装软件！\r\n\r\n请联系厂商增加驱动：") +
           plcName;
}

QString CopyFailed(int number) {
    return QStringLiteral("%1.编译出错：复制驱动失败，请右键以管理员方式运行！").arg(number);
}

QString FolderFailed(int number) {
    return QStringLiteral("%1.初始化文件夹出错，请右键以管理员方式运行！").arg(number);
}

// Files only: the folders stay, as the batch tool dialog expects them.
bool EmptyFolder(const QString& folder) {
    bool ok = true;
    QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System,
                    QDirIterator::Subdirectories);
    while (it.hasNext())
        ok = QFile::remove(it.next()) && ok;
    return ok;
}

bool CopyReplacing(const QString& from, const QString& to, QString* error) {
    QByteArray data;
    return ReadWholeFile(from, data, error) && WriteFileAtomically(to, data, error);
}

// Checks a driver as the compiler does and copies it into the Compiler folder.
struct DriverCopy {
    QString from;
    QString to;
    QString damagedNumber; // "5." or none
    int copyNumber = 0;
};

PublishResult CopyDriver(const DriverCopy& copy, const QString& plcName) {
    QByteArray driver;
    if (!LoadDriverFile(copy.from, driver) || !IsValidDriver(driver))
        return Failure(DriverDamaged(copy.damagedNumber, plcName));
    QString error;
    if (!WriteFileAtomically(copy.to, driver, &error))
        return Failure(CopyFailed(copy.copyNumber), QStringLiteral("copying the driver: ") + error);
    return {true, {}, {}};
}

PublishResult BuildArchiveResult(const QString& batch) {
    QString error;
    if (!BuildArchive(batch, &error))
        return Failure(QStringLiteral("[81009] 压缩数据文件失败！"),
                       QStringLiteral("packing the project: ") + error);
    return {true, {}, {}};
}

QString FolderDetail(const QString& folder) {
    return QStringLiteral("preparing the folder ") + folder;
}

} // namespace

PublishProject PublishPackage(const QByteArray& image, const CPLCEntity* plc) {
    if (!plc)
        return {image, 0, QString(), QString()};
    return {image, plc->GetProtocolID(), plc->GetName(), DriverFilePath(*plc)};
}

PublishResult PreparePublish(const QString& programFolder, const PublishProject& project) {
    const QDir root(programFolder);
    const QString batch = root.filePath(kBatchFolder);
    if (!root.mkpath(kBatchFolder) || !EmptyFolder(batch))
        return Failure(FolderFailed(1), FolderDetail(batch));
    const QDir compiler(QDir(batch).filePath(QLatin1String(kCompilerFolderName)));
    if (!compiler.mkpath(QStringLiteral(".")))
        return Failure(FolderFailed(2), FolderDetail(compiler.path()));
    QString error;
    if (!WriteFileAtomically(compiler.filePath(QStringLiteral("sheetpara.dat")), project.image,
                             &error))
        return Failure(QStringLiteral("3.初始化工程文件夹出错，请右键以管理员方式运行！"),
                       QStringLiteral("writing the project image: ") + error);

    const QDir plc(root.filePath(QStringLiteral("PLC")));
    std::vector<DriverCopy> copies;
    if (project.plcId == kIntegratedPlcId) {
        copies = {{plc.filePath(kIntegratedDriver20), compiler.filePath(kIntegratedDriver20),
                   QString(), 4},
                  {plc.filePath(kIntegratedDriver32), compiler.filePath(kIntegratedDriver32),
                   QStringLiteral("5."), 6}};
    } else {
        copies = {
            {project.driverPath, compiler.filePath(kPanelDriverName), QStringLiteral("7."), 8}};
    }
    for (const DriverCopy& copy : copies) {
        const PublishResult copied = CopyDriver(copy, project.plcName);
        if (!copied.ok)
            return copied;
    }
    return BuildArchiveResult(batch);
}

PublishResult AddPlcProgram(const QString& programFolder, int plcId, const QString& plcFile) {
    if (plcFile.isEmpty() || !QFileInfo(plcFile).isFile() || plcId != kIntegratedPlcId)
        return {true, {}, {}};
    const QDir root(programFolder);
    const QString batch = root.filePath(kBatchFolder);
    if (!root.mkpath(kBatchFolder))
        return Failure(FolderFailed(1), FolderDetail(batch));
    const QDir compiler(QDir(batch).filePath(QLatin1String(kCompilerFolderName)));
    if (!compiler.mkpath(QStringLiteral(".")))
        return Failure(FolderFailed(2), FolderDetail(compiler.path()));

    const std::unique_ptr<PackageArchive> archive =
        PackageArchive::OpenFile(QDir(batch).filePath(QLatin1String(kPackageFileName)));
    if (!archive) {
        DebugLogLine(QStringLiteral("[91009] 生成数据文件失败！"));
        return Failure(QStringLiteral("[91009] 压缩数据文件失败！"));
    }
    for (int i = 0; i < static_cast<int>(archive->Entries().size()); ++i) {
        const QString name = PackageEntryFileName(archive->Entries()[std::size_t(i)].name);
        QByteArray data;
        QString error = QStringLiteral("damaged entry ") + name;
        if (name.isEmpty() || !archive->Extract(i, data) ||
            !WriteFileAtomically(compiler.filePath(name), data, &error))
            return Failure(FolderFailed(3), QStringLiteral("unpacking the project: ") + error);
    }
    QString error;
    if (!CopyReplacing(plcFile, compiler.filePath(QStringLiteral("rvplc.pwm")), &error))
        return Failure(FolderFailed(4), QStringLiteral("copying the ladder program: ") + error);
    return BuildArchiveResult(batch);
}

PublishResult GenerateBatchTool(const QString& programFolder, const BatchToolRequest& request) {
    const QByteArray title = ToSystemCodePage(request.title.left(kMaxTitleCharacters));
    if (title.isEmpty())
        return Failure(QStringLiteral("请输入软件的标题！"));
    const QString archivePath =
        QDir(QDir(programFolder).filePath(kBatchFolder)).filePath(QLatin1String(kPackageFileName));
    if (!QFileInfo(archivePath).isFile())
        return Failure(QStringLiteral("工程文件不存在，请重新编译工程！"));
    const PublishResult added = AddPlcProgram(programFolder, request.plcId, request.plcFile);
    if (!added.ok)
        return added;

    BatchTool tool;
    tool.loader = request.loader;
    tool.title = title;
    QString error;
    if (!ReadWholeFile(archivePath, tool.archive, &error))
        return Failure(QStringLiteral("生成批量下载器 —— 操作失败！"),
                       QStringLiteral("reading the package: ") + error);
    if (request.login) {
        // The field holds 16 bytes; a password of more would be cut without a word.
        const QByteArray password = ToSystemCodePage(request.password);
        if (password.isEmpty())
            return Failure(QStringLiteral("请输入软件登录密码！\r\n\r\n(提示：长度为32个字符,"
                                          "若不需要请务打勾！)"));
        if (password.size() > kLoginPasswordBytes)
            return Failure(QStringLiteral("密码长度最大为 %1 字符！").arg(kLoginPasswordBytes));
        tool.login = true;
        tool.password = password;
    }
    if (!WriteBatchTool(request.outputPath, tool, &error))
        return Failure(QStringLiteral("生成批量下载器 —— 操作失败！"),
                       QStringLiteral("writing the batch tool: ") + error);
    return {true, QStringLiteral("生成批量下载器 —— 操作成功！"), {}};
}
