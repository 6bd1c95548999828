#include "DlgAddressList.h"

#include "GEFuncKey.h"
#include "KoravelDoc.h"
#include "KoravelWnd.h"
#include "ModelAddress.h"

#include <QComboBox>
#include <QHBoxLayout>
#include <QHeaderView>
#include <QLineEdit>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QVBoxLayout>


namespace {

enum Column { kFrameName, kFrameDesc, kOrder, kKind, kType, kAddress, kNotes, kColumns };

// The address cells of an element: "-" where a kind has no address, empty where one is
// missing.
struct AddressCells {
    QString type;
    QString number;
    const CPLCAddress* address = nullptr;
};

AddressCells CellsOf(const CGraphBase& element) {
    const AddressCells none{QStringLiteral("-"), QStringLiteral("-")};
    switch (element.m_nTypeCode) {
    case kTypeStaticText:
    case kTypePicture:
        return none;
    case kTypeFunctionKey:
        switch (static_cast<const CGEFuncKey&>(element).m_nType) {
        case kActionJumpFrame:
            return none;
        case kActionSetWire:
        case kActionSetRegister:
        case kActionRecipe:
        case kActionMultiSet:
            break;
        default:
            return {};
        }
        break;
    default:
        break;
    }
    const CPLCAddress* address = element.MainAddress();
    if (!address)
        return {};
    return {address->GetTypeName(), QString::number(address->GetAddress()), address};
}

std::tuple<int, QString, int, int, int, int> KeyOf(const CPLCAddress& address) {
    const bool bit = address.GetKind() != PLC_WORD;
    return {bit ? 0 : 1,          address.GetTypeName(), address.GetStation(),
            address.GetAddress(), address.GetSubAddr(),  bit ? address.GetShift() : 0};
}

} // namespace

DlgAddressList::DlgAddressList(CKoravelDoc& doc, CKoravelWnd& canvas, QWidget* parent)
    : QDialog(parent), m_doc(doc), m_canvas(canvas), m_pList(new QTableWidget(0, kColumns)),
      m_pGiven(new QRadioButton(QStringLiteral("指定画面"))),
      m_pAll(new QRadioButton(QStringLiteral("全部画面"))), m_pFrames(new QComboBox),
      m_pFilter(new QLineEdit) {
    setObjectName(QStringLiteral("usageTable"));
    setWindowTitle(QStringLiteral("元件使用表"));
    m_pList->setObjectName(QStringLiteral("usageList"));
    m_pGiven->setObjectName(QStringLiteral("givenFrame"));
    m_pAll->setObjectName(QStringLiteral("allFrames"));
    m_pFrames->setObjectName(QStringLiteral("frameChoice"));
    m_pFilter->setObjectName(QStringLiteral("usageFilter"));
    m_pFilter->setPlaceholderText(QStringLiteral("按地址或控件名称筛选"));
    m_pFilter->setClearButtonEnabled(true);

    m_pList->setHorizontalHeaderLabels(
        {"序号", "画面描述", "控件顺序", "控件名称", "元件", "地址", "检查"});
    const int widths[kColumns] = {60, 180, 70, 80, 60, 60, 110};
    for (int column = 0; column < kColumns; ++column)
        m_pList->setColumnWidth(column, widths[column]);
    m_pList->verticalHeader()->hide();
    m_pList->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_pList->setSelectionMode(QAbstractItemView::SingleSelection);
    m_pList->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_pList->setShowGrid(true);
    m_pList->setWordWrap(false);
    m_pList->verticalHeader()->setDefaultSectionSize(m_pList->fontMetrics().height() + 6);
    QPalette colours = m_pList->palette();
    colours.setColor(QPalette::Text, ColorFromRef(0x00500A0A));
    m_pList->setPalette(colours);

    auto* modes = new QHBoxLayout;
    modes->addWidget(m_pGiven);
    modes->addWidget(m_pAll);
    modes->addWidget(m_pFrames, 1);
    modes->addWidget(m_pFilter, 1);
    auto* buttons = new QHBoxLayout;
    const struct {
        const char* name;
        const char* text;
        CKoravelWnd::Stacking stacking;
    } stackingButtons[] = {
        {"upOneLayer", "上移一层", CKoravelWnd::Stacking::Up},
        {"downOneLayer", "下移一层", CKoravelWnd::Stacking::Down},
        {"sendToBottom", "下移底层", CKoravelWnd::Stacking::Bottom},
        {"bringToTop", "上移顶层", CKoravelWnd::Stacking::Top},
    };
    buttons->addStretch(1);
    for (const auto& b : stackingButtons) {
        auto* button = new QPushButton(QString::fromUtf8(b.text));
        button->setObjectName(QString::fromLatin1(b.name));
        button->setAutoDefault(false);
        const int stacking = static_cast<int>(b.stacking);
        connect(button, &QPushButton::clicked, this, [this, stacking] { OnStacking(stacking); });
        buttons->addWidget(button);
    }
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(modes);
    layout->addWidget(m_pList, 1);
    layout->addLayout(buttons);
    resize(720, 420);

    m_pFrames->hide();
    m_pAll->setChecked(true);
    connect(m_pGiven, &QRadioButton::clicked, this, &DlgAddressList::OnGivenFrame);
    connect(m_pAll, &QRadioButton::clicked, this, &DlgAddressList::OnAllFrames);
    connect(m_pFrames, &QComboBox::currentIndexChanged, this, &DlgAddressList::OnFrameChosen);
    connect(m_pList, &QTableWidget::cellClicked, this, &DlgAddressList::OnRowClicked);
    connect(m_pFilter, &QLineEdit::textChanged, this, &DlgAddressList::ApplyFilter);

    // The rows follow every change of the project; another project starts the table afresh.
    connect(&doc.UndoStack(), &QUndoStack::indexChanged, this, [this] {
        if (isVisible())
            Refill();
    });
    connect(&doc, &CKoravelDoc::framesChanged, this, [this] {
        if (m_mode == Mode::GivenFrame)
            FillCombo();
    });
    connect(&doc, &CKoravelDoc::projectReset, this, [this] {
        m_pChosen = nullptr;
        m_pChosenFrame = nullptr;
        OnAllFrames();
    });
}

