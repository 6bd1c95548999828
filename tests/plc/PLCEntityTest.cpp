#include "PLCEntity.h"
#include "CatalogText.h"
#include "PLCFactory.h"
#include "PLCNumber.h"

#include <gtest/gtest.h>

#include <vector>

namespace {

// Reads a catalog holding the one PLC element `plc` and returns the description with ID 1.
const CPLCEntity& ReadPLC(CPLCFactory& catalog, const QString& plc) {
    EXPECT_TRUE(ReadCatalogText(catalog, CatalogWith(plc)));
    const CPLCEntity* entity = catalog.GetPLC(1);
    EXPECT_NE(entity, nullptr);
    static const CPLCEntity none;
    return entity ? *entity : none;
}

// The first word (or bit) type of a PLC whose only type is `type`, copied out of its catalog.
CPLCRegType ReadType(const QString& type, int kind = PLC_WORD) {
    CPLCFactory catalog;
    const QString list =
        kind == PLC_WORD ? QStringLiteral("<Regs>%1</Regs>") : QStringLiteral("<Wires>%1</Wires>");
    const auto types =
        ReadPLC(catalog, QStringLiteral("<PLC ID=\"1\">%1</PLC>").arg(list.arg(type)))
            .GetTypeList(kind, PLC_ANY);
    EXPECT_EQ(types.size(), 1u);
    return types.empty() ? CPLCRegType(kind) : *types.front();
}

QStringList Names(const std::vector<const CPLCRegType*>& types) {
    QStringList names;
    for (const CPLCRegType* type : types)
        names.append(type->GetTypeName());
    return names;
}

} // namespace

TEST(PLCRegType, TypeValueForms) {
    const struct {
        const char* text;
        int value;
    } cases[] = {
        {"0x1F", 31}, {"0X1f", 31}, {"1FH", 31}, {"1fh", 31}, {"017", 15}, {"15", 15},
        {"0", 0},     {"0x", 0},    {"09", 0},   {"300", 44}, {"-1", 255}, {"abc", 0},
    };
    for (const auto& c : cases) {
        const CPLCRegType type =
            ReadType(QStringLiteral("<Reg TypeValue=\"%1\"/>").arg(QLatin1String(c.text)));
        EXPECT_EQ(type.GetTypeValue(), c.value) << c.text;
    }
}

TEST(PLCNumber, EditorTextsOfTheFourFormats) {
    const struct {
        std::int64_t value;
        int format;
        const char* text;
    } cases[] = {
        {100, PLC_OCT, "0144"},
        {100, PLC_DEC, "100"},
        {100, PLC_HEX, "64H"},
        {255, PLC_HEX, "FFH"},
        {0, PLC_OCT, "00"},
        {0, PLC_HEX, "0H"},
        {-5, PLC_DEC_SIGN, "-5"},
        {65535, PLC_DEC_SIGN, "65535"},
        {7, 9, "7"},
    };
    for (const auto& c : cases)
        EXPECT_EQ(FormatNumber(c.value, c.format), QLatin1String(c.text)) << c.text;
}

TEST(PLCRegType, BoundsAreReadInTheBlocksOwnFormatAndTruncatedToTheirField) {
    const struct {
        const char* addr;
        int min;
        int max;
    } cases[] = {
        {"<Addr DataFormat=\"oct\" MinValue=\"17\" MaxValue=\"177777\"/>", 15, 0xFFFF},
        {"<Addr MinValue=\"10\" DataFormat=\"HEX\" MaxValue=\"10001\"/>", 16, 1},
        {"<Addr DataFormat=\"DEC_SIGN\" MinValue=\"-1\" MaxValue=\"70000\"/>", 0xFFFF, 4464},
        {"<Addr DataFormat=\"BIN\" MinValue=\"10\"/>", 10, 0xFFFF}, // unknown format: DEC
        {"<Addr MinValue=\"\"/>", 0, 0xFFFF},
    };
    for (const auto& c : cases) {
        const CPLCRegType type =
            ReadType(QStringLiteral("<Reg>%1</Reg>").arg(QLatin1String(c.addr)));
        EXPECT_EQ(type.GetAddr().minValue, c.min) << c.addr;
        EXPECT_EQ(type.GetAddr().maxValue, c.max) << c.addr;
    }

    // Sub-address and shift bounds are bytes.
    const CPLCRegType bit = ReadType(
        "<Wire><Addr/><SubAddr DataFormat=\"HEX\" MaxValue=\"1FF\"/>"
        "<ShiftAddr Visible=\"TRUE\" MinValue=\"257\" MaxValue=\"15\" IncDelta=\"2\"/></Wire>",
        PLC_BIT);
    EXPECT_EQ(bit.GetSubAddr().maxValue, 0xFF);
    EXPECT_EQ(bit.GetSubAddr().dataFormat, PLC_HEX);
    EXPECT_FALSE(bit.GetSubAddr().visible);
    EXPECT_TRUE(bit.GetShiftAddr().visible);
    EXPECT_EQ(bit.GetShiftAddr().minValue, 1);
    EXPECT_EQ(bit.GetShiftAddr().maxValue, 15);
    EXPECT_EQ(bit.GetShiftAddr().incDelta, 2);
}

