#include "ElementPanel.h"

#include "AddressGroup.h"
#include "ColorButton.h"
#include "ColourGroup.h"
#include "FontGroup.h"
#include "KoravelDoc.h"
#include "LimitPair.h"
#include "ModelAddress.h"
#include "NumberFormatGroup.h"
#include "PanelParts.h"
#include "PositionGroup.h"
#include "SizeGroup.h"
#include "TextElement.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QComboBox>
#include <QGridLayout>
#include <QRadioButton>

CElementPanel::CElementPanel(CKoravelDoc& doc, const QString& caption, int typeCode)
    : QGroupBox(caption), m_doc(doc), m_nTypeCode(typeCode) {}

const CPLCEntity& CElementPanel::Plc() const {
    return PLCOrNone(m_doc.Project().m_pCurrentPLC);
}

void CElementPanel::Bind(CGraphBase* element) {
    CGraphBase* bound = element && element->m_nTypeCode == m_nTypeCode ? element : nullptr;
    if (bound != m_pElement)
        ForgetTyping(this);
    m_pElement = bound;
    Refresh();
}

void CElementPanel::Refresh() {
    if (!m_pElement)
        return;
    for (const auto& show : m_shows)
        show(*m_pElement);
    ShowValues();
}

void CElementPanel::Edit(const QString& property, const CmdChangeElement::Change& change) {
    if (m_pElement)
        m_doc.Push(new CmdChangeElement(m_doc, {m_pElement}, property, change));
}

void CElementPanel::EditSelected(const QString& property, const CmdChangeElement::Change& change) {
    if (m_pElement)
        m_doc.Push(new CmdChangeElement(m_doc, SelectedOfKind(), property, change));
}

std::vector<CGraphBase*> CElementPanel::SelectedOfKind() const {
    std::vector<CGraphBase*> elements{m_pElement};
    const QList<CGraphBase*>& selection = m_doc.Selection();
    // Only a panel showing the selection speaks for the rest of it.
    if (!selection.contains(m_pElement))
        return elements;
    for (CGraphBase* element : selection) {
        if (element != m_pElement && element->m_nTypeCode == m_nTypeCode)
            elements.push_back(element);
    }
    return elements;
}

CPositionGroup* CElementPanel::NewPositionGroup() {
    auto* group = new CPositionGroup;
    m_shows.push_back([group](CGraphBase& element) { group->Show(element); });
    connect(group, &CPositionGroup::LeftChosen, this, [this](int left) {
        Edit(QStringLiteral("left"), [left](CGraphBase& element) { element.m_nLeft = left; });
    });
    connect(group, &CPositionGroup::TopChosen, this, [this](int top) {
        Edit(QStringLiteral("top"), [top](CGraphBase& element) { element.m_nTop = top; });
    });
    return group;
}

CSizeGroup* CElementPanel::NewSizeGroup() {
    auto* group = new CSizeGroup;
    m_shows.push_back([group](CGraphBase& element) { group->Show(element); });
    connect(group, &CSizeGroup::WidthChosen, this, [this](int width) {
        Edit(QStringLiteral("width"), [width](CGraphBase& element) {
            element.m_nWidth = width;
            ShiftInsidePanel(element);
        });
    });
    connect(group, &CSizeGroup::HeightChosen, this, [this](int height) {
        Edit(QStringLiteral("height"), [height](CGraphBase& element) {
            element.m_nHeight = height;
            ShiftInsidePanel(element);
        });
    });
    return group;
}

CFontGroup* CElementPanel::NewFontGroup(const std::function<void(CGraphBase&)>& sized) {
    auto* group = new CFontGroup;
    m_shows.push_back([group](CGraphBase& element) {
        const auto& text = static_cast<const CTextElement&>(element);
        group->Show(text.m_strFontName, text.m_nFontSize);
    });
    connect(group, &CFontGroup::FaceChosen, this, [this, sized](const QString& face) {
        EditSelected(QStringLiteral("font-face"), [face, sized](CGraphBase& element) {
            static_cast<CTextElement&>(element).SetFontName(face);
            if (sized)
                sized(element);
        });
    });
    connect(group, &CFontGroup::SizeChosen, this, [this, sized](int size) {
        EditSelected(QStringLiteral("font-size"), [size, sized](CGraphBase& element) {
            static_cast<CTextElement&>(element).SetFontSize(size);
            if (sized)
                sized(element);
        });
    });
    return group;
}

CColourGroup* CElementPanel::NewColourGroup(const std::vector<Colour>& colours) {
    auto* group = new CColourGroup;
    for (const Colour& colour : colours)
        group->AddColour(colour.label, colour.name);
    m_shows.push_back([group, colours](CGraphBase& element) {
        for (std::size_t i = 0; i < colours.size(); ++i)
            group->Show(static_cast<int>(i), colours[i].member(element));
    });
    connect(group, &CColourGroup::ColourChosen, this,
            [this, colours](int index, std::uint32_t chosen) {
                EditColour(colours[static_cast<std::size_t>(index)], chosen);
            });
    return group;
}

