#include "PLCFactory.h"
#include "CatalogText.h"

#include "AtomicFile.h"
#include "DriverFile.h"

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <algorithm>

namespace {

const QString kShippedCatalog = QStringLiteral(KV_BIN_DIR "/Factory.dll");
const QString kShippedDrivers = QStringLiteral(KV_BIN_DIR "/PLC");

const char kLocal[] = "<PLC ID=\"0\" Name=\"Local\"><Wires><Wire TypeName=\"LB\"/></Wires>"
                      "<Regs><Reg TypeName=\"LW\" TypeValue=\"0x70\"/></Regs></PLC>";

QString Plc(int id, const QString& name = {}) {
    return QStringLiteral(
               "<PLC ID=\"%1\" Name=\"%2\"><Wires><Wire TypeName=\"M%1\"/></Wires></PLC>")
        .arg(id)
        .arg(name);
}

bool HasOwnType(const CPLCEntity& plc, int kind) {
    const auto types = plc.GetTypeList(kind, PLC_ANY);
    return std::any_of(types.begin(), types.end(),
                       [](const CPLCRegType* type) { return !type->IsLocal(); });
}

} // namespace

TEST(PLCFactory, StartsEmptyWithVersionOne) {
    const CPLCFactory catalog;
    EXPECT_EQ(catalog.GetSoftVersion(), "1.0");
    EXPECT_EQ(catalog.GetCount(), 0);
    EXPECT_EQ(catalog.GetPLC(0), nullptr);
    EXPECT_EQ(&CPLCFactory::Instance(), &CPLCFactory::Instance());
}

TEST(PLCFactory, DamagedCatalogsFailToLoad) {
    QByteArray shipped;
    ASSERT_TRUE(ReadWholeFile(kShippedCatalog, shipped));
    QByteArray flipped = shipped;
    flipped[flipped.size() / 2] = static_cast<char>(flipped[flipped.size() / 2] ^ 0x0F);

    const struct {
        const char* what;
        QByteArray data;
    } cases[] = {
        {"empty", {}},
        {"truncated", shipped.left(shipped.size() / 2)},
        {"cut before the root ends", shipped.left(shipped.size() - 12)},
        {"not scrambled",
         [&] {
             QByteArray plain = shipped;
             XorScramble(plain);
             return plain;
         }()},
        {"not XML", ScrambledCatalog("PLC catalog")},
        {"another root", ScrambledCatalog("<Catalog><PLCS/></Catalog>")},
        {"no PLCS", ScrambledCatalog("<Drivers SoftVersion=\"2.0\"><PLC ID=\"1\"/></Drivers>")},
        {"two roots", ScrambledCatalog("<Drivers><PLCS/></Drivers><Drivers><PLCS/></Drivers>")},
        {"binary", QByteArray("\x00\xFF\x6B\x57\x00\x01", 6)},
    };
    for (const auto& c : cases) {
        CPLCFactory catalog;
        EXPECT_FALSE(catalog.ReadCatalog(c.data)) << c.what;
    }
    // A flipped byte may still leave well-formed XML; it must simply not crash.
    CPLCFactory catalog;
    catalog.ReadCatalog(flipped);

    // However short the cut, a catalog that ends early does not load.
    const QString text = CatalogWith(kLocal + Plc(1) + Plc(2));
    for (qsizetype size = 0; size < text.size(); ++size) {
        CPLCFactory cut;
        EXPECT_FALSE(ReadCatalogText(cut, text.left(size))) << size;
    }
}

TEST(PLCFactory, EmptyPLCSLoads) {
    CPLCFactory catalog;
    EXPECT_TRUE(ReadCatalogText(catalog, "<Drivers SoftVersion=\"2.1\"><Other/><PLCS/></Drivers>"));
    EXPECT_EQ(catalog.GetSoftVersion(), "2.1");
    EXPECT_EQ(catalog.GetCount(), 0);
}

TEST(PLCFactory, LoadsFromAFileWithoutLeavingACopy) {
    QTemporaryDir dir;
    const QString path = dir.filePath("Factory.dll");
    ASSERT_TRUE(WriteFileAtomically(
        path, ScrambledCatalog(CatalogWith(kLocal + Plc(1, QStringLiteral("一体机 A"))))));
    ASSERT_TRUE(QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::ExeOwner));

    CPLCFactory catalog;
    EXPECT_TRUE(catalog.Load(path));
    EXPECT_EQ(catalog.GetSoftVersion(), "2.5");
    EXPECT_EQ(catalog.GetCount(), 2);
    EXPECT_EQ(catalog.GetPLC(1)->GetName(), QStringLiteral("一体机 A"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::AllEntries | QDir::NoDotAndDotDot),
              QStringList{"Factory.dll"});
    EXPECT_FALSE(CPLCFactory().Load(dir.filePath("missing.dll")));
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
}