TEST(PLCRegType, AttributesAndDefaults) {
    const CPLCRegType defaults = ReadType("<Reg/>");
    EXPECT_EQ(defaults.GetKind(), PLC_WORD);
    EXPECT_EQ(defaults.GetOptMode(), PLC_READ);
    EXPECT_EQ(defaults.GetBitWidth(), 1);
    EXPECT_EQ(defaults.GetAddrInc(), 0);
    EXPECT_TRUE(defaults.GetAddr().visible);
    EXPECT_EQ(defaults.GetAddr().maxValue, 0xFFFF);
    EXPECT_EQ(defaults.GetAddr().incDelta, 1);
    EXPECT_FALSE(defaults.GetSubAddr().visible);
    EXPECT_EQ(defaults.GetSubAddr().maxValue, 255);
    EXPECT_FALSE(defaults.HasRegNum());
    EXPECT_FALSE(defaults.IsLocal());

    const CPLCRegType type =
        ReadType("<Reg TypeName=\"D\" BitWidth=\"0\" AddrInc=\"2\" OptMode=\"om_write\">"
                 "<Addr Visible=\"yes\" Express=\"D%d\"/><RegNum RegNumList=\"1|2||4\"/></Reg>");
    EXPECT_EQ(type.GetTypeName(), "D");
    EXPECT_EQ(type.GetBitWidth(), 1); // 0 counts as 1
    EXPECT_EQ(type.GetAddrInc(), 2);
    EXPECT_EQ(type.GetOptMode(), PLC_WRITE);
    EXPECT_FALSE(type.GetAddr().visible); // only "true" is true
    EXPECT_EQ(type.GetAddr().express, "D%d");
    EXPECT_TRUE(type.HasRegNum());
    EXPECT_EQ(type.GetRegNumList(), (std::vector<std::uint8_t>{1, 2, 4}));

    EXPECT_EQ(ReadType("<Reg OptMode=\"OM_READWRITE\" BitWidth=\"4\"/>").GetOptMode(),
              PLC_READWRITE);
    EXPECT_EQ(ReadType("<Reg OptMode=\"READ_ONLY\"/>").GetOptMode(), PLC_READ);
}

TEST(PLCRegType, ChildrenOutOfOrderAreNotFound) {
    // RegNum stands before Addr: Addr is found, and the search for RegNum goes on after it.
    const CPLCRegType word =
        ReadType("<Reg><RegNum RegNumList=\"2\"/><Addr MaxValue=\"9\"/></Reg>");
    EXPECT_EQ(word.GetAddr().maxValue, 9);
    EXPECT_FALSE(word.HasRegNum());

    // A word type has no shift block and a bit type no register counts.
    const CPLCRegType bit =
        ReadType("<Wire><RegNum RegNumList=\"2\"/><ShiftAddr Visible=\"true\"/></Wire>", PLC_BIT);
    EXPECT_FALSE(bit.HasRegNum());
    EXPECT_TRUE(bit.GetShiftAddr().visible);
}

