#include "FormListControl.h"

#include "KoravelDoc.h"

#include <QContextMenuEvent>
#include <QHeaderView>
#include <QIcon>
#include <QMenu>
#include <QSignalBlocker>

CFormListControl::CFormListControl(CKoravelDoc& doc, QWidget* parent)
    : QTableWidget(0, 2, parent), m_doc(doc) {
    setObjectName(QStringLiteral("frameList"));
    setHorizontalHeaderLabels({QStringLiteral("序号"), QStringLiteral("画面描述")});
    verticalHeader()->hide();
    horizontalHeader()->setSectionsClickable(false);
    horizontalHeader()->setHighlightSections(false);
    horizontalHeader()->setStretchLastSection(true);
    setSelectionBehavior(QAbstractItemView::SelectRows);
    setSelectionMode(QAbstractItemView::ExtendedSelection);
    setEditTriggers(QAbstractItemView::NoEditTriggers);
    setShowGrid(true);
    setWordWrap(false);
    setIconSize(QSize(16, 16));
    verticalHeader()->setDefaultSectionSize(fontMetrics().height() + 6);
    setColumnWidth(0, kDefaultNumberWidth);
    setColumnWidth(1, kDefaultDescriptionWidth);
    connect(this, &QTableWidget::itemSelectionChanged, this, &CFormListControl::OnSelectionChanged);
}

void CFormListControl::SetContextMenus(QMenu* onEmpty, QMenu* onRow) {
    m_pEmptyMenu = onEmpty;
    m_pRowMenu = onRow;
}

void CFormListControl::Rebuild() {
    m_bRebuilding = true;
    const QSignalBlocker block(this);
    clearContents();
    const CKoravelProject& project = m_doc.Project();
    setRowCount(static_cast<int>(project.m_Frames.size()));
    static const QIcon icon(QStringLiteral(":/icons/frame.svg"));
    int row = 0;
    for (const auto& frame : project.m_Frames) {
        auto* number = new QTableWidgetItem(icon, frame->m_strName);
        number->setData(Qt::UserRole, frame->m_nID);
        setItem(row, 0, number);
        setItem(row, 1, new QTableWidgetItem(frame->m_strDesc));
        ++row;
    }
    SelectFrameRow(m_doc.CurrentFrame());
    m_bRebuilding = false;
    emit rowSelectionChanged();
}

void CFormListControl::UpdateDescription(std::uint16_t id) {
    for (int row = 0; row < rowCount(); ++row) {
        if (item(row, 0)->data(Qt::UserRole).toUInt() == id)
            item(row, 1)->setText(m_doc.Project().FindFrame(id)->m_strDesc);
    }
}

CHMIFrame* CFormListControl::FrameOfRow(int row) const {
    const QTableWidgetItem* number = item(row, 0);
    return number ? m_doc.Project().FindFrame(
                        static_cast<std::uint16_t>(number->data(Qt::UserRole).toUInt()))
                  : nullptr;
}

std::vector<CHMIFrame*> CFormListControl::SelectedFrames() const {
    std::vector<CHMIFrame*> frames;
    for (int row = 0; row < rowCount(); ++row) {
        if (item(row, 0)->isSelected())
            frames.push_back(FrameOfRow(row));
    }
    return frames;
}

void CFormListControl::SelectFrameRow(const CHMIFrame* frame) {
    // A row chosen among several selected keeps the others selected.
    for (int row = 0; row < rowCount(); ++row) {
        if (frame && item(row, 0)->text() == frame->m_strName && item(row, 0)->isSelected())
            return;
    }
    const QSignalBlocker block(this);
    clearSelection();
    for (int row = 0; row < rowCount(); ++row) {
        if (frame && item(row, 0)->text() == frame->m_strName) {
            setCurrentCell(row, 0, QItemSelectionModel::ClearAndSelect | QItemSelectionModel::Rows);
            scrollToItem(item(row, 0));
            m_nPreviousRow = row;
            break;
        }
    }
    emit rowSelectionChanged();
}

void CFormListControl::mousePressEvent(QMouseEvent* event) {
    QTableWidget::mousePressEvent(event);
    if (!m_doc.HasPlc() || rowCount() == 0)
        return;
    // A click on empty space keeps the frame that was chosen.
    if (selectedItems().isEmpty() && m_nPreviousRow >= 0 && m_nPreviousRow < rowCount())
        selectRow(m_nPreviousRow);
}

void CFormListControl::contextMenuEvent(QContextMenuEvent* event) {
    const bool onRow = itemAt(viewport()->mapFromGlobal(event->globalPos())) != nullptr;
    if (QMenu* menu = onRow ? m_pRowMenu : m_pEmptyMenu)
        menu->exec(event->globalPos());
}

void CFormListControl::OnSelectionChanged() {
    emit rowSelectionChanged();
    if (m_bRebuilding || !m_doc.HasPlc())
        return;
    const int row = currentRow();
    CHMIFrame* frame = row >= 0 && item(row, 0)->isSelected() ? FrameOfRow(row) : nullptr;
    if (!frame) {
        const std::vector<CHMIFrame*> frames = SelectedFrames();
        if (frames.empty())
            return;
        frame = frames.front();
    }
    m_nPreviousRow = m_doc.Project().PositionOf(frame);
    m_doc.ShowFrame(frame);
}
