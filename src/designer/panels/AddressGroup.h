#pragma once

#include "PanelParts.h"

#include <QGroupBox>

#include <functional>
#include <vector>

class CPLCAddress;
class CPLCEntity;
class CPLCRegType;
class QComboBox;
class QFormLayout;
class QLabel;

// A change the address group asks for; the panel applies it to the address it edits.
using AddressChange = std::function<void(CPLCAddress&)>;

// An address bound to the project's PLC: its station, memory type, address, sub-address, shift
// or register count, each bounded and shown as the PLC's description says. Typed numbers are
// clamped at once into their bounds.
class CAddressGroup : public QGroupBox {
    Q_OBJECT

public:
    // `caption` "寄存器", "线圈" or the alarm list's; `typeLabel` "类型:" or "寄存器类型:".
    CAddressGroup(const QString& caption, const QString& typeLabel, QWidget* parent = nullptr);

    void Show(const CPLCAddress& address, const CPLCEntity& plc);

    void SetAddressLabel(const QString& text);
    // The actions that write one register keep the count list shown but closed.
    void SetRegNumEnabled(bool enabled) { m_bRegNumEnabled = enabled; }
    // The recipe's base operations show a fixed type and address, all closed: `typeName` is
    // shown when the list has it, without changing the address.
    void ShowFixed(const QString& typeName, std::int64_t address);

signals:
    // `field` names what changed: "station", "type", "address", "sub-address", "shift" or
    // "register-count".
    void Edited(const QString& field, const AddressChange& change);

private:
    const CPLCRegType* Type() const;
    void OnTypeChosen(int index);
    void OnNumber(CNumEditCtrl* edit, std::int64_t value, const QString& field,
                  const std::function<void(CPLCAddress&, std::int64_t)>& store);
    void SetFieldsEnabled(bool enabled);

    QFormLayout* m_pForm;
    NumberField m_station;
    QComboBox* m_pType;
    QLabel* m_pAddressLabel;
    NumberField m_address;
    NumberField m_subAddr;
    NumberField m_shift;
    QComboBox* m_pRegNum;
    QWidget* m_pAddressRow;
    bool m_bRegNumEnabled = true;
    const CPLCEntity* m_pPlc = nullptr;
    std::vector<const CPLCRegType*> m_types;
    int m_nTypeIndex = -1;
};

// After a type change: the address's numbers into the new type's bounds, the sub-address and
// the shift to their lowest values where the type has none, the register count into its list.
void ApplyTypeBounds(CPLCAddress& address);