TEST(PLCFactory, OtherDescriptionsLinkTheLocalOneReadBeforeThem) {
    CPLCFactory catalog;
    ASSERT_TRUE(ReadCatalogText(
        catalog, CatalogWith(Plc(1) + kLocal + Plc(2) + Plc(3, "LOCAL") + Plc(4, "Serial"))));
    const CPLCEntity* local = catalog.GetPLC(0);
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(local->IsLocal());
    EXPECT_EQ(local->GetLinkedPLC(), nullptr);
    // Standing before the local description, PLC 1 offers only its own types.
    EXPECT_EQ(catalog.GetPLC(1)->GetLinkedPLC(), nullptr);
    EXPECT_EQ(catalog.GetPLC(1)->GetTypeList(PLC_BIT, PLC_ANY).size(), 1u);
    EXPECT_EQ(catalog.GetPLC(2)->GetLinkedPLC(), local);
    // A description named like the local one (in any case) is not linked.
    EXPECT_EQ(catalog.GetPLC(3)->GetLinkedPLC(), nullptr);
    EXPECT_EQ(catalog.GetPLC(4)->GetLinkedPLC(), local);

    const auto bits = catalog.GetPLC(4)->GetTypeList(PLC_BIT, PLC_ANY);
    ASSERT_EQ(bits.size(), 2u);
    EXPECT_EQ(bits[0]->GetTypeName(), "M4");
    EXPECT_FALSE(bits[0]->IsLocal());
    EXPECT_EQ(bits[1]->GetTypeName(), "LB");
    EXPECT_TRUE(bits[1]->IsLocal());
}

TEST(PLCFactory, OnlyTheExactNameLocalMarksLocalTypes) {
    CPLCFactory catalog;
    ASSERT_TRUE(ReadCatalogText(
        catalog, CatalogWith("<PLC ID=\"0\" Name=\"local\"><Wires><Wire TypeName=\"LB\"/></Wires>"
                             "</PLC>" +
                             Plc(1))));
    // ID 0 is linked whatever its name, but its types are the panel's only under "Local".
    ASSERT_EQ(catalog.GetPLC(1)->GetLinkedPLC(), catalog.GetPLC(0));
    EXPECT_FALSE(catalog.GetPLC(0)->IsLocal());
    EXPECT_FALSE(catalog.GetPLC(1)->GetTypeList(PLC_BIT, PLC_ANY).back()->IsLocal());
}

TEST(PLCFactory, RepeatedIDsReplaceAndDescriptionsWithoutIDAreSkipped) {
    CPLCFactory catalog;
    ASSERT_TRUE(ReadCatalogText(
        catalog,
        CatalogWith(kLocal + Plc(1, "first") + "<PLC Name=\"no id\"/>" +
                    "<PLC ID=\"\" Name=\"empty id\"/>" + Plc(1, "second") + Plc(2, "before") +
                    "<PLC ID=\"0\" Name=\"Local\"><Wires><Wire TypeName=\"LB2\"/>"
                    "</Wires></PLC>" +
                    Plc(3, "after"))));
    EXPECT_EQ(catalog.GetCount(), 4);
    EXPECT_EQ(catalog.GetPLC(1)->GetName(), "second");
    // PLC 2 keeps the local description it was linked to, although a later one replaced it.
    const CPLCEntity* replaced = catalog.GetPLC(2)->GetLinkedPLC();
    ASSERT_NE(replaced, nullptr);
    EXPECT_NE(replaced, catalog.GetPLC(0));
    EXPECT_EQ(catalog.GetPLC(2)->GetTypeList(PLC_BIT, PLC_ANY).back()->GetTypeName(), "LB");
    EXPECT_EQ(catalog.GetPLC(3)->GetTypeList(PLC_BIT, PLC_ANY).back()->GetTypeName(), "LB2");
}

TEST(PLCFactory, TheShippedCatalogLoads) {
    CPLCFactory catalog;
    ASSERT_TRUE(catalog.Load(kShippedCatalog));
    EXPECT_FALSE(catalog.GetSoftVersion().isEmpty());

    const CPLCEntity* local = catalog.GetPLC(0);
    ASSERT_NE(local, nullptr);
    EXPECT_TRUE(local->IsLocal());
    QList<int> localCodes;
    QStringList localNames;
    for (const CPLCRegType* type : local->GetTypeList(PLC_WORD, PLC_ANY)) {
        localCodes.append(type->GetTypeValue());
        localNames.append(type->GetTypeName());
        EXPECT_TRUE(type->IsLocal());
    }
    EXPECT_EQ(localCodes, (QList<int>{112, 113, 114, 115, 116}));
    EXPECT_TRUE(localNames.contains("LW"));
    EXPECT_FALSE(local->GetTypeList(PLC_BIT, PLC_ANY).empty());

    // The settings dialog lists IDs 1 to count - 1 by position.
    ASSERT_GE(catalog.GetCount(), 4);
    EXPECT_EQ(catalog.GetPLC(static_cast<std::uint16_t>(catalog.GetCount())), nullptr);
    for (int id = 1; id < catalog.GetCount(); ++id) {
        const CPLCEntity* plc = catalog.GetPLC(static_cast<std::uint16_t>(id));
        ASSERT_NE(plc, nullptr) << id;
        EXPECT_EQ(plc->GetLinkedPLC(), local) << id;
        EXPECT_TRUE(HasOwnType(*plc, PLC_BIT)) << id;
        EXPECT_TRUE(HasOwnType(*plc, PLC_WORD)) << id;
        EXPECT_FALSE(plc->GetTypeList(PLC_ALARM, PLC_ANY).empty()) << id;
        EXPECT_GE(plc->GetDefaultBaudIndex(), 0) << id;
        EXPECT_TRUE(CheckDriverFile(kShippedDrivers + "/" + plc->GetPTCFile()))
            << plc->GetPTCFile().toStdString();
    }
    EXPECT_TRUE(CheckDriverFile(kShippedDrivers + "/3-QFLX_20.bin"));
    EXPECT_TRUE(CheckDriverFile(kShippedDrivers + "/3-QFLX_32.bin"));
}
