#include "PLCAddress.h"
#include "CatalogText.h"

#include "Markup.h"

#include <gtest/gtest.h>

namespace {

// Serial A: a station per address; Panel Slave: the panel's own station instead; Bare: nothing
// of its own, so only the local types.
const char kCatalog[] =
    "<PLC ID=\"0\" Name=\"Local\">"
    "<Wires><Wire TypeName=\"LB\" TypeValue=\"0x70\" OptMode=\"OM_READWRITE\"/></Wires>"
    "<Regs><Reg TypeName=\"LW\" TypeValue=\"0x70\" BitWidth=\"2\" OptMode=\"OM_READWRITE\">"
    "<RegNum RegNumList=\"1\"/></Reg></Regs></PLC>"

    "<PLC ID=\"1\" Name=\"Serial A\"><Station DefaultValue=\"5\"/><Wires>"
    "<Wire TypeName=\"X\" TypeValue=\"1\" OptMode=\"OM_READ\"><Addr MinValue=\"8\"/>"
    "<SubAddr Visible=\"true\" MinValue=\"3\"/><ShiftAddr Visible=\"true\" MinValue=\"2\"/></Wire>"
    "<Wire TypeName=\"Y\" TypeValue=\"2\" OptMode=\"OM_READWRITE\"><ShiftAddr MinValue=\"4\"/>"
    "</Wire></Wires><Regs>"
    "<Reg TypeName=\"D\" TypeValue=\"0x20\" BitWidth=\"2\" OptMode=\"OM_READ\">"
    "<Addr MinValue=\"100\"/><SubAddr MinValue=\"7\"/><RegNum RegNumList=\"2|1\"/></Reg>"
    "<Reg TypeName=\"W\" TypeValue=\"0x21\" BitWidth=\"2\" OptMode=\"OM_WRITE\"><RegNum/></Reg>"
    "<Reg TypeName=\"Q\" TypeValue=\"0x22\" BitWidth=\"2\" OptMode=\"OM_READWRITE\">"
    "<RegNum RegNumList=\"4\"/></Reg></Regs>"
    "<AlarmList><Wire TypeName=\"A\" TypeValue=\"9\" OptMode=\"OM_WRITE\">"
    "<ShiftAddr Visible=\"true\" MinValue=\"1\"/></Wire></AlarmList></PLC>"

    "<PLC ID=\"2\" Name=\"Panel Slave\"><Station Visible=\"false\" DefaultValue=\"9\"/>"
    "<Display Visible=\"true\" DefaultValue=\"3\"/>"
    "<Wires><Wire TypeName=\"C\" OptMode=\"OM_READWRITE\"/></Wires>"
    "<Regs><Reg TypeName=\"H\" OptMode=\"OM_READWRITE\"/></Regs>"
    "<AlarmList><Wire TypeName=\"A1\"/><Wire TypeName=\"A2\"/><Wire TypeName=\"A3\"/></AlarmList>"
    "</PLC>"

    "<PLC ID=\"3\" Name=\"Bare\"><Station DefaultValue=\"6\"/></PLC>";

class PLCAddressTest : public ::testing::Test {
protected:
    void SetUp() override { ASSERT_TRUE(ReadCatalogText(m_catalog, CatalogWith(kCatalog))); }

    const CPLCEntity& Plc(int id) const {
        return *m_catalog.GetPLC(static_cast<std::uint16_t>(id));
    }

    // Reads the first child of the document's root, as an owner hands its address element on.
    static bool ReadDocument(CPLCAddress& address, const QString& document, const CPLCEntity& plc) {
        CMarkup xml;
        EXPECT_TRUE(xml.SetDocumentText(document));
        EXPECT_TRUE(xml.NextElement(u"Part"));
        EXPECT_TRUE(xml.NextChild());
        return address.LoadXml(xml, plc);
    }

    static bool Read(CPLCAddress& address, const QString& element, const CPLCEntity& plc) {
        return ReadDocument(address, "<Part>" + element + "</Part>", plc);
    }

    static QString Write(const CPLCAddress& address, QStringView tag) {
        CMarkup xml;
        EXPECT_TRUE(xml.SetDocumentText("<Part/>"));
        EXPECT_TRUE(xml.NextElement(u"Part"));
        EXPECT_TRUE(xml.AppendChild(tag));
        EXPECT_TRUE(address.SaveXml(xml));
        return xml.GetDocumentText();
    }

    CPLCFactory m_catalog;
};

} // namespace

TEST_F(PLCAddressTest, DefaultConstructed) {
    const CPLCAddress address;
    EXPECT_EQ(address.GetKind(), PLC_BIT);
    EXPECT_EQ(address.GetMode(), PLC_READWRITE);
    EXPECT_EQ(address.GetStation(), 0);
    EXPECT_EQ(address.GetAddress(), 0);
    EXPECT_EQ(address.GetRegNum(), 1);
    EXPECT_EQ(address.GetIndex(), 0);
    EXPECT_EQ(address.GetRegType(), nullptr);
    EXPECT_EQ(address.GetTypeName(), "");
}

