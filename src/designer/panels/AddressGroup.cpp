#include "AddressGroup.h"

#include "PLCAddress.h"
#include "PLCEntity.h"

#include <QComboBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QLabel>

#include <algorithm>

namespace {

// The PLC description's default field: no type or an unseen block.
const PLCAddrBlock kAnyAddress{true, PLC_DEC, 0, 0xFFFF, {}, 1};

template <typename T> T Clamped(std::int64_t value, const PLCAddrBlock& block) {
    return static_cast<T>(std::clamp<std::int64_t>(value, block.minValue, block.maxValue));
}

void BindField(const NumberField& field, const PLCAddrBlock& block, std::int64_t value) {
    field.spin->Bind(block.minValue, block.maxValue, std::max<int>(block.incDelta, 1), value,
                     EditFormat(block.dataFormat));
}

} // namespace

void ApplyTypeBounds(CPLCAddress& address) {
    const CPLCRegType* type = address.GetRegType();
    if (!type)
        return;
    address.SetAddress(Clamped<std::uint16_t>(address.GetAddress(), type->GetAddr()));
    const PLCAddrBlock& sub = type->GetSubAddr();
    address.SetSubAddr(sub.visible ? Clamped<std::uint8_t>(address.GetSubAddr(), sub) : 0);
    if (address.GetKind() == PLC_WORD) {
        const std::vector<std::uint8_t>& counts = type->GetRegNumList();
        if (!type->HasRegNum() || counts.empty())
            address.SetRegNum(1);
        else if (std::find(counts.begin(), counts.end(), address.GetRegNum()) == counts.end())
            address.SetRegNum(counts.front());
    } else {
        const PLCAddrBlock& shift = type->GetShiftAddr();
        address.SetShift(shift.visible ? Clamped<std::uint8_t>(address.GetShift(), shift) : 0);
    }
}

CAddressGroup::CAddressGroup(const QString& caption, const QString& typeLabel, QWidget* parent)
    : QGroupBox(caption, parent), m_pForm(NewFormLayout(this)),
      m_station(NewNumberField(QStringLiteral("station"))), m_pType(new QComboBox),
      m_pAddressLabel(NewLabel(QStringLiteral("地址:"), QStringLiteral("addressLabel"))),
      m_address(NewNumberField(QStringLiteral("address"))),
      m_subAddr(NewNumberField(QStringLiteral("subAddress"))),
      m_shift(NewNumberField(QStringLiteral("shift"))), m_pRegNum(new QComboBox),
      m_pAddressRow(new QWidget) {
    m_pType->setObjectName(QStringLiteral("addressType"));
    m_pRegNum->setObjectName(QStringLiteral("registerCount"));
    auto* addressRow = new QHBoxLayout(m_pAddressRow);
    addressRow->setContentsMargins(0, 0, 0, 0);
    addressRow->addWidget(m_address.edit, 3);
    addressRow->addWidget(m_subAddr.edit, 2);

    m_pForm->addRow(QStringLiteral("站号:"), m_station.edit);
    m_pForm->addRow(typeLabel, m_pType);
    m_pForm->addRow(m_pAddressLabel, m_pAddressRow);
    m_pForm->addRow(QStringLiteral("偏移:"), m_shift.edit);
    m_pForm->addRow(QStringLiteral("寄存器个数:"), m_pRegNum);

    connect(m_pType, &QComboBox::activated, this, &CAddressGroup::OnTypeChosen);
    connect(m_pRegNum, &QComboBox::activated, this, [this](int index) {
        const auto count = static_cast<std::uint8_t>(m_pRegNum->itemData(index).toInt());
        emit Edited(QStringLiteral("register-count"),
                    [count](CPLCAddress& address) { address.SetRegNum(count); });
    });
    OnNumberEdited(m_station.edit, [this](std::int64_t value, bool) {
        if (!m_pPlc)
            return;
        const PLCValueBlock& block = m_pPlc->GetStation();
        OnNumber(m_station.edit, std::clamp<std::int64_t>(value, block.minValue, block.maxValue),
                 QStringLiteral("station"), [](CPLCAddress& address, std::int64_t station) {
                     address.SetStation(static_cast<std::uint8_t>(station));
                 });
    });
    OnNumberEdited(m_address.edit, [this](std::int64_t value, bool) {
        const PLCAddrBlock& block = Type() ? Type()->GetAddr() : kAnyAddress;
        OnNumber(m_address.edit, Clamped<std::uint16_t>(value, block), QStringLiteral("address"),
                 [](CPLCAddress& address, std::int64_t number) {
                     address.SetAddress(static_cast<std::uint16_t>(number));
                 });
    });
    OnNumberEdited(m_subAddr.edit, [this](std::int64_t value, bool) {
        if (!Type())
            return;
        OnNumber(m_subAddr.edit, Clamped<std::uint8_t>(value, Type()->GetSubAddr()),
                 QStringLiteral("sub-address"), [](CPLCAddress& address, std::int64_t number) {
                     address.SetSubAddr(static_cast<std::uint8_t>(number));
                 });
    });
    OnNumberEdited(m_shift.edit, [this](std::int64_t value, bool) {
        if (!Type())
            return;
        OnNumber(m_shift.edit, Clamped<std::uint8_t>(value, Type()->GetShiftAddr()),
                 QStringLiteral("shift"), [](CPLCAddress& address, std::int64_t number) {
                     address.SetShift(static_cast<std::uint8_t>(number));
                 });
    });
}

