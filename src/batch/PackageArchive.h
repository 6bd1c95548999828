#pragma once

#include <QByteArray>
#include <QString>

#include <memory>
#include <utility>
#include <vector>

// The package archive "Varnel.hmi": a ZIP archive whose entries are encrypted with the
// traditional ZIP password method and named "Compile/" plus the lower-cased file name.

inline constexpr char kPackagePassword[] = "Qm7vT2pX9kLw4";
inline constexpr char kPackageFileName[] = "Varnel.hmi";
inline constexpr char kCompilerFolderName[] = "Compiler";

// No file a panel takes comes near this; a larger declared size is a damaged or crafted
// archive, refused before anything is allocated for it.
inline constexpr qint64 kMaxEntrySize = 8 * 1024 * 1024;

// The archive of `files` (file name, content); empty when a name is no plain file name or the
// archive cannot be made.
QByteArray BuildPackageArchive(const std::vector<std::pair<QString, QByteArray>>& files);

// Packs every file of `batchFolder`/Compiler into `batchFolder`/Varnel.hmi, then deletes the
// Compiler folder. On failure appends "[81009] 生成数据文件失败！" to the debug log and
// returns false; the caller shows "[81009] 压缩数据文件失败！".
bool BuildArchive(const QString& batchFolder, QString* error = nullptr);

// The file name an entry stands for: lower-cased, "compile/" removed. Empty when the name
// would leave the folder it is extracted into (absolute, "..", drive letters, separators).
QString PackageEntryFileName(const QString& entryName);

// A package archive opened for reading, from memory or from a file.
class PackageArchive {
public:
    struct Entry {
        QString name; // as stored
        qint64 size = 0;
    };

    // nullptr when the bytes are no readable ZIP archive.
    static std::unique_ptr<PackageArchive> Open(QByteArray bytes);
    static std::unique_ptr<PackageArchive> OpenFile(const QString& path);

    ~PackageArchive();
    PackageArchive(const PackageArchive&) = delete;
    PackageArchive& operator=(const PackageArchive&) = delete;

    const std::vector<Entry>& Entries() const { return m_entries; }

    // The content of entry `index`. False when its name is unsafe (see PackageEntryFileName),
    // its size is beyond kMaxEntrySize, the password does not open it or its data is damaged.
    bool Extract(int index, QByteArray& data);

private:
    struct Impl;
    explicit PackageArchive(std::unique_ptr<Impl> impl);
    bool ListEntries();

    std::unique_ptr<Impl> m_impl;
    std::vector<Entry> m_entries;
};