TEST_F(PLCAddressTest, CreationTakesTheFirstTypeOfItsList) {
    const struct {
        int plc;
        int kind;
        int mode;
        const char* type;
        int station, address, subAddr, shift, regNum;
    } cases[] = {
        // Visible sub-address and shift blocks give their minimum.
        {1, PLC_BIT, PLC_ANY, "X", 5, 8, 3, 2, 1},
        // Invisible blocks give 0 whatever their minimum.
        {1, PLC_BIT, PLC_READWRITE, "Y", 5, 0, 0, 0, 1},
        {1, PLC_WORD, PLC_READ, "D", 5, 100, 0, 0, 2},
        // RegNum without values: one register.
        {1, PLC_WORD, PLC_WRITE, "W", 5, 0, 0, 0, 1},
        {1, PLC_ALARM, PLC_READ, "A", 5, 0, 0, 1, 1},
        // The panel's own station replaces the Station default.
        {2, PLC_WORD, PLC_ANY, "H", 0, 0, 0, 0, 1},
        {3, PLC_WORD, PLC_READ, "LW", 6, 0, 0, 0, 1},
        // No type to take: all numbers 0, one register, not even the Station default.
        {3, PLC_ALARM, PLC_ANY, "", 0, 0, 0, 0, 1},
    };
    for (const auto& c : cases) {
        const CPLCAddress address(c.kind, c.mode, Plc(c.plc));
        const std::string what =
            std::to_string(c.plc) + "/" + std::to_string(c.kind) + "/" + std::to_string(c.mode);
        EXPECT_EQ(address.GetKind(), c.kind) << what;
        EXPECT_EQ(address.GetMode(), c.mode) << what;
        EXPECT_EQ(address.GetTypeName(), c.type) << what;
        EXPECT_EQ(address.GetStation(), c.station) << what;
        EXPECT_EQ(address.GetAddress(), c.address) << what;
        EXPECT_EQ(address.GetSubAddr(), c.subAddr) << what;
        EXPECT_EQ(address.GetShift(), c.shift) << what;
        EXPECT_EQ(address.GetRegNum(), c.regNum) << what;
        EXPECT_EQ(address.GetIndex(), 0) << what;
    }
}

TEST_F(PLCAddressTest, WritingAndReadingBack) {
    CPLCAddress word(PLC_WORD, PLC_ANY, Plc(1));
    word.SetRegType(Plc(1).GetTypeList(PLC_WORD, PLC_ANY)[2], 2);
    word.SetStation(17);
    word.SetAddress(40001);
    word.SetSubAddr(4);
    word.SetRegNum(4);
    word.SetShift(9); // not written for a word type
    const QString text = Write(word, u"Reg");
    EXPECT_TRUE(text.contains("<Reg Station=\"17\" EnumReg=\"1\" EnumMode=\"3\" RegType=\"Q\" "
                              "Address=\"40001\" SubAddr=\"4\" Index=\"2\" RegNum=\"4\"/>"))
        << text.toStdString();

    CPLCAddress read(PLC_WORD, PLC_ANY, Plc(1));
    ASSERT_TRUE(ReadDocument(read, text, Plc(1)));
    EXPECT_EQ(read.GetRegType(), word.GetRegType());
    EXPECT_EQ(read.GetStation(), 17);
    EXPECT_EQ(read.GetAddress(), 40001);
    EXPECT_EQ(read.GetSubAddr(), 4);
    EXPECT_EQ(read.GetRegNum(), 4);
    EXPECT_EQ(read.GetShift(), 0);
    EXPECT_EQ(read.GetIndex(), 2);

    CPLCAddress bit(PLC_BIT, PLC_READ, Plc(1));
    bit.SetShift(12);
    EXPECT_TRUE(Write(bit, u"Wire")
                    .contains("<Wire Station=\"5\" EnumReg=\"0\" EnumMode=\"0\" RegType=\"X\" "
                              "Address=\"8\" SubAddr=\"3\" Index=\"0\" ShiftAddr=\"12\"/>"));
    // Without a type there is no name to write, and the shift stands in the last place.
    const CPLCAddress none(PLC_ALARM, PLC_ANY, Plc(3));
    EXPECT_TRUE(Write(none, u"Alarm")
                    .contains("<Alarm Station=\"0\" EnumReg=\"2\" EnumMode=\"3\" RegType=\"\" "
                              "Address=\"0\" SubAddr=\"0\" Index=\"0\" ShiftAddr=\"0\"/>"));

    CMarkup noChild;
    EXPECT_FALSE(word.SaveXml(noChild));
    EXPECT_FALSE(read.LoadXml(noChild, Plc(1)));
}

