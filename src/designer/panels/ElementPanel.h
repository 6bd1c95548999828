#pragma once

#include "commands/PropertyCommands.h"

#include <QGroupBox>
#include <QStringList>

#include <cstdint>
#include <functional>
#include <vector>

class CAddressGroup;
class CColorButton;
class CColourGroup;
class CFontGroup;
class CKoravelDoc;
class CLimitPair;
class CNumberFormatGroup;
class CPLCAddress;
class CPLCEntity;
class CPositionGroup;
class CSizeGroup;
class QCheckBox;
class QComboBox;
struct ValueRange;

// A property panel bound to one element (or to none). It shows the element's values and turns
// each change of a control into one command on the document's stack; the panel shows the
// element anew whenever the document says it changed. Without a bound element every control
// change is ignored.
class CElementPanel : public QGroupBox {
public:
    CElementPanel(CKoravelDoc& doc, const QString& caption, int typeCode);

    // The kind of element the panel shows.
    int TypeCode() const { return m_nTypeCode; }
    CGraphBase* Element() const { return m_pElement; }
    // Binds the panel to `element` (null unbinds it) and shows its values.
    virtual void Bind(CGraphBase* element);
    // Shows the bound element's values again.
    void Refresh();

protected:
    // Shows what the shared groups do not; called with a bound element.
    virtual void ShowValues() {}

    CKoravelDoc& Doc() const { return m_doc; }
    const CPLCEntity& Plc() const;

    // One command making `change` to the bound element.
    void Edit(const QString& property, const CmdChangeElement::Change& change);
    // One command making `change` to every selected element of the bound element's kind.
    void EditSelected(const QString& property, const CmdChangeElement::Change& change);

    // The shared groups, showing the bound element and editing it.
    CPositionGroup* NewPositionGroup();
    CSizeGroup* NewSizeGroup();
    // For the three text kinds; `sized` follows a change that resized the element.
    CFontGroup* NewFontGroup(const std::function<void(CGraphBase&)>& sized = {});
    struct Colour {
        QString label;
        QString name;
        std::function<std::uint32_t&(CGraphBase&)> member;
    };
    CColourGroup* NewColourGroup(const std::vector<Colour>& colours);
    // One colour button of its own, beside the control it belongs to (the label is the
    // caller's).
    CColorButton* NewColour(const Colour& colour);
    CAddressGroup* NewAddressGroup(const QString& caption, const QString& typeLabel,
                                   const QString& property,
                                   const std::function<CPLCAddress&(CGraphBase&)>& address);
    CNumberFormatGroup* NewNumberFormatGroup(const QString& signedText,
                                             const std::function<int(CGraphBase&)>& format,
                                             const std::function<void(CGraphBase&, int)>& apply);
    struct Limits {
        std::function<std::int64_t&(CGraphBase&)> upper;
        std::function<std::int64_t&(CGraphBase&)> lower;
        std::function<ValueRange(CGraphBase&)> range;
        std::function<int(CGraphBase&)> format;
    };
    CLimitPair* NewLimitPair(const QString& upperLabel, const QString& upperName,
                             const QString& lowerLabel, const QString& lowerName,
                             const Limits& limits);
    // A check box or a drop-down list storing one value; `selected` applies a change to every
    // selected element of the kind.
    QCheckBox* NewFlag(const QString& text, const QString& name,
                       const std::function<bool(CGraphBase&)>& get,
                       const std::function<void(CGraphBase&, bool)>& set, bool selected = false);
    QComboBox* NewChoice(const QStringList& items, const QString& name,
                         const std::function<int(CGraphBase&)>& get,
                         const std::function<void(CGraphBase&, int)>& set);
    // Radio buttons named `name` + their index, `perRow` to a row; the one at `get`'s index is
    // checked (none for an index outside them), choosing one stores its index with `set`.
    QWidget* NewRadios(const QStringList& texts, const QString& name,
                       const std::function<int(CGraphBase&)>& get,
                       const std::function<void(CGraphBase&, int)>& set, int perRow = 2);

private:
    std::vector<CGraphBase*> SelectedOfKind() const;
    void EditColour(const Colour& colour, std::uint32_t chosen);

    CKoravelDoc& m_doc;
    int m_nTypeCode;
    CGraphBase* m_pElement = nullptr;
    // What shows the shared groups and the simple controls, in the order they were made.
    std::vector<std::function<void(CGraphBase&)>> m_shows;
};

// The panel of one element kind: typed access to the bound element.
template <typename T> class CKindPanel : public CElementPanel {
public:
    using CElementPanel::CElementPanel;

protected:
    T& Bound() const { return static_cast<T&>(*Element()); }
    static T& As(CGraphBase& element) { return static_cast<T&>(element); }
};
