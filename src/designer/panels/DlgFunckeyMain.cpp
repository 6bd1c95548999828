#include "DlgFunckeyMain.h"

#include "DlgFunckeySub.h"
#include "PanelParts.h"
#include "PositionGroup.h"

#include <QCheckBox>
#include <QComboBox>
#include <QFormLayout>
#include <QGridLayout>
#include <QGroupBox>
#include <QVBoxLayout>

namespace {

constexpr int kKeyCount = 20;
constexpr int kKeySide = 32;

QStringList KeyNames() {
    QStringList names;
    for (int key = 0; key < kKeyCount; ++key)
        names << KeyName(key);
    return names;
}

} // namespace

DlgFunckeyMain::DlgFunckeyMain(CKoravelDoc& doc)
    : CKindPanel(doc, QStringLiteral("功能键属性"), kTypeFunctionKey),
      m_actions{new DlgFunckeySubWire(doc), new DlgFunckeySubReg(doc), new DlgFunckeySubJmp(doc),
                new DlgFunckeySubRecipe(doc), new DlgFunckeySubMulStatus(doc)} {
    setObjectName(QStringLiteral("functionKeyPanel"));
    m_pHand = NewFlag(
        QStringLiteral("手形"), QStringLiteral("hand"),
        [](CGraphBase& element) { return As(element).m_bHand; },
        [](CGraphBase& element, bool on) {
            CGEFuncKey& key = As(element);
            key.m_bHand = on;
            if (on) {
                key.m_nWidth *= 2;
                ShiftInsidePanel(key);
            } else {
                key.m_nWidth /= 2;
            }
        });
    QCheckBox* hide = NewFlag(
        QStringLiteral("隐形"), QStringLiteral("hide"),
        [](CGraphBase& element) { return As(element).m_bHide; },
        [](CGraphBase& element, bool on) {
            CGEFuncKey& key = As(element);
            key.m_bHide = on;
            // A hidden key is a plain key of the smallest size.
            if (on) {
                key.m_bHand = false;
                key.m_bReverse = false;
                key.m_bDouble = false;
            }
            if (key.m_nWidth != kKeySide) {
                key.m_nWidth = kKeySide;
                key.m_nHeight = kKeySide;
            }
        });
    m_pDouble = NewFlag(
        QStringLiteral("倍增"), QStringLiteral("double"),
        [](CGraphBase& element) { return element.m_bDouble; },
        [](CGraphBase& element, bool on) { element.SetDouble(on); });
    QCheckBox* password = NewFlag(
        QStringLiteral("加密"), QStringLiteral("password"),
        [](CGraphBase& element) { return As(element).m_bVisible; },
        [](CGraphBase& element, bool on) { As(element).m_bVisible = on; });

    auto* look = new QGroupBox(QStringLiteral("按键"));
    QFormLayout* form = NewFormLayout(look);
    form->addRow(QStringLiteral("键:"),
                 NewChoice(
                     KeyNames(), QStringLiteral("key"),
                     [](CGraphBase& element) { return As(element).m_nComboBoxID; },
                     [](CGraphBase& element, int key) { As(element).m_nComboBoxID = key; }));
    auto* checks = new QWidget;
    auto* grid = new QGridLayout(checks);
    grid->setContentsMargins(0, 0, 0, 0);
    grid->addWidget(m_pHand, 0, 0);
    grid->addWidget(hide, 0, 1);
    grid->addWidget(m_pDouble, 1, 0);
    grid->addWidget(password, 1, 1);
    form->addRow(checks);

    auto* action = new QGroupBox(QStringLiteral("功能"));
    auto* actionLayout = new QVBoxLayout(action);
    actionLayout->setContentsMargins(4, 4, 4, 4);
    actionLayout->addWidget(NewRadios(
        {QStringLiteral("设定线圈"), QStringLiteral("设定寄存器"), QStringLiteral("画面跳转"),
         QStringLiteral("配方"), QStringLiteral("多状态设定")},
        QStringLiteral("action"), [](CGraphBase& element) { return As(element).m_nType; },
        [](CGraphBase& element, int type) { As(element).m_nType = type; }));
    for (CElementPanel* panel : m_actions) {
        panel->hide();
        actionLayout->addWidget(panel);
    }

    auto* column = new QVBoxLayout(this);
    column->addWidget(NewPositionGroup());
    column->addWidget(look);
    column->addWidget(action);
    column->addStretch(1);
}

void DlgFunckeyMain::Bind(CGraphBase* element) {
    CElementPanel::Bind(element);
    if (!Element()) {
        for (CElementPanel* panel : m_actions)
            panel->Bind(nullptr);
    }
}

CElementPanel* DlgFunckeyMain::ActionPanel(int type) const {
    return type >= 0 && type < static_cast<int>(m_actions.size())
               ? m_actions[static_cast<std::size_t>(type)]
               : nullptr;
}

void DlgFunckeyMain::ShowValues() {
    const CGEFuncKey& key = Bound();
    m_pHand->setEnabled(!key.m_bHide);
    m_pDouble->setEnabled(!key.m_bHide);
    for (int type = 0; type < static_cast<int>(m_actions.size()); ++type) {
        CElementPanel* panel = m_actions[static_cast<std::size_t>(type)];
        if (type == key.m_nType) {
            panel->Bind(Element());
            panel->show();
        } else {
            panel->hide();
        }
    }
}
