#include "CompilerTestSupport.h"

#include "CompileHelper.h"
#include "ImageLayout.h"
#include "Scramble.h"

#include <gtest/gtest.h>

namespace {

const char* const kUnitCatalog = R"(<?xml version="1.0" encoding="UTF-8"?>
<Drivers SoftVersion="2.5">
<PLCS>
<PLC ID="1" Name="Units" PTCFile="units.bin" Verison="7">
<Wires>
<Wire TypeName="X" TypeValue="1" BitWidth="1" AddrInc="1" OptMode="OM_READWRITE"/>
</Wires>
<Regs>
<Reg TypeName="W" TypeValue="4" BitWidth="16" AddrInc="1" OptMode="OM_READWRITE"><RegNum RegNumList="1,2,15,16"/></Reg>
<Reg TypeName="D" TypeValue="5" BitWidth="32" AddrInc="2" OptMode="OM_READWRITE"><RegNum RegNumList="1"/></Reg>
</Regs>
<AlarmList>
<Wire TypeName="A" TypeValue="6" BitWidth="1" AddrInc="1" OptMode="OM_READ"/>
</AlarmList>
</PLC>
<PLC ID="2" Name="NoDriver" PTCFile="absent.bin" Verison="1">
</PLC>
<PLC ID="3" Name="Variants" PTCFile="3-QFLX.bin" Verison="1">
</PLC>
</PLCS>
</Drivers>
)";

const CPLCFactory& UnitCatalog() {
    static CPLCFactory catalog;
    static const bool loaded = [] {
        QByteArray bytes(kUnitCatalog);
        XorScramble(bytes);
        return catalog.ReadCatalog(bytes);
    }();
    EXPECT_TRUE(loaded);
    return catalog;
}

} // namespace

const CPLCEntity* UnitPLC(std::uint16_t id) {
    return UnitCatalog().GetPLC(id);
}

const CPLCRegType* UnitType(int kind, const QString& name) {
    for (const CPLCRegType* type : UnitPLC()->GetTypeList(kind, PLC_ANY)) {
        if (type->GetTypeName() == name)
            return type;
    }
    ADD_FAILURE() << "no type " << name.toStdString();
    return nullptr;
}

std::unique_ptr<CKoravelProject> NewProject(int frames) {
    auto project = std::make_unique<CKoravelProject>();
    project->m_pCurrentPLC = UnitPLC();
    for (int i = 1; i <= frames; ++i) {
        auto frame = std::make_unique<CHMIFrame>();
        frame->m_nID = static_cast<std::uint16_t>(i);
        frame->m_strName = QStringLiteral("F%1").arg(i);
        EXPECT_TRUE(project->InsertFrame(std::move(frame)));
    }
    return project;
}

QByteArray CompileImage(const CKoravelProject& project) {
    QByteArray image;
    QString error;
    CCompileHelper compiler;
    EXPECT_TRUE(compiler.Compile(project, image, error)) << error.toStdString();
    return image;
}

std::uint8_t U8(const QByteArray& image, std::uint32_t address) {
    const qsizetype at = address - kImageBase;
    EXPECT_LT(at, image.size());
    return at < image.size() ? static_cast<std::uint8_t>(image[at]) : 0;
}

std::uint32_t BE16(const QByteArray& image, std::uint32_t address) {
    return std::uint32_t{U8(image, address)} << 8 | U8(image, address + 1);
}

std::uint32_t BE32(const QByteArray& image, std::uint32_t address) {
    return BE16(image, address) << 16 | BE16(image, address + 2);
}

std::uint32_t LE16(const QByteArray& bytes, qsizetype offset) {
    return static_cast<std::uint8_t>(bytes[offset]) |
           std::uint32_t{static_cast<std::uint8_t>(bytes[offset + 1])} << 8;
}

std::uint32_t LE32(const QByteArray& bytes, qsizetype offset) {
    return LE16(bytes, offset) | LE16(bytes, offset + 2) << 16;
}

QByteArray At(const QByteArray& image, std::uint32_t address, int length) {
    return image.mid(address - kImageBase, length);
}

std::uint32_t RecordAddress(const QByteArray& image, int n) {
    return BE32(image, LE32(image, 56) + 5 * static_cast<std::uint32_t>(n) + 1);
}

int RecordLength(const QByteArray& image, int n) {
    const std::uint32_t index = LE32(image, 56);
    const std::uint32_t records = LE32(image, 60);
    const std::uint32_t next = index + 5 * static_cast<std::uint32_t>(n + 1) < records
                                   ? RecordAddress(image, n + 1)
                                   : LE32(image, 64);
    return static_cast<int>(next - RecordAddress(image, n));
}