TEST_F(PLCAddressTest, ReadingDecidesTheKindByTagAndTheTypeByName) {
    const struct {
        const char* element;
        int createdKind;
        int kind;
        const char* type;
        int regNum;
        int shift;
    } cases[] = {
        // The tag wins over EnumReg.
        {"<Reg EnumReg=\"0\" EnumMode=\"3\" RegType=\"Q\" RegNum=\"4\" ShiftAddr=\"3\"/>", PLC_WORD,
         PLC_WORD, "Q", 4, 0},
        // A bit type's name does not bind a word address.
        {"<Reg EnumReg=\"0\" EnumMode=\"3\" RegType=\"Y\"/>", PLC_WORD, PLC_WORD, "D", 2, 0},
        {"<Wire EnumReg=\"1\" EnumMode=\"3\" RegType=\"LB\" RegNum=\"2\" ShiftAddr=\"7\"/>",
         PLC_BIT, PLC_BIT, "LB", 1, 7},
        {"<Alarm EnumReg=\"1\" EnumMode=\"3\" RegType=\"A\" ShiftAddr=\"6\"/>", PLC_ALARM,
         PLC_ALARM, "A", 1, 6},
        // Names are compared exactly; a name the PLC does not offer keeps the created type.
        {"<Reg EnumMode=\"3\" RegType=\"q\"/>", PLC_WORD, PLC_WORD, "D", 2, 0},
        {"<Reg EnumMode=\"3\" RegType=\"NOPE\"/>", PLC_WORD, PLC_WORD, "D", 2, 0},
        // Read types only: Q (read-write) is offered, W (write) is not.
        {"<Reg EnumMode=\"0\" RegType=\"W\"/>", PLC_WORD, PLC_WORD, "D", 2, 0},
        {"<Reg EnumMode=\"0\" RegType=\"Q\"/>", PLC_WORD, PLC_WORD, "Q", 2, 0},
    };
    for (const auto& c : cases) {
        CPLCAddress address(c.createdKind, PLC_ANY, Plc(1));
        ASSERT_TRUE(Read(address, c.element, Plc(1))) << c.element;
        EXPECT_EQ(address.GetKind(), c.kind) << c.element;
        EXPECT_EQ(address.GetTypeName(), c.type) << c.element;
        EXPECT_EQ(address.GetRegNum(), c.regNum) << c.element;
        EXPECT_EQ(address.GetShift(), c.shift) << c.element;
    }
}

TEST_F(PLCAddressTest, AnUnknownTypeKeepsTheStoredNumbers) {
    CPLCAddress address(PLC_WORD, PLC_ANY, Plc(1));
    ASSERT_TRUE(Read(address,
                     "<Reg Station=\"7\" EnumReg=\"1\" EnumMode=\"3\" RegType=\"DM\" "
                     "Address=\"1234\" SubAddr=\"3\" Index=\"5\" RegNum=\"1\"/>",
                     Plc(1)));
    EXPECT_EQ(address.GetTypeName(), "D");
    EXPECT_EQ(address.GetStation(), 7);
    EXPECT_EQ(address.GetAddress(), 1234);
    EXPECT_EQ(address.GetSubAddr(), 3);
    EXPECT_EQ(address.GetIndex(), 5);
    EXPECT_EQ(address.GetRegNum(), 1);

    // Missing attributes keep what the address had; numbers keep the low bits of their field.
    ASSERT_TRUE(Read(address, "<Reg Address=\"65537\" Station=\"x\"/>", Plc(1)));
    EXPECT_EQ(address.GetAddress(), 1);
    EXPECT_EQ(address.GetStation(), 0);
    EXPECT_EQ(address.GetSubAddr(), 3);
    EXPECT_EQ(address.GetIndex(), 5);
}

// The project check names the type a file or a PLC change lost; the file keeps the type in force.
TEST_F(PLCAddressTest, AReplacedTypeIsRemembered) {
    CPLCAddress address(PLC_WORD, PLC_ANY, Plc(1));
    ASSERT_TRUE(Read(address, "<Reg EnumMode=\"3\" RegType=\"DM\"/>", Plc(1)));
    EXPECT_EQ(address.GetTypeName(), "D");
    EXPECT_EQ(address.GetLostTypeName(), "DM");
    address.ReBind(Plc(2)); // D is gone too: the name first lost stays
    EXPECT_EQ(address.GetTypeName(), "H");
    EXPECT_EQ(address.GetLostTypeName(), "DM");
    ASSERT_TRUE(Read(address, "<Reg EnumMode=\"3\" RegType=\"Q\"/>", Plc(1)));
    EXPECT_EQ(address.GetLostTypeName(), "");

    CPLCAddress rebound(PLC_WORD, PLC_ANY, Plc(1));
    rebound.ReBind(Plc(1));
    EXPECT_EQ(rebound.GetLostTypeName(), "") << "a type the PLC still offers is not lost";
    rebound.ReBind(Plc(2));
    EXPECT_EQ(rebound.GetLostTypeName(), "D");
    rebound.SetRegType(rebound.GetRegType(), 0); // chosen by the user
    EXPECT_EQ(rebound.GetLostTypeName(), "");
}