const CPLCRegType* CAddressGroup::Type() const {
    return m_nTypeIndex >= 0 && m_nTypeIndex < static_cast<int>(m_types.size())
               ? m_types[static_cast<std::size_t>(m_nTypeIndex)]
               : nullptr;
}

void CAddressGroup::Show(const CPLCAddress& address, const CPLCEntity& plc) {
    m_pPlc = &plc;
    m_types = plc.GetTypeList(address.GetKind(), address.GetMode());

    const PLCValueBlock& station = plc.GetStation();
    m_station.spin->Bind(station.minValue, station.maxValue, 1, address.GetStation(),
                         EditFormat(station.dataFormat));

    m_pType->clear();
    for (const CPLCRegType* type : m_types)
        m_pType->addItem(type->GetTypeName());
    m_nTypeIndex =
        m_pType->findText(address.GetTypeName(), Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (m_nTypeIndex < 0 && !address.GetTypeName().isEmpty())
        m_nTypeIndex = std::min(address.GetIndex(), m_pType->count() - 1);
    m_pType->setCurrentIndex(m_nTypeIndex);

    const CPLCRegType* type = Type();
    BindField(m_address, type ? type->GetAddr() : kAnyAddress, address.GetAddress());
    const bool sub = type && type->GetSubAddr().visible;
    if (sub)
        BindField(m_subAddr, type->GetSubAddr(), address.GetSubAddr());
    m_subAddr.edit->setVisible(sub);

    const bool word = address.GetKind() == PLC_WORD;
    const bool shift = !word && type && type->GetShiftAddr().visible;
    if (shift)
        BindField(m_shift, type->GetShiftAddr(), address.GetShift());
    m_pForm->setRowVisible(m_shift.edit, shift);

    const bool counted = word && type && type->HasRegNum() && !type->GetRegNumList().empty();
    m_pRegNum->clear();
    if (counted) {
        for (const std::uint8_t count : type->GetRegNumList())
            m_pRegNum->addItem(QString::number(count), count);
        m_pRegNum->setCurrentIndex(std::max(0, m_pRegNum->findData(address.GetRegNum())));
    }
    m_pForm->setRowVisible(m_pRegNum, counted);
    SetFieldsEnabled(true);
    m_station.edit->setEnabled(station.visible && station.minValue != station.maxValue);
}

void CAddressGroup::SetFieldsEnabled(bool enabled) {
    m_pType->setEnabled(enabled);
    m_pAddressRow->setEnabled(enabled);
    m_pRegNum->setEnabled(enabled && m_bRegNumEnabled);
    if (!enabled)
        m_station.edit->setEnabled(false);
}

void CAddressGroup::SetAddressLabel(const QString& text) {
    m_pAddressLabel->setText(text);
}

void CAddressGroup::ShowFixed(const QString& typeName, std::int64_t address) {
    const int entry = m_pType->findText(typeName, Qt::MatchExactly | Qt::MatchCaseSensitive);
    if (entry >= 0)
        m_pType->setCurrentIndex(entry);
    m_address.edit->SetValue(address);
    m_pRegNum->setCurrentIndex(m_pRegNum->count() > 0 ? 0 : -1);
    SetFieldsEnabled(false);
}

void CAddressGroup::OnTypeChosen(int index) {
    if (index < 0 || index >= static_cast<int>(m_types.size()))
        return;
    const CPLCRegType* type = m_types[static_cast<std::size_t>(index)];
    emit Edited(QStringLiteral("type"), [type, index](CPLCAddress& address) {
        address.SetRegType(type, index);
        ApplyTypeBounds(address);
    });
}

void CAddressGroup::OnNumber(CNumEditCtrl* edit, std::int64_t value, const QString& field,
                             const std::function<void(CPLCAddress&, std::int64_t)>& store) {
    if (value != edit->GetValue())
        CorrectTypedValue(edit, value);
    emit Edited(field, [store, value](CPLCAddress& address) { store(address, value); });
}
