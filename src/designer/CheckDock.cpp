#include "CheckDock.h"

#include "KoravelDoc.h"
#include "KoravelWnd.h"
#include "ProjectChecker.h"
#include "ReportFormat.h"

#include <QHeaderView>
#include <QIcon>
#include <QLabel>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace {

// The finding's index in the report, kept in each row.
constexpr int kFindingRole = Qt::UserRole;

QString SummaryText(const CheckReport& report) {
    const int errors = report.Count(CheckSeverity::kError);
    const int warnings = report.Count(CheckSeverity::kWarning);
    const QString findings = errors + warnings == 0
                                 ? QStringLiteral("没有发现问题")
                                 : QStringLiteral("%1 个错误，%2 个警告").arg(errors).arg(warnings);
    return QStringLiteral("%1    %2").arg(findings, BudgetSummary(report.budget));
}

} // namespace

QString FindingPlaceText(const FindingPlace& place) {
    switch (place.part) {
    case CheckPart::kElement:
        return QStringLiteral("画面 %1  元件 %2 (%3)")
            .arg(place.frameId)
            .arg(place.element)
            .arg(ElementKindTitle(place.typeCode));
    case CheckPart::kFrame:
        return QStringLiteral("画面 %1").arg(place.frameId);
    case CheckPart::kSettings:
        return QStringLiteral("KV250设置");
    case CheckPart::kAlarmList:
        return QStringLiteral("报警列表");
    case CheckPart::kImage:
        return QStringLiteral("镜像");
    }
    return {};
}

CCheckDock::CCheckDock(CKoravelDoc& doc, CProjectChecker& checker, CKoravelWnd& canvas,
                       QWidget* parent)
    : QDockWidget(QStringLiteral("检查工程"), parent), m_doc(doc), m_checker(checker),
      m_canvas(canvas), m_pSummary(new QLabel), m_pList(new QTreeWidget) {
    setObjectName(QStringLiteral("checkDock"));
    m_pSummary->setObjectName(QStringLiteral("checkSummary"));
    m_pList->setObjectName(QStringLiteral("findingList"));
    m_pList->setColumnCount(2);
    m_pList->setHeaderLabels({QStringLiteral("位置"), QStringLiteral("说明")});
    m_pList->setRootIsDecorated(false);
    m_pList->setUniformRowHeights(true);
    m_pList->setAlternatingRowColors(true);
    m_pList->header()->setSectionResizeMode(0, QHeaderView::ResizeToContents);
    m_pList->header()->setStretchLastSection(true);

    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->setSpacing(4);
    layout->addWidget(m_pSummary);
    layout->addWidget(m_pList);
    setWidget(body);

    connect(&m_checker, &CProjectChecker::reportChanged, this, &CCheckDock::Refill);
    connect(m_pList, &QTreeWidget::itemClicked, this,
            [this](QTreeWidgetItem* item) { ShowPlace(item); });
    connect(m_pList, &QTreeWidget::itemActivated, this,
            [this](QTreeWidgetItem* item) { Activate(item); });
    Refill();
}

void CCheckDock::Refill() {
    const CheckReport& report = m_checker.Report();
    m_pSummary->setText(m_doc.HasPlc() ? SummaryText(report) : QString());
    m_pList->clear();
    const QIcon error(QStringLiteral(":/icons/finding-error.svg"));
    const QIcon warning(QStringLiteral(":/icons/finding-warning.svg"));
    QList<QTreeWidgetItem*> rows;
    for (std::size_t i = 0; i < report.findings.size(); ++i) {
        const CheckFinding& finding = report.findings[i];
        const bool isError = finding.severity == CheckSeverity::kError;
        auto* row = new QTreeWidgetItem({FindingPlaceText(finding.place), finding.message});
        row->setIcon(0, isError ? error : warning);
        row->setToolTip(0, isError ? QStringLiteral("错误") : QStringLiteral("警告"));
        row->setToolTip(1, finding.message);
        row->setData(0, kFindingRole, static_cast<int>(i));
        rows.append(row);
    }
    m_pList->addTopLevelItems(rows);
}

const CheckFinding* CCheckDock::FindingOf(const QTreeWidgetItem* item) const {
    const auto& findings = m_checker.Report().findings;
    const auto index = static_cast<std::size_t>(item->data(0, kFindingRole).toInt());
    return index < findings.size() ? &findings[index] : nullptr;
}

void CCheckDock::ShowPlace(const QTreeWidgetItem* item) {
    const CheckFinding* finding = FindingOf(item);
    if (!finding)
        return;
    const FindingPlace& place = finding->place;
    if (place.part != CheckPart::kElement && place.part != CheckPart::kFrame)
        return;
    // The report may be a moment older than the project: the place is looked up again.
    CHMIFrame* frame = m_doc.Project().FindFrame(static_cast<std::uint16_t>(place.frameId));
    if (!frame)
        return;
    if (m_doc.CurrentFrame() != frame)
        m_doc.ShowFrame(frame);
    if (place.part != CheckPart::kElement)
        return;
    const auto position = static_cast<std::size_t>(place.element);
    if (place.element < 0 || position >= frame->m_Parts.size() ||
        frame->m_Parts[position]->m_nTypeCode != place.typeCode)
        return;
    m_canvas.Select(frame->m_Parts[position].get(), true);
    m_canvas.update();
}

void CCheckDock::Activate(const QTreeWidgetItem* item) {
    const CheckFinding* finding = FindingOf(item);
    if (!finding)
        return;
    const CheckPart part = finding->place.part;
    if (part == CheckPart::kSettings || part == CheckPart::kAlarmList)
        emit partActivated(part);
    else
        ShowPlace(item);
}