void DlgAddressList::ShowTable() {
    OnAllFrames();
    show();
    raise();
    activateWindow();
}

bool DlgAddressList::Exists(const CHMIFrame* frame, const CGraphBase* element) const {
    const CKoravelProject& project = m_doc.Project();
    return frame && project.PositionOf(frame) >= 0 && (!element || frame->IndexOf(element) >= 0);
}

CHMIFrame* DlgAddressList::ComboFrame() const {
    auto* frame = static_cast<CHMIFrame*>(m_pFrames->currentData().value<void*>());
    return Exists(frame, nullptr) ? frame : nullptr;
}

void DlgAddressList::OnAllFrames() {
    m_pFrames->hide();
    m_pAll->setChecked(true);
    m_mode = Mode::AllFrames;
    const QSignalBlocker block(m_pFrames);
    m_pFrames->clear();
    Refill();
}

void DlgAddressList::OnGivenFrame() {
    m_pFrames->show();
    m_pGiven->setChecked(true);
    m_mode = Mode::GivenFrame;
    m_pChosen = nullptr;
    m_pChosenFrame = nullptr;
    FillCombo();
}

void DlgAddressList::FillCombo() {
    CHMIFrame* shown = ComboFrame();
    {
        const QSignalBlocker block(m_pFrames);
        m_pFrames->clear();
        const auto& frames = m_doc.Project().m_Frames;
        for (auto it = frames.rbegin(); it != frames.rend(); ++it)
            m_pFrames->addItem((*it)->m_strName + u' ' + (*it)->m_strDesc,
                               QVariant::fromValue<void*>(it->get()));
        m_pFrames->model()->sort(0);
        const int keep = m_pFrames->findData(QVariant::fromValue<void*>(shown));
        m_pFrames->setCurrentIndex(keep >= 0 ? keep : 0);
    }
    Refill();
}

void DlgAddressList::OnFrameChosen() {
    if (m_pFrames->currentIndex() >= 0)
        Refill();
}

void DlgAddressList::Refill() {
    if (!Exists(m_pChosenFrame, m_pChosen)) {
        m_pChosen = nullptr;
        m_pChosenFrame = nullptr;
    }
    QList<CHMIFrame*> frames;
    if (m_mode == Mode::GivenFrame) {
        if (CHMIFrame* frame = ComboFrame())
            frames << frame;
    } else {
        for (const auto& frame : m_doc.Project().m_Frames)
            frames << frame.get();
    }
    FillRows(frames);
}