TEST_F(PLCAddressTest, CopyKeepsTheType) {
    CPLCAddress address(PLC_BIT, PLC_ANY, Plc(1));
    address.SetAddress(77);
    CPLCAddress copy;
    copy = address;
    CPLCAddress constructed(address);
    for (const CPLCAddress* other : {&copy, &constructed}) {
        EXPECT_EQ(other->GetRegType(), address.GetRegType());
        EXPECT_EQ(other->GetAddress(), 77);
        EXPECT_EQ(other->GetStation(), 5);
        EXPECT_EQ(other->GetShift(), 2);
    }
}

TEST_F(PLCAddressTest, ReBinding) {
    const struct {
        const char* what;
        int kind;
        int mode;
        int index;
        int plc;
        const char* type;
        int storedIndex;
        int station;
    } cases[] = {
        {"index beyond the list", PLC_ALARM, PLC_ANY, 7, 2, "A3", 2, 0},
        {"negative index", PLC_ALARM, PLC_ANY, -3, 2, "A1", 0, 0},
        {"index within the list", PLC_ALARM, PLC_ANY, 1, 2, "A2", 1, 0},
        {"empty list", PLC_ALARM, PLC_ANY, 4, 3, "", 0, 17},
        {"no display station", PLC_BIT, PLC_ANY, 1, 3, "LB", 0, 17},
    };
    for (const auto& c : cases) {
        CPLCAddress address(c.kind, c.mode, Plc(1));
        address.SetRegType(address.GetRegType(), c.index);
        address.SetStation(17);
        address.SetAddress(300);
        address.SetSubAddr(4);
        address.SetShift(5);
        address.ReBind(Plc(c.plc));
        EXPECT_EQ(address.GetTypeName(), c.type) << c.what;
        EXPECT_EQ(address.GetIndex(), c.storedIndex) << c.what;
        EXPECT_EQ(address.GetStation(), c.station) << c.what;
        EXPECT_EQ(address.GetAddress(), 300) << c.what;
        EXPECT_EQ(address.GetSubAddr(), 4) << c.what;
        EXPECT_EQ(address.GetShift(), 5) << c.what;
    }

    // A local type is offered by every PLC, so the address stays bound to it and its index.
    CPLCAddress local(PLC_WORD, PLC_ANY, Plc(1));
    const auto words = Plc(1).GetTypeList(PLC_WORD, PLC_ANY);
    local.SetRegType(words.back(), 3);
    local.SetRegNum(2);
    local.ReBind(Plc(2));
    EXPECT_EQ(local.GetRegType(), words.back());
    EXPECT_EQ(local.GetIndex(), 3);
    EXPECT_EQ(local.GetRegNum(), 2);
}

TEST_F(PLCAddressTest, EncodedForm) {
    CPLCAddress wide(PLC_WORD, PLC_ANY, Plc(1));
    wide.SetRegType(Plc(1).GetTypeList(PLC_WORD, PLC_ANY)[2], 2); // Q, BitWidth 2
    wide.SetRegNum(4);
    wide.SetStation(3);
    wide.SetAddress(0x1234);
    wide.SetSubAddr(6);
    const PLCAddressCode code = wide.Encode();
    EXPECT_EQ(code.station, 3);
    EXPECT_EQ(code.typeCode, 0x22);
    EXPECT_EQ(code.address, (std::array<std::uint8_t, 2>{0x12, 0x34}));
    EXPECT_EQ(code.subAddr, 6);
    EXPECT_EQ(code.unitCount, 8);
    EXPECT_FALSE(code.local);

    const PLCAddressCode bit = CPLCAddress(PLC_BIT, PLC_ANY, Plc(1)).Encode();
    EXPECT_EQ(bit.typeCode, 1);
    EXPECT_EQ(bit.unitCount, 1);
    EXPECT_EQ(bit.shift, 2);

    const PLCAddressCode local = CPLCAddress(PLC_WORD, PLC_READ, Plc(3)).Encode();
    EXPECT_EQ(local.typeCode, 0x70);
    EXPECT_EQ(local.unitCount, 2);
    EXPECT_TRUE(local.local);

    const PLCAddressCode none = CPLCAddress(PLC_ALARM, PLC_ANY, Plc(3)).Encode();
    EXPECT_EQ(none.typeCode, 0);
    EXPECT_EQ(none.unitCount, 0);
    EXPECT_FALSE(none.local);
}