TEST(PLCEntity, CommunicationValues) {
    const struct {
        const char* attribute;
        int (CPLCEntity::*field)() const;
        int value;
    } cases[] = {
        {"", &CPLCEntity::GetDefaultBaud, 9600},
        {"DefaultBaud=\"19200\"", &CPLCEntity::GetDefaultBaud, 19200},
        {"DataBits=\"8\"", &CPLCEntity::GetDataBits, 1},
        {"DataBits=\"08\"", &CPLCEntity::GetDataBits, 0}, // compared exactly
        {"StopBits=\"2\"", &CPLCEntity::GetStopBits, 1},
        {"Parity=\"odd\"", &CPLCEntity::GetParity, 1},
        {"Parity=\"EVEN\"", &CPLCEntity::GetParity, 2},
        {"Parity=\"MARK\"", &CPLCEntity::GetParity, 0},
        {"COMMType=\"rs485\"", &CPLCEntity::GetCOMMType, 2},
        {"COMMType=\"RS422\"", &CPLCEntity::GetCOMMType, 1},
        {"COMMType=\"USB\"", &CPLCEntity::GetCOMMType, 0},
    };
    for (const auto& c : cases) {
        CPLCFactory catalog;
        const CPLCEntity& plc =
            ReadPLC(catalog, QStringLiteral("<PLC ID=\"1\"><Communication %1/></PLC>")
                                 .arg(QLatin1String(c.attribute)));
        EXPECT_EQ((plc.*c.field)(), c.value) << c.attribute;
    }

    CPLCFactory catalog;
    const CPLCEntity& plc = ReadPLC(
        catalog, "<PLC ID=\"1\" Name=\"Serial A\" PTCFile=\"1-A.bin\" Verison=\"258\">"
                 "<Communication DefaultBaud=\"19200\" SupportedBaud=\"9600||19200|38400\"/>"
                 "</PLC>");
    EXPECT_EQ(plc.GetProtocolID(), 1);
    EXPECT_EQ(plc.GetName(), "Serial A");
    EXPECT_EQ(plc.GetPTCFile(), "1-A.bin");
    EXPECT_EQ(plc.GetVerison(), 2);
    EXPECT_EQ(plc.GetSupportedBaud(), (QStringList{"9600", "19200", "38400"}));
    EXPECT_EQ(plc.GetDefaultBaudIndex(), 1);

    CPLCFactory unlisted;
    EXPECT_EQ(ReadPLC(unlisted, "<PLC ID=\"1\"><Communication SupportedBaud=\"4800\"/></PLC>")
                  .GetDefaultBaudIndex(),
              -1);
}

TEST(PLCEntity, StationAndDisplayBlocks) {
    CPLCFactory defaults;
    const CPLCEntity& plain = ReadPLC(defaults, "<PLC ID=\"1\"/>");
    EXPECT_TRUE(plain.GetStation().visible);
    EXPECT_FALSE(plain.GetDisplay().visible);
    EXPECT_EQ(plain.GetStation().dataFormat, PLC_DEC);
    EXPECT_EQ(plain.GetDisplayStation(), 0);

    CPLCFactory catalog;
    const CPLCEntity& plc = ReadPLC(
        catalog,
        "<PLC ID=\"1\">"
        "<Station Visible=\"false\" DataFormat=\"hex\" MinValue=\"1\" MaxValue=\"1F\" "
        "DefaultValue=\"101\"/>"
        "<Display Visible=\"True\" DataFormat=\"OCT\" MaxValue=\"377\" DefaultValue=\"10\"/>"
        "</PLC>");
    EXPECT_FALSE(plc.GetStation().visible);
    EXPECT_EQ(plc.GetStation().dataFormat, PLC_HEX);
    EXPECT_EQ(plc.GetStation().minValue, 1);
    EXPECT_EQ(plc.GetStation().maxValue, 31);
    EXPECT_EQ(plc.GetStation().defaultValue, 1); // 0x101 keeps its low byte
    EXPECT_TRUE(plc.GetDisplay().visible);
    EXPECT_EQ(plc.GetDisplay().maxValue, 255);
    EXPECT_EQ(plc.GetDisplay().defaultValue, 8);
}

TEST(PLCEntity, ChildrenOutOfOrderAreNotFound) {
    // Station before Communication: Communication is found, Station is looked for after it.
    // A missing child (Display) does not move the search, so Wires is still found.
    CPLCFactory catalog;
    const CPLCEntity& plc = ReadPLC(
        catalog, "<PLC ID=\"1\"><Station Visible=\"false\" DefaultValue=\"7\"/>"
                 "<Communication Parity=\"ODD\"/><Wires><Wire TypeName=\"M\"/></Wires>"
                 "<AlarmList><Wire TypeName=\"A\"/></AlarmList><Regs><Reg TypeName=\"D\"/></Regs>"
                 "</PLC>");
    EXPECT_EQ(plc.GetParity(), 1);
    EXPECT_TRUE(plc.GetStation().visible);
    EXPECT_EQ(plc.GetStation().defaultValue, 0);
    EXPECT_EQ(Names(plc.GetTypeList(PLC_BIT, PLC_ANY)), QStringList{"M"});
    // Regs stands after AlarmList, so AlarmList is searched after Regs and not found.
    EXPECT_EQ(Names(plc.GetTypeList(PLC_WORD, PLC_ANY)), QStringList{"D"});
    EXPECT_TRUE(plc.GetTypeList(PLC_ALARM, PLC_ANY).empty());
}

