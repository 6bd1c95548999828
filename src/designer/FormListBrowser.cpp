#include "FormListBrowser.h"

#include "FormListControl.h"
#include "Profile.h"

#include <QVBoxLayout>

namespace {

const QString kMisc = QStringLiteral("Misc");
const QString kListView = QStringLiteral("ListView");

// A stored column width below 10 is taken as never set.
int ColumnWidth(const QString& entry, int def) {
    const int width = ProfileReadInt(kListView, entry, def);
    return width < 10 ? def : width;
}

} // namespace

CFormListBrowser::CFormListBrowser(CKoravelDoc& doc, QWidget* parent)
    : QDockWidget(QStringLiteral("画面列表栏"), parent), m_pList(new CFormListControl(doc)) {
    setObjectName(QStringLiteral("frameListBar"));
    setAllowedAreas(Qt::LeftDockWidgetArea | Qt::RightDockWidgetArea);
    auto* body = new QWidget;
    auto* layout = new QVBoxLayout(body);
    layout->setContentsMargins(4, 4, 4, 4);
    layout->addWidget(m_pList);
    setWidget(body);

    m_pList->setColumnWidth(
        0, ColumnWidth(QStringLiteral("0"), CFormListControl::kDefaultNumberWidth));
    m_pList->setColumnWidth(
        1, ColumnWidth(QStringLiteral("1"), CFormListControl::kDefaultDescriptionWidth));
    const QSize template_(220, 360);
    m_docked = QSize(ProfileReadInt(kMisc, QStringLiteral("DockedDlgCXSize"), template_.width()),
                     ProfileReadInt(kMisc, QStringLiteral("DockedDlgCYSize"), template_.height()));
    m_floating =
        QSize(ProfileReadInt(kMisc, QStringLiteral("FloatingDlgCXSize"), template_.width()),
              ProfileReadInt(kMisc, QStringLiteral("FloatingDlgCYSize"), template_.height()));
    m_docked.setWidth(std::max(m_docked.width(), 20));
    setMinimumWidth(20);
    connect(this, &QDockWidget::topLevelChanged, this, [this](bool floating) {
        if (floating)
            resize(m_floating);
    });
}

CFormListBrowser::~CFormListBrowser() {
    SaveSizes();
}

QSize CFormListBrowser::sizeHint() const {
    return m_docked;
}

void CFormListBrowser::SaveSizes() const {
    const QSize docked = isFloating() ? m_docked : size();
    const QSize floating = isFloating() ? size() : m_floating;
    ProfileWriteInt(kMisc, QStringLiteral("DockedDlgCXSize"), docked.width());
    ProfileWriteInt(kMisc, QStringLiteral("DockedDlgCYSize"), docked.height());
    ProfileWriteInt(kMisc, QStringLiteral("FloatingDlgCXSize"), floating.width());
    ProfileWriteInt(kMisc, QStringLiteral("FloatingDlgCYSize"), floating.height());
    ProfileWriteInt(kListView, QStringLiteral("0"), m_pList->columnWidth(0));
    ProfileWriteInt(kListView, QStringLiteral("1"), m_pList->columnWidth(1));
}
