// PLC addresses against the project's PLC: their types, their bounds, and keys and elements
// that use one register in two different ways.

#include "CheckContext.h"
#include "PanelText.h"

#include "GEFuncKey.h"
#include "KoravelProject.h"

#include <map>
#include <tuple>

namespace {

// How an element or key uses its address.
enum class Use { kRead, kWriteBit, kWriteWord, kOther };

struct AddressUse {
    FindingPlace place;
    const CPLCAddress& address;
    Use use;
    QString label;            // names the address when its owner has several uses
    std::vector<int> block{}; // further addresses of a block that starts at the address
};

QString NumberText(int value, int dataFormat) {
    if (dataFormat == PLC_OCT)
        return QString::number(value, 8);
    if (dataFormat == PLC_HEX)
        return QString::number(value, 16).toUpper() + u'H';
    return QString::number(value);
}

QString BlockRange(const PLCAddrBlock& block) {
    return QStringLiteral("%1～%2").arg(NumberText(block.minValue, block.dataFormat),
                                        NumberText(block.maxValue, block.dataFormat));
}

QString AddressText(const CPLCRegType& type, int address) {
    return type.GetTypeName() + NumberText(address, type.GetAddr().dataFormat);
}

QString PlcName(const CKoravelProject& project) {
    return project.m_pCurrentPLC->GetName();
}

std::vector<AddressUse> ElementUses(const CHMIFrame& frame, int position) {
    const CGraphBase& part = *frame.m_Parts[static_cast<std::size_t>(position)];
    const FindingPlace place = FindingPlace::OfElement(frame, position);
    if (part.m_nTypeCode == kTypeFunctionKey) {
        const auto& key = static_cast<const CGEFuncKey&>(part);
        switch (key.m_nType) {
        case kActionSetWire:
            return {{place, key.m_SubWire.m_Wire, Use::kWriteBit, {}}};
        case kActionSetRegister:
            return {{place, key.m_SubReg.m_Reg, Use::kWriteWord, {}}};
        case kActionMultiSet:
            return {{place, key.m_SubMulStatus.m_Reg, Use::kWriteWord, {}}};
        case kActionRecipe:
            return {{place, key.m_SubRecipe.m_Reg, Use::kOther, {}}};
        default:
            return {};
        }
    }
    const CPLCAddress* address = part.MainAddress();
    if (!address)
        return {};
    return {{place, *address, address->GetKind() == PLC_WORD ? Use::kRead : Use::kOther, {}}};
}

// The control registers and the alarm bits are blocks: every address of the block must lie
// within the type.
std::vector<AddressUse> ProjectUses(const CKoravelProject& project) {
    std::vector<AddressUse> uses;
    if (const CKoravelSetting* setting = project.m_pSetting.get()) {
        const QList<ControlRegister> registers = setting->ControlRegisters();
        if (!registers.isEmpty()) {
            AddressUse use{FindingPlace::Of(CheckPart::kSettings), setting->m_Reg, Use::kOther,
                           QStringLiteral("控制寄存器")};
            for (const ControlRegister& reg : registers)
                use.block.push_back(reg.address);
            uses.push_back(std::move(use));
        }
    }
    if (const CAlarmList* alarms = project.m_pAlarmList.get()) {
        int count = 0;
        for (const CTextItem& item : *alarms->m_pTexts)
            count += item.IsInUse() ? 1 : 0;
        if (count > 0) {
            AddressUse use{FindingPlace::Of(CheckPart::kAlarmList), alarms->m_Alarm, Use::kOther,
                           QStringLiteral("报警位")};
            for (int n = 0; n < count; ++n)
                use.block.push_back(alarms->m_Alarm.GetAddress() + n);
            uses.push_back(std::move(use));
        }
    }
    for (const auto& frame : project.m_Frames) {
        for (int i = 0; i < static_cast<int>(frame->m_Parts.size()); ++i) {
            for (AddressUse& use : ElementUses(*frame, i))
                uses.push_back(std::move(use));
        }
    }
    return uses;
}

bool InBlock(int value, const PLCAddrBlock& block) {
    return value >= block.minValue && value <= block.maxValue;
}

void Error(const CheckContext& context, const AddressUse& use, const QString& message) {
    context.Error(use.place, Labelled(use.label, message));
}

// The type itself: present, the one the file named, and one the PLC offers here.
bool CheckType(const CheckContext& context, const AddressUse& use) {
    const CPLCAddress& address = use.address;
    const CPLCRegType* type = address.GetRegType();
    const QString plc = PlcName(context.project);
    const QString& lost = address.GetLostTypeName();
    if (!type && lost.isEmpty()) {
        Error(context, use, QStringLiteral("地址没有类型，PLC“%1”不提供这类地址").arg(plc));
        return false;
    }
    if (!type) {
        Error(context, use, QStringLiteral("地址类型“%1”在 PLC“%2”中不存在").arg(lost, plc));
        return false;
    }
    if (!lost.isEmpty())
        Error(context, use,
              QStringLiteral("地址类型“%1”在 PLC“%2”中不存在，已改用“%3”")
                  .arg(lost, plc, type->GetTypeName()));
    const std::vector<const CPLCRegType*> types =
        context.project.m_pCurrentPLC->GetTypeList(address.GetKind(), address.GetMode());
    if (std::find(types.begin(), types.end(), type) == types.end()) {
        Error(
            context, use,
            QStringLiteral("地址类型“%1”不是 PLC“%2”在此可用的类型").arg(type->GetTypeName(), plc));
        return false;
    }
    return true;
}

// The address, and every further address of its block, within the type's Addr bounds.
void CheckAddress(const CheckContext& context, const AddressUse& use) {
    const CPLCRegType& type = *use.address.GetRegType();
    const PLCAddrBlock& addr = type.GetAddr();
    if (!InBlock(use.address.GetAddress(), addr)) {
        Error(context, use,
              QStringLiteral("地址 %1 超出 %2 的范围 %3")
                  .arg(AddressText(type, use.address.GetAddress()), type.GetTypeName(),
                       BlockRange(addr)));
        return;
    }
    for (std::size_t n = 0; n < use.block.size(); ++n) {
        if (!InBlock(use.block[n], addr)) {
            Error(context, use,
                  QStringLiteral("第 %1 个地址 %2 超出 %3 的范围 %4")
                      .arg(n + 1)
                      .arg(AddressText(type, use.block[n]), type.GetTypeName(), BlockRange(addr)));
            return;
        }
    }
}

// Sub-address, bit, register count and station within what the type and the PLC allow.
void CheckFields(const CheckContext& context, const AddressUse& use) {
    const CPLCAddress& address = use.address;
    const CPLCRegType& type = *address.GetRegType();
    if (type.GetSubAddr().visible && !InBlock(address.GetSubAddr(), type.GetSubAddr()))
        Error(context, use,
              QStringLiteral("子地址 %1 超出范围 %2")
                  .arg(address.GetSubAddr())
                  .arg(BlockRange(type.GetSubAddr())));
    const PLCAddrBlock& shift = type.GetShiftAddr();
    if (address.GetKind() != PLC_WORD && shift.visible && !InBlock(address.GetShift(), shift))
        Error(context, use,
              QStringLiteral("位号 %1 超出范围 %2")
                  .arg(NumberText(address.GetShift(), shift.dataFormat), BlockRange(shift)));
    const std::vector<std::uint8_t>& counts = type.GetRegNumList();
    if (address.GetKind() == PLC_WORD && type.HasRegNum() && !counts.empty() &&
        std::find(counts.begin(), counts.end(), address.GetRegNum()) == counts.end()) {
        QStringList allowed;
        for (const std::uint8_t count : counts)
            allowed.append(QString::number(count));
        Error(context, use,
              QStringLiteral("寄存器个数 %1 不是 %2 允许的 %3")
                  .arg(address.GetRegNum())
                  .arg(type.GetTypeName(), allowed.join(u'|')));
    }
    const CPLCEntity& plc = *context.project.m_pCurrentPLC;
    const PLCValueBlock& station = plc.GetStation();
    if (station.visible && !plc.GetDisplay().visible &&
        (address.GetStation() < station.minValue || address.GetStation() > station.maxValue))
        Error(context, use,
              QStringLiteral("站号 %1 超出范围 %2～%3")
                  .arg(address.GetStation())
                  .arg(station.minValue)
                  .arg(station.maxValue));
}

// One PLC register or bit as the panel names it to the PLC.
using Cell = std::tuple<int, int, int>;

Cell CellOf(const CPLCAddress& address) {
    const PLCAddressCode code = address.Encode();
    return {code.station, code.typeCode, address.GetAddress()};
}

QString PlaceText(const FindingPlace& place) {
    return QStringLiteral("画面 %1 控件 %2").arg(place.frameId).arg(place.element);
}

int Bits(const CPLCAddress& address) {
    return UnitCount(address) * 8;
}

// Two keys writing one register in different widths, and elements showing a register that a
// key writes bits into (the same type code names the same memory).
void CheckSharedCells(const CheckContext& context, const std::vector<AddressUse>& uses) {
    std::map<Cell, const AddressUse*> wordWrites;
    std::map<Cell, const AddressUse*> bitWrites;
    for (const AddressUse& use : uses) {
        if (!use.address.GetRegType())
            continue;
        if (use.use == Use::kWriteWord)
            wordWrites.emplace(CellOf(use.address), &use);
        else if (use.use == Use::kWriteBit)
            bitWrites.emplace(CellOf(use.address), &use);
    }
    for (const AddressUse& use : uses) {
        if (!use.address.GetRegType())
            continue;
        const QString cell = AddressText(*use.address.GetRegType(), use.address.GetAddress());
        if (use.use == Use::kWriteWord) {
            const AddressUse& first = *wordWrites.at(CellOf(use.address));
            if (&first != &use && Bits(first.address) != Bits(use.address))
                context.Warning(use.place,
                                QStringLiteral("与%1 写同一寄存器 %2，宽度不同（%3 位/%4 位）")
                                    .arg(PlaceText(first.place), cell)
                                    .arg(Bits(first.address))
                                    .arg(Bits(use.address)));
        } else if (use.use == Use::kRead) {
            const auto writer = bitWrites.find(CellOf(use.address));
            if (writer != bitWrites.end())
                context.Warning(use.place, QStringLiteral("显示的 %1 被%2 按位写入")
                                               .arg(cell, PlaceText(writer->second->place)));
        }
    }
}

} // namespace

void CheckAddresses(const CheckContext& context) {
    if (!context.project.m_pCurrentPLC) {
        context.Error(FindingPlace::Of(CheckPart::kSettings),
                      QStringLiteral("工程没有 PLC，地址都没有类型"));
        return;
    }
    const std::vector<AddressUse> uses = ProjectUses(context.project);
    for (const AddressUse& use : uses) {
        if (CheckType(context, use)) {
            CheckAddress(context, use);
            CheckFields(context, use);
        }
    }
    CheckSharedCells(context, uses);
}