TEST(PLCEntity, RepeatedTypeNamesAreDroppedPerList) {
    CPLCFactory catalog;
    const CPLCEntity& plc = ReadPLC(
        catalog, "<PLC ID=\"1\"><Wires><Wire TypeName=\"M\" TypeValue=\"1\"/>"
                 "<Wire TypeName=\"m\" TypeValue=\"2\"/><Wire TypeName=\"X\"/>"
                 "<Reg TypeName=\"R\"/></Wires>"
                 "<Regs><Reg TypeName=\"M\"/><Reg TypeName=\"D\"/><Reg TypeName=\"D\"/></Regs>"
                 "<AlarmList><Wire TypeName=\"M\"/></AlarmList></PLC>");
    const auto bits = plc.GetTypeList(PLC_BIT, PLC_ANY);
    EXPECT_EQ(Names(bits), (QStringList{"M", "X"}));
    EXPECT_EQ(bits.front()->GetTypeValue(), 1);
    EXPECT_EQ(Names(plc.GetTypeList(PLC_WORD, PLC_ANY)), (QStringList{"M", "D"}));
    EXPECT_EQ(Names(plc.GetTypeList(PLC_ALARM, PLC_ANY)), QStringList{"M"});
}

TEST(PLCEntity, TypeListsPerMode) {
    CPLCFactory catalog;
    ASSERT_TRUE(ReadCatalogText(
        catalog, CatalogWith("<PLC ID=\"0\" Name=\"Local\"><Wires>"
                             "<Wire TypeName=\"LR\" OptMode=\"OM_READ\"/>"
                             "<Wire TypeName=\"LRW\" OptMode=\"OM_READWRITE\"/></Wires>"
                             "<Regs><Reg TypeName=\"LW\" OptMode=\"OM_WRITE\"/></Regs>"
                             "<AlarmList><Wire TypeName=\"LA\"/></AlarmList></PLC>"
                             "<PLC ID=\"1\"><Wires><Wire TypeName=\"R\" OptMode=\"OM_READ\"/>"
                             "<Wire TypeName=\"W\" OptMode=\"OM_WRITE\"/>"
                             "<Wire TypeName=\"RW\" OptMode=\"OM_READWRITE\"/></Wires>"
                             "<Regs><Reg TypeName=\"D\" OptMode=\"OM_READWRITE\"/></Regs>"
                             "<AlarmList><Wire TypeName=\"A1\" OptMode=\"OM_READ\"/>"
                             "<Wire TypeName=\"A2\" OptMode=\"OM_WRITE\"/></AlarmList></PLC>")));
    const CPLCEntity& plc = *catalog.GetPLC(1);
    const struct {
        int kind;
        int mode;
        QStringList names;
    } cases[] = {
        {PLC_BIT, PLC_READ, {"R", "RW", "LR", "LRW"}},
        {PLC_BIT, PLC_WRITE, {"W", "RW", "LRW"}},
        {PLC_BIT, PLC_READWRITE, {"RW", "LRW"}},
        {PLC_BIT, PLC_ANY, {"R", "W", "RW", "LR", "LRW"}},
        {PLC_WORD, PLC_READ, {"D"}},
        {PLC_WORD, PLC_WRITE, {"D", "LW"}},
        // Alarm types: the description's own, all of them, whatever the mode.
        {PLC_ALARM, PLC_READ, {"A1", "A2"}},
        {PLC_ALARM, PLC_READWRITE, {"A1", "A2"}},
        {7, PLC_ANY, {}},
    };
    for (const auto& c : cases)
        EXPECT_EQ(Names(plc.GetTypeList(c.kind, c.mode)), c.names) << c.kind << "/" << c.mode;

    // The local description offers only its own types.
    EXPECT_EQ(Names(catalog.GetPLC(0)->GetTypeList(PLC_BIT, PLC_ANY)), (QStringList{"LR", "LRW"}));
}