void DlgAddressList::CountUses() {
    m_widths.clear();
    m_keyWrites.clear();
    for (const auto& frame : m_doc.Project().m_Frames) {
        for (const auto& part : frame->m_Parts) {
            const CPLCAddress* address = CellsOf(*part).address;
            if (!address)
                continue;
            if (address->GetKind() == PLC_WORD)
                m_widths[KeyOf(*address)].insert(UnitCount(*address));
            if (part->m_nTypeCode == kTypeFunctionKey)
                ++m_keyWrites[KeyOf(*address)];
        }
    }
}

QString DlgAddressList::Notes(const CPLCAddress& address) const {
    QStringList notes;
    const MemoryKey key = KeyOf(address);
    const auto widths = m_widths.find(key);
    if (widths != m_widths.end() && widths->second.size() > 1)
        notes << QStringLiteral("宽度不一");
    const auto writes = m_keyWrites.find(key);
    if (writes != m_keyWrites.end() && writes->second > 1)
        notes << QStringLiteral("多键写入");
    return notes.join(u' ');
}

void DlgAddressList::FillRows(const QList<CHMIFrame*>& frames) {
    CountUses();
    const QSignalBlocker block(m_pList);
    m_pList->clearContents();
    int rows = 0;
    for (const CHMIFrame* frame : frames)
        rows += static_cast<int>(frame->m_Parts.size());
    m_pList->setRowCount(rows);
    int row = 0;
    int selectedRow = -1;
    for (CHMIFrame* frame : frames) {
        int order = 0;
        for (const auto& part : frame->m_Parts) {
            const AddressCells cells = CellsOf(*part);
            const QString texts[kColumns] = {frame->m_strName,
                                             frame->m_strDesc,
                                             QString::number(order++),
                                             ElementKindTitle(part->m_nTypeCode),
                                             cells.type,
                                             cells.number,
                                             cells.address ? Notes(*cells.address) : QString()};
            for (int column = 0; column < kColumns; ++column) {
                auto* item = new QTableWidgetItem(texts[column]);
                if (column == kType || column == kAddress)
                    item->setTextAlignment(Qt::AlignCenter);
                m_pList->setItem(row, column, item);
            }
            m_pList->item(row, 0)->setData(Qt::UserRole, QVariant::fromValue<void*>(frame));
            m_pList->item(row, 1)->setData(Qt::UserRole, QVariant::fromValue<void*>(part.get()));
            if (part.get() == m_pChosen)
                selectedRow = row;
            ++row;
        }
    }
    m_pList->clearSelection();
    if (selectedRow >= 0) {
        m_pList->selectRow(selectedRow);
        m_pList->scrollToItem(m_pList->item(selectedRow, 0));
    }
    ApplyFilter();
}

void DlgAddressList::ApplyFilter() {
    const QString filter = m_pFilter->text().trimmed();
    for (int row = 0; row < m_pList->rowCount(); ++row) {
        const QString kind = m_pList->item(row, kKind)->text();
        const QString address =
            m_pList->item(row, kType)->text() + m_pList->item(row, kAddress)->text();
        const bool shown = filter.isEmpty() || kind.contains(filter, Qt::CaseInsensitive) ||
                           address.contains(filter, Qt::CaseInsensitive);
        m_pList->setRowHidden(row, !shown);
    }
}

void DlgAddressList::OnRowClicked(int row) {
    const QTableWidgetItem* frameItem = m_pList->item(row, 0);
    const QTableWidgetItem* elementItem = m_pList->item(row, 1);
    if (!frameItem || !elementItem)
        return;
    auto* frame = static_cast<CHMIFrame*>(frameItem->data(Qt::UserRole).value<void*>());
    auto* element = static_cast<CGraphBase*>(elementItem->data(Qt::UserRole).value<void*>());
    if (!Exists(frame, element))
        return;
    // The frame list follows the frame shown.
    if (m_doc.CurrentFrame() != frame)
        m_doc.ShowFrame(frame);
    m_canvas.Select(element, true);
    m_pChosen = element;
    m_pChosenFrame = frame;
    m_canvas.update();
}

void DlgAddressList::OnStacking(int stacking) {
    if (!Exists(m_pChosenFrame, m_pChosen)) {
        QMessageBox::information(this, QStringLiteral("提示"),
                                 QStringLiteral("请单击选中一个控件图形！"));
        return;
    }
    m_canvas.Restack(static_cast<CKoravelWnd::Stacking>(stacking));
    Refill();
}
