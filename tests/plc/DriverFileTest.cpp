#include "DriverFile.h"
#include "CatalogText.h"

#include "AtomicFile.h"
#include "Crc16.h"
#include "PLCFactory.h"
#include "ProgramFolder.h"

#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

TEST(DriverFile, Check) {
    const QByteArray body("driver program", 14);
    QByteArray good = body;
    AppendDriverTrailer(good);
    ASSERT_EQ(good.size(), body.size() + 4);
    EXPECT_EQ(good.mid(body.size(), 2), "RV");
    EXPECT_EQ(static_cast<std::uint8_t>(good[body.size() + 2]), Crc16(body) & 0xFF);

    QByteArray swapped = good;
    std::swap(swapped[body.size() + 2], swapped[body.size() + 3]);
    QByteArray damaged = good;
    damaged[3] = 'X';
    QByteArray lowerTag = good;
    lowerTag.replace(body.size(), 2, "rv");

    const struct {
        const char* what;
        QByteArray data;
        bool valid;
    } cases[] = {
        {"trailer of nothing", QByteArray("RV\xFF\xFF", 4), true},
        {"driver with trailer", good, true},
        {"tag in lower case", lowerTag, false},
        {"CRC high byte first", swapped, false},
        {"changed program byte", damaged, false},
        {"no trailer", body, false},
        {"three bytes", QByteArray("V\xFF\xFF", 3), false},
        {"empty", {}, false},
    };
    QTemporaryDir dir;
    for (const auto& c : cases) {
        const QString path = dir.filePath(QString::fromLatin1(c.what) + ".bin");
        ASSERT_TRUE(WriteFileAtomically(path, c.data));
        // Installed drivers are often read-only; that does not make them invalid.
        QFile::setPermissions(path, QFile::ReadOwner);
        EXPECT_EQ(CheckDriverFile(path), c.valid) << c.what;
        QByteArray loaded;
        EXPECT_TRUE(LoadDriverFile(path, loaded)) << c.what;
        EXPECT_EQ(loaded, c.data) << c.what;
    }
    QByteArray untouched("kept");
    EXPECT_FALSE(CheckDriverFile(dir.filePath("missing.bin")));
    EXPECT_FALSE(LoadDriverFile(dir.filePath("missing.bin"), untouched));
    EXPECT_FALSE(CheckDriverFile(dir.path()));
    EXPECT_FALSE(LoadDriverFile(dir.path(), untouched));
    EXPECT_EQ(untouched, "kept");
}

TEST(DriverFile, PathIsInThePLCFolderOfTheProgramFolder) {
    CPLCFactory catalog;
    ASSERT_TRUE(ReadCatalogText(catalog, CatalogWith("<PLC ID=\"1\" PTCFile=\"1-MODBUS.bin\"/>")));
    EXPECT_EQ(DriverFilePath(*catalog.GetPLC(1)), ProgramFolder() + "/PLC/1-MODBUS.bin");
    EXPECT_EQ(DriverFilePath("3-QFLX_20.bin"), ProgramFolder() + "/PLC/3-QFLX_20.bin");
}

TEST(DriverFile, PanelsWithTheIntegratedPLCTakeTheirVariant) {
    EXPECT_EQ(DriverFileForModel(210), "3-QFLX_20.bin");
    EXPECT_EQ(DriverFileForModel(220), "3-QFLX_32.bin");
    for (const int model : {0, 200, 211})
        EXPECT_TRUE(DriverFileForModel(model).isEmpty()) << model;
}
