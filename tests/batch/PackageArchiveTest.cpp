#include "PackageArchive.h"

#include "AtomicFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <map>

namespace {

QByteArray Pattern(int size, int step) {
    QByteArray data(size, '\0');
    for (int i = 0; i < size; ++i)
        data[i] = static_cast<char>(i * step + size);
    return data;
}

std::map<QString, QByteArray> ReadAll(const QByteArray& archive) {
    std::map<QString, QByteArray> files;
    auto reader = PackageArchive::Open(archive);
    EXPECT_NE(reader, nullptr);
    if (!reader)
        return files;
    for (int i = 0; i < static_cast<int>(reader->Entries().size()); ++i) {
        QByteArray data;
        EXPECT_TRUE(reader->Extract(i, data))
            << reader->Entries()[std::size_t(i)].name.toStdString();
        files[reader->Entries()[std::size_t(i)].name] = data;
    }
    return files;
}

TEST(PackageArchive, RoundTripsFilesUnderLowerCasedCompileNames) {
    const QByteArray image = Pattern(5000, 3);
    const QByteArray archive = BuildPackageArchive(
        {{"SheetPara.DAT", image}, {"com1prog.bin", Pattern(700, 5)}, {"empty.bin", {}}});
    ASSERT_FALSE(archive.isEmpty());
    const std::map<QString, QByteArray> expected{{"Compile/sheetpara.dat", image},
                                                 {"Compile/com1prog.bin", Pattern(700, 5)},
                                                 {"Compile/empty.bin", {}}};
    EXPECT_EQ(ReadAll(archive), expected);
}

TEST(PackageArchive, EntriesAreEncrypted) {
    // A run of one byte would be obvious in the archive if stored or deflated unencrypted;
    // an encrypted entry still opens with the password (checked above) but its local header
    // carries the encryption bit.
    const QByteArray archive = BuildPackageArchive({{"a.bin", QByteArray(4096, 'x')}});
    ASSERT_GE(archive.size(), 30);
    EXPECT_EQ(static_cast<std::uint8_t>(archive[6]) & 1, 1);
    EXPECT_FALSE(archive.contains(QByteArray(64, 'x')));
}

TEST(PackageArchive, OpensAnArchiveOfAnotherZipProgram) {
    // Info-ZIP's "zip -P": a stored entry with a data descriptor, whose check byte is the time.
    const QByteArray archive = QByteArray::fromHex(
        "504b03040a0009000000bd5c8a5dacc7c1db1a0000000e00000015000000436f6d70696c652f736865657470"
        "6172612e646174fac2fe208a274f67149c925640c68fd103ca7810ec78ea3e30c3504b0708acc7c1db1a0000"
        "000e000000504b01021e030a0009000000bd5c8a5dacc7c1db1a0000000e0000001500000000000000010000"
        "00a48100000000436f6d70696c652f7368656574706172612e646174504b0506000000000100010043000000"
        "5d0000000000");
    const std::map<QString, QByteArray> expected{{"Compile/sheetpara.dat", "panel data 123"}};
    EXPECT_EQ(ReadAll(archive), expected);

    // The same archive with a name that climbs out of the folder: listed, never extracted.
    QByteArray escaping = archive;
    escaping.replace("Compile/sheetpara.dat", "../../../sheetpar.dat");
    auto reader = PackageArchive::Open(escaping);
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(reader->Entries().size(), 1u);
    EXPECT_EQ(reader->Entries()[0].name, "../../../sheetpar.dat");
    QByteArray data;
    EXPECT_FALSE(reader->Extract(0, data));
}

TEST(PackageArchive, BuildsFromTheCompilerFolderAndRemovesIt) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QDir batch(dir.path());
    ASSERT_TRUE(batch.mkpath("Compiler/sub"));
    ASSERT_TRUE(WriteFileAtomically(batch.filePath("Compiler/3-QFLX_20.bin"), "twenty"));
    ASSERT_TRUE(WriteFileAtomically(batch.filePath("Compiler/sheetpara.dat"), "image"));
    ASSERT_TRUE(WriteFileAtomically(batch.filePath("Compiler/sub/ignored.bin"), "no"));

    ASSERT_TRUE(BuildArchive(dir.path()));
    EXPECT_FALSE(batch.exists("Compiler"));
    QByteArray archive;
    ASSERT_TRUE(ReadWholeFile(batch.filePath("Varnel.hmi"), archive));
    const std::map<QString, QByteArray> expected{{"Compile/3-qflx_20.bin", "twenty"},
                                                 {"Compile/sheetpara.dat", "image"}};
    EXPECT_EQ(ReadAll(archive), expected);
}

TEST(PackageArchive, FailsWithoutACompilerFolder) {
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    EXPECT_FALSE(BuildArchive(dir.path()));
    EXPECT_FALSE(QFile::exists(QDir(dir.path()).filePath("Varnel.hmi")));
}

TEST(PackageArchive, EntryNamesThatLeaveTheFolderAreRefused) {
    const std::vector<std::pair<QString, QString>> cases{
        {"Compile/SheetPara.dat", "sheetpara.dat"},
        {"compile/rvplc.pwm", "rvplc.pwm"},
        {"sheetpara.dat", ""},
        {"/etc/passwd", ""},
        {"Compile/", ""},
        {"Compile/..", ""},
        {"Compile/../x", ""},
        {"Compile/a/b", ""},
        {"Compile/a\\..\\b", ""},
        {"Compile/c:x", ""},
        {"Compile\\sheetpara.dat", ""},
    };
    for (const auto& [entry, file] : cases)
        EXPECT_EQ(PackageEntryFileName(entry), file) << entry.toStdString();
}

TEST(PackageArchive, DamagedArchivesAndEntriesAreRefused) {
    EXPECT_EQ(PackageArchive::Open(QByteArray()), nullptr);
    EXPECT_EQ(PackageArchive::Open("not an archive at all"), nullptr);

    QByteArray archive = BuildPackageArchive({{"sheetpara.dat", Pattern(3000, 7)}});
    ASSERT_FALSE(archive.isEmpty());
    // A changed byte in the entry's data: the CRC check at its end refuses it.
    archive[60] = static_cast<char>(archive[60] ^ 0x55);
    auto reader = PackageArchive::Open(archive);
    ASSERT_NE(reader, nullptr);
    QByteArray data;
    EXPECT_FALSE(reader->Extract(0, data));
    EXPECT_TRUE(data.isEmpty());
    EXPECT_FALSE(reader->Extract(1, data));
    EXPECT_FALSE(reader->Extract(-1, data));
}

TEST(PackageArchive, ADeclaredSizeBeyondTheBoundIsRefusedBeforeReading) {
    QByteArray archive = BuildPackageArchive({{"sheetpara.dat", Pattern(100, 3)}});
    ASSERT_FALSE(archive.isEmpty());
    // The central directory's uncompressed size says 2 GiB.
    const qsizetype central = archive.indexOf(QByteArray("PK\x01\x02", 4));
    ASSERT_GT(central, 0);
    archive[central + 24] = 0;
    archive[central + 25] = 0;
    archive[central + 26] = 0;
    archive[central + 27] = static_cast<char>(0x80);
    auto reader = PackageArchive::Open(archive);
    ASSERT_NE(reader, nullptr);
    ASSERT_EQ(reader->Entries().size(), 1u);
    EXPECT_GT(reader->Entries()[0].size, kMaxEntrySize);
    QByteArray data;
    EXPECT_FALSE(reader->Extract(0, data));
}

} // namespace