CColorButton* CElementPanel::NewColour(const Colour& colour) {
    CColorButton* button = NewColourButton(colour.name);
    m_shows.push_back([button, member = colour.member](CGraphBase& element) {
        button->SetColor(member(element));
    });
    connect(button, &CColorButton::SelectionEnded, this,
            [this, colour](std::uint32_t chosen) { EditColour(colour, chosen); });
    return button;
}

void CElementPanel::EditColour(const Colour& colour, std::uint32_t chosen) {
    EditSelected(
        QStringLiteral("colour:") + colour.name,
        [member = colour.member, chosen](CGraphBase& element) { member(element) = chosen; });
}

CAddressGroup*
CElementPanel::NewAddressGroup(const QString& caption, const QString& typeLabel,
                               const QString& property,
                               const std::function<CPLCAddress&(CGraphBase&)>& address) {
    auto* group = new CAddressGroup(caption, typeLabel);
    m_shows.push_back(
        [this, group, address](CGraphBase& element) { group->Show(address(element), Plc()); });
    connect(group, &CAddressGroup::Edited, this,
            [this, property, address](const QString& field, const AddressChange& change) {
                Edit(property + u':' + field,
                     [address, change](CGraphBase& element) { change(address(element)); });
            });
    return group;
}

CNumberFormatGroup*
CElementPanel::NewNumberFormatGroup(const QString& signedText,
                                    const std::function<int(CGraphBase&)>& format,
                                    const std::function<void(CGraphBase&, int)>& apply) {
    auto* group = new CNumberFormatGroup(signedText);
    m_shows.push_back([group, format](CGraphBase& element) { group->Show(format(element)); });
    connect(group, &CNumberFormatGroup::FormatChosen, this, [this, apply](int chosen) {
        EditSelected(QStringLiteral("number-format"),
                     [apply, chosen](CGraphBase& element) { apply(element, chosen); });
    });
    return group;
}

CLimitPair* CElementPanel::NewLimitPair(const QString& upperLabel, const QString& upperName,
                                        const QString& lowerLabel, const QString& lowerName,
                                        const Limits& limits) {
    auto* pair = new CLimitPair(upperLabel, upperName, lowerLabel, lowerName);
    m_shows.push_back([pair, limits](CGraphBase& element) {
        pair->Show(limits.upper(element), limits.lower(element), limits.range(element),
                   limits.format(element));
    });
    connect(pair, &CLimitPair::LimitsChosen, this,
            [this, limits, upperName](std::int64_t upper, std::int64_t lower) {
                Edit(QStringLiteral("limits:") + upperName,
                     [limits, upper, lower](CGraphBase& element) {
                         limits.upper(element) = upper;
                         limits.lower(element) = lower;
                     });
            });
    return pair;
}

QCheckBox* CElementPanel::NewFlag(const QString& text, const QString& name,
                                  const std::function<bool(CGraphBase&)>& get,
                                  const std::function<void(CGraphBase&, bool)>& set,
                                  bool selected) {
    auto* check = new QCheckBox(text);
    check->setObjectName(name);
    m_shows.push_back([check, get](CGraphBase& element) { check->setChecked(get(element)); });
    connect(check, &QCheckBox::clicked, this, [this, name, set, selected](bool on) {
        const auto change = [set, on](CGraphBase& element) { set(element, on); };
        if (selected)
            EditSelected(name, change);
        else
            Edit(name, change);
    });
    return check;
}

QComboBox* CElementPanel::NewChoice(const QStringList& items, const QString& name,
                                    const std::function<int(CGraphBase&)>& get,
                                    const std::function<void(CGraphBase&, int)>& set) {
    auto* list = new QComboBox;
    list->setObjectName(name);
    list->addItems(items);
    m_shows.push_back([list, get](CGraphBase& element) { list->setCurrentIndex(get(element)); });
    connect(list, &QComboBox::activated, this, [this, name, set](int index) {
        Edit(name, [set, index](CGraphBase& element) { set(element, index); });
    });
    return list;
}

QWidget* CElementPanel::NewRadios(const QStringList& texts, const QString& name,
                                  const std::function<int(CGraphBase&)>& get,
                                  const std::function<void(CGraphBase&, int)>& set, int perRow) {
    auto* row = new QWidget;
    auto* grid = new QGridLayout(row);
    grid->setContentsMargins(6, 2, 6, 2);
    auto* buttons = new QButtonGroup(row);
    for (int i = 0; i < texts.size(); ++i) {
        auto* button = new QRadioButton(texts[i]);
        button->setObjectName(name + QString::number(i));
        buttons->addButton(button, i);
        grid->addWidget(button, i / perRow, i % perRow);
    }
    m_shows.push_back([buttons, get](CGraphBase& element) {
        const int index = get(element);
        // None checked for a value that no button stands for.
        buttons->setExclusive(false);
        for (QAbstractButton* button : buttons->buttons())
            button->setChecked(buttons->id(button) == index);
        buttons->setExclusive(true);
    });
    connect(buttons, &QButtonGroup::idClicked, this, [this, name, set](int index) {
        Edit(name, [set, index](CGraphBase& element) { set(element, index); });
    });
    return row;
}
